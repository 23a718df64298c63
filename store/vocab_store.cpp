#include "store/vocab_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "store/cp1252.h"

namespace zl {

void VocabList::clear() {
  // Give the memory back: the next file may be much smaller.
  decltype(pairs_)().swap(pairs_);
  ByteBuffer().swap(texts_);
  current_ = -1;
}

bool VocabList::next() {
  if (current_ + 1 >= size()) return false;
  ++current_;
  return true;
}

std::int64_t VocabList::add() {
  const auto at = static_cast<std::size_t>(current_ + 1);
  pairs_.insert(pairs_.begin() + static_cast<std::ptrdiff_t>(at), PairSpan{});
  current_ = static_cast<std::int64_t>(at);
  return current_;
}

void VocabList::append(const VocabEntry& entry) {
  last();
  const std::int64_t at = add();
  setTexts(at, entry.vocabulary, entry.translation);
  setCounts(at, entry.correctCount, entry.wrongCount);
}

void VocabList::select(std::int64_t position) { current_ = (position >= 0 && position < size()) ? position : -1; }

void VocabList::removeCurrent() {
  if (current_ < 0) return;
  pairs_.erase(pairs_.begin() + static_cast<std::ptrdiff_t>(current_));
  --current_;
}

PairView VocabList::operator[](std::int64_t position) const {
  const PairSpan& p = pairs_[static_cast<std::size_t>(position)];
  const std::string_view texts = viewOf(texts_);
  return {texts.substr(p.vocabularyAt, p.vocabularyLength), texts.substr(p.translationAt(), p.translationLength),
          p.correctCount, p.wrongCount};
}

std::uint64_t VocabList::storeText(std::string_view text) {
  const std::uint64_t at = texts_.size();
  texts_.insert(texts_.end(), text.begin(), text.end());
  return at;
}

void VocabList::setTexts(std::int64_t position, std::string_view vocabulary, std::string_view translation) {
  // The old texts stay behind unused until the list is cleared; edits are few.
  PairSpan& p = pairs_[static_cast<std::size_t>(position)];
  const std::uint64_t vocabularyAt = storeText(vocabulary);
  p.placeTexts(vocabularyAt, storeText(translation));  // just after the vocabulary
  p.vocabularyLength = static_cast<std::uint32_t>(vocabulary.size());
  p.translationLength = static_cast<std::uint32_t>(translation.size());
}

void VocabList::setCounts(std::int64_t position, std::int16_t correctCount, std::int16_t wrongCount) {
  PairSpan& p = pairs_[static_cast<std::size_t>(position)];
  p.correctCount = correctCount;
  p.wrongCount = wrongCount;
}

namespace {

// The first eight bytes of a word, folded and in order, as one number: most
// comparisons of a sort are decided by it without touching the texts.
std::uint64_t sortPrefix(std::string_view word) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i)
    prefix = (prefix << 8) | (i < word.size() ? lowerAscii(static_cast<unsigned char>(word[i])) : 0u);
  return prefix;
}

bool foldedLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = lowerAscii(static_cast<unsigned char>(a[i]));
    const unsigned char y = lowerAscii(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace

void VocabList::sortByVocabulary() {
  struct Keyed {
    std::uint64_t prefix;
    PairSpan pair;
  };
  {  // the sort keys go before the texts are laid out anew, which needs memory too
    std::vector<Keyed> keyed;
    keyed.reserve(pairs_.size());
    for (const PairSpan& p : pairs_)
      keyed.push_back({sortPrefix(viewOf(texts_).substr(p.vocabularyAt, p.vocabularyLength)), p});
    const std::string_view texts = viewOf(texts_);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
      if (a.prefix != b.prefix) return a.prefix < b.prefix;
      return foldedLess(texts.substr(a.pair.vocabularyAt, a.pair.vocabularyLength),
                        texts.substr(b.pair.vocabularyAt, b.pair.vocabularyLength));
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) pairs_[i] = keyed[i].pair;
  }
  current_ = -1;
  layOutTextsInOrder();
}

void VocabList::layOutTextsInOrder() {
  std::uint64_t total = 0;
  for (const PairSpan& p : pairs_) total += std::uint64_t{p.vocabularyLength} + p.translationLength;
  try {
    ByteBuffer texts(static_cast<std::size_t>(total));
    char* out = texts.data();
    for (PairSpan& p : pairs_) {
      const auto moveText = [&](std::uint64_t at, std::uint32_t length) {
        if (length > 0) std::memcpy(out, texts_.data() + at, length);
        out += length;
      };
      const auto vocabularyAt = static_cast<std::uint64_t>(out - texts.data());
      moveText(p.vocabularyAt, p.vocabularyLength);
      moveText(p.translationAt(), p.translationLength);
      p.placeTexts(vocabularyAt, vocabularyAt + p.vocabularyLength);
    }
    texts_.swap(texts);
  } catch (const std::bad_alloc&) {
  }  // a search then reads pair by pair
}

void VocabList::exchange(std::int64_t first, std::int64_t second) {
  std::swap(pairs_[static_cast<std::size_t>(first)], pairs_[static_cast<std::size_t>(second)]);
}

std::uint64_t VocabList::storeBytes(ByteBuffer&& bytes) {
  if (texts_.empty()) {
    texts_ = std::move(bytes);
    return 0;
  }
  return storeText(viewOf(bytes));
}

void VocabList::takeOver(ByteBuffer&& texts, PairRecords&& pairs) {
  texts_ = std::move(texts);
  pairs_ = std::move(pairs);
  current_ = -1;
}

std::uint64_t VocabList::memoryToTakeIn(std::uint64_t bytes, std::int64_t pairs) const {
  const std::uint64_t texts = texts_.empty() ? 0 : texts_.size() + bytes;
  return texts + static_cast<std::uint64_t>(size() + pairs) * sizeof(PairSpan);
}

void VocabList::appendStored(std::uint64_t base, const PairSpan& span) {
  PairSpan stored = span;
  stored.vocabularyAt += base;
  pairs_.push_back(stored);
  current_ = size() - 1;
}

void VocabList::appendStored(std::uint64_t base, PairRecords&& spans) {
  if (spans.empty()) return;
  if (base != 0)
    for (PairSpan& span : spans) {
      span.vocabularyAt += base;
    }
  if (pairs_.empty())
    pairs_ = std::move(spans);
  else
    pairs_.insert(pairs_.end(), spans.begin(), spans.end());
  current_ = size() - 1;
}

}  // namespace zl
