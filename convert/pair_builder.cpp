#include "convert/pair_builder.h"

#include <cstring>

#include "convert/unicode.h"
#include "store/cp1252.h"

namespace zl {

void UnmappableReport::note(TextPlace place, char32_t character) {
  ++count_;
  if (first_.size() < KeptPlaces) first_.push_back({place, character});
}

PairBuilder::PairBuilder(UnmappableReport& report, std::uint64_t byteHint) : report_(report) {
  texts_.reserve(static_cast<std::size_t>(byteHint));
}

bool PairBuilder::addPair(std::string_view vocabulary, std::string_view translation, TextEncoding encoding,
                          std::int16_t correctCount, std::int16_t wrongCount, TextPlace place) {
  // Without a text it is skipped whatever the other holds: its letters
  // neither stop the conversion nor count as replaced.
  if (vocabulary.empty() || translation.empty()) {
    ++skipped_;
    return false;
  }
  const std::size_t start = texts_.size();
  const std::uint32_t vocabularyLength = appendText(vocabulary, encoding, place);
  const std::uint32_t translationLength = appendText(translation, encoding, place);
  if (vocabularyLength == 0 || translationLength == 0) {
    texts_.resize(start);
    ++skipped_;
    return false;
  }
  PairSpan span;
  span.placeTexts(start, start + vocabularyLength);
  span.vocabularyLength = vocabularyLength;
  span.translationLength = translationLength;
  span.correctCount = correctCount;
  span.wrongCount = wrongCount;
  spans_.push_back(span);
  return true;
}

void PairBuilder::clearCounts() {
  for (PairSpan& span : spans_) span.correctCount = span.wrongCount = 0;
}

std::uint32_t PairBuilder::appendText(std::string_view text, TextEncoding encoding, TextPlace place) {
  const std::size_t start = texts_.size();
  if (encoding == TextEncoding::Utf8)
    appendUtf8Text(text, place);
  else
    appendCp1252Text(text);
  return static_cast<std::uint32_t>(texts_.size() - start);
}

void PairBuilder::appendCp1252Text(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF: one blank, at the LF
    texts_.push_back(c == '\r' || c == '\n' || c == '\0' ? ' ' : c);
  }
}

void PairBuilder::appendUtf8Text(std::string_view text, TextPlace place) {
  std::size_t i = 0;
  while (i < text.size()) {
    // A run of plain ASCII without control characters is copied as it is,
    // found eight bytes at a time where it is long.
    std::size_t run = i;
    while (text.size() - run >= 8) {
      std::uint64_t block;
      std::memcpy(&block, text.data() + run, 8);
      // The high bit of a byte set when it is below 0x20 or from 0x80 up
      // (a borrow may mark a later byte too: it is then looked at alone).
      if ((block | (block - 0x2020202020202020ull)) & 0x8080808080808080ull) break;
      run += 8;
    }
    while (run < text.size()) {
      const auto byte = static_cast<unsigned char>(text[run]);
      if (byte >= 0x80 || byte == '\r' || byte == '\n' || byte == '\0') break;
      ++run;
    }
    if (run > i) {
      const std::size_t at = texts_.size();
      texts_.resize(at + (run - i));
      std::memcpy(texts_.data() + at, text.data() + i, run - i);
      i = run;
      continue;
    }
    const char c = text[i];
    if (c == '\r' || c == '\n' || c == '\0') {
      if (!(c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) texts_.push_back(' ');
      ++i;
      continue;
    }
    const char32_t codePoint = nextCodePoint(text, i);
    unsigned char byte = 0;
    if (cp1252OfCodePoint(codePoint, byte)) {
      texts_.push_back(static_cast<char>(byte));
      continue;
    }
    report_.note(place, codePoint);
    if (!report_.replacing()) continue;
    const std::string_view closest = closestCp1252(codePoint);
    if (closest.empty())
      texts_.push_back('?');
    else
      texts_.insert(texts_.end(), closest.begin(), closest.end());
  }
}

void PairBuilder::moveInto(VocabList& list) {
  list.takeOver(std::move(texts_), std::move(spans_));
  texts_ = ByteBuffer();
  spans_ = PairRecords();
  skipped_ = 0;
}

}  // namespace zl
