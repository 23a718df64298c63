#include "convert/text_export.h"

#include <charconv>
#include <string_view>

#include "convert/unicode.h"

namespace zl {
namespace {

// Every byte that makes a text need quotes: a reader that has to guess the
// delimiter must find each of tab, semicolon and comma only inside quotes
// unless it is the one.
bool needsQuotes(std::string_view text, char delimiter) {
  if (!text.empty() && text[0] == '#') return true;
  for (const char c : text)
    if (c == '"' || c == '\r' || c == '\n' || c == '\t' || c == ';' || c == ',' || c == delimiter) return true;
  return false;
}

void appendText(std::string_view text, char delimiter, ByteBuffer& out) {
  if (!needsQuotes(text, delimiter)) {
    appendUtf8FromCp1252(text, out);
    return;
  }
  out.push_back('"');
  for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos; text.remove_prefix(quote + 1)) {
    appendUtf8FromCp1252(text.substr(0, quote + 1), out);
    out.push_back('"');
  }
  appendUtf8FromCp1252(text, out);
  out.push_back('"');
}

void appendCount(std::int16_t count, ByteBuffer& out) {
  char digits[6];
  char* end = std::to_chars(digits, digits + sizeof digits, count).ptr;
  out.insert(out.end(), digits, end);
}

}  // namespace

void writeDelimitedPairs(const VocabList& list, std::int64_t first, std::int64_t last, char delimiter,
                         ByteBuffer& out) {
  for (std::int64_t i = first; i < last; ++i) {
    const PairView pair = list[i];
    appendText(pair.vocabulary, delimiter, out);
    out.push_back(delimiter);
    appendText(pair.translation, delimiter, out);
    out.push_back(delimiter);
    appendCount(pair.correctCount, out);
    out.push_back(delimiter);
    appendCount(pair.wrongCount, out);
    out.push_back('\r');
    out.push_back('\n');
  }
}

void writeByteOrderMark(ByteBuffer& out) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  out.insert(out.end(), kMark.begin(), kMark.end());
}

void writeAnkiHead(ByteBuffer& out) {
  constexpr std::string_view kHead = "#separator:tab\r\n#html:false\r\n";
  out.insert(out.end(), kHead.begin(), kHead.end());
}

}  // namespace zl
