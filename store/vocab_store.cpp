#include "store/vocab_store.h"

#include <utility>

namespace zl {

void VocabList::clear() {
  entries_.clear();
  entries_.shrink_to_fit();  // a new file may be much smaller; give the memory back
  current_ = -1;
}

VocabEntry* VocabList::next() {
  if (current_ + 1 >= size()) return nullptr;
  ++current_;
  return &entries_[static_cast<std::size_t>(current_)];
}

VocabEntry& VocabList::add() {
  const auto at = static_cast<std::size_t>(current_ + 1);
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), VocabEntry{});
  current_ = static_cast<std::int64_t>(at);
  return entries_[at];
}

VocabEntry& VocabList::append(VocabEntry entry) {
  entries_.push_back(std::move(entry));
  current_ = size() - 1;
  return entries_.back();
}

void VocabList::select(std::int64_t position) {
  current_ = (position >= 0 && position < size()) ? position : -1;
}

void VocabList::removeCurrent() {
  if (current_ < 0) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(current_));
  --current_;
}

}  // namespace zl
