#include "store/vocab_store.h"

#include <utility>

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

void VocabList::select(std::int64_t position) {
  current_ = (position >= 0 && position < size()) ? position : -1;
}

void VocabList::removeCurrent() {
  if (current_ < 0) return;
  pairs_.erase(pairs_.begin() + static_cast<std::ptrdiff_t>(current_));
  --current_;
}

PairView VocabList::operator[](std::int64_t position) const {
  const PairSpan& p = pairs_[static_cast<std::size_t>(position)];
  const std::string_view texts = viewOf(texts_);
  return {texts.substr(p.vocabularyAt, p.vocabularyLength), texts.substr(p.translationAt, p.translationLength),
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
  p.vocabularyAt = storeText(vocabulary);
  p.vocabularyLength = static_cast<std::uint32_t>(vocabulary.size());
  p.translationAt = storeText(translation);
  p.translationLength = static_cast<std::uint32_t>(translation.size());
}

void VocabList::setCounts(std::int64_t position, std::int16_t correctCount, std::int16_t wrongCount) {
  PairSpan& p = pairs_[static_cast<std::size_t>(position)];
  p.correctCount = correctCount;
  p.wrongCount = wrongCount;
}

std::uint64_t VocabList::storeBytes(ByteBuffer&& bytes) {
  if (texts_.empty()) {
    texts_ = std::move(bytes);
    return 0;
  }
  return storeText(viewOf(bytes));
}

void VocabList::appendStored(std::uint64_t base, const PairSpan& span) {
  PairSpan stored = span;
  stored.vocabularyAt += base;
  stored.translationAt += base;
  pairs_.push_back(stored);
  current_ = size() - 1;
}

}  // namespace zl
