#include "store/file_format.h"

#include <array>
#include <charconv>

namespace zl {

namespace {

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Bytes that end a line: CR, LF and NUL.
constexpr std::array<bool, 256> kLineEnd = [] {
  std::array<bool, 256> ends{};
  ends['\r'] = ends['\n'] = ends['\0'] = true;
  return ends;
}();

}  // namespace

std::int64_t parseLenientNumber(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  unsigned base = 10;
  if (i < line.size() && line[i] == '$') {
    base = 16;
    ++i;
  } else if (i < line.size() && line[i] == '%') {
    base = 2;
    ++i;
  }
  std::uint64_t value = 0;  // unsigned, so that overlong numbers wrap instead of overflowing
  for (; i < line.size(); ++i) {
    const int digit = digitValue(line[i]);
    if (digit >= static_cast<int>(base)) break;
    value = value * base + static_cast<unsigned>(digit);
  }
  if (negative) value = ~value + 1;
  return static_cast<std::int64_t>(value);
}

std::int16_t parseCount(std::string_view line) { return static_cast<std::int16_t>(parseLenientNumber(line)); }

std::string_view RecordReader::readLine() {
  const std::size_t start = position_;
  const std::size_t size = bytes_.size();
  std::size_t end = start;
  while (end < size && !kLineEnd[static_cast<unsigned char>(bytes_[end])]) ++end;
  position_ = end;
  if (end < size) {
    ++position_;  // the terminator
    if (bytes_[end] == '\r' && position_ < size && bytes_[position_] == '\n') ++position_;
  }
  return bytes_.substr(start, end - start);
}

bool RecordReader::next(VocabEntry& entry) {
  if (atEnd()) return false;
  const std::string_view vocabulary = readLine();
  const std::string_view translation = readLine();
  const std::string_view right = readLine();
  const std::string_view wrong = readLine();
  if (atEnd() && vocabulary.empty() && translation.empty() && right.empty() && wrong.empty()) return false;
  entry.vocabulary.assign(vocabulary);
  entry.translation.assign(translation);
  entry.correctCount = parseCount(right);
  entry.wrongCount = parseCount(wrong);
  return true;
}

std::string countText(std::int16_t count) {
  char buffer[8];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, count);
  return std::string(buffer, result.ptr);
}

void appendRecords(const VocabList& list, std::int64_t first, std::int64_t last, std::string& out) {
  for (std::int64_t i = first; i < last; ++i) {
    const VocabEntry& entry = list[i];
    const std::string right = countText(entry.correctCount);
    const std::string wrong = countText(entry.wrongCount);
    for (std::string_view line : {std::string_view(entry.vocabulary), std::string_view(entry.translation),
                                  std::string_view(right), std::string_view(wrong)})
      out.append(line).append("\r\n", 2);
  }
}

}  // namespace zl
