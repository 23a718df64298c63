// The vocabulary store: the ordered list of pairs of the current file, each
// with its right and wrong counts, and the file state beside it.
//
// `VocabList` owns its entries and has a current position (one pair or none);
// every operation that walks the list for its own purposes puts the position
// back afterwards, so the pair a test is asking stays the same. Texts are
// Windows-1252 bytes of any length. Counts are signed 16-bit and wrap. The
// store never fails; out-of-range positions simply leave no current pair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zl {

inline constexpr std::int32_t MaxEntries = 30000;

struct VocabEntry {
  std::string vocabulary;
  std::string translation;
  std::int16_t correctCount = 0;
  std::int16_t wrongCount = 0;
};

// Adds one to a count with two's complement wrap: 32767 + 1 gives -32768.
inline std::int16_t wrappingIncrement(std::int16_t count) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(count) + 1u);
}

class VocabList {
 public:
  // Removes every pair; no current pair.
  void clear();
  // No current pair, so that the next `next` yields the first pair.
  void reset() { current_ = -1; }
  // Moves to the following pair and returns it (from none to the first).
  // At the end returns nullptr and the last pair stays current.
  VocabEntry* next();
  // The last pair becomes current (none when the list is empty).
  void last() { current_ = static_cast<std::int64_t>(entries_.size()) - 1; }
  // Inserts an empty pair after the current one (at the front when there is
  // none); the new pair becomes current and is returned.
  VocabEntry& add();
  // Appends a pair at the end and makes it current (last, then add).
  VocabEntry& append(VocabEntry entry);
  // The pair at `position` becomes current; outside 0..size-1 none is.
  void select(std::int64_t position);
  // 0-based position of the current pair, -1 when there is none.
  std::int64_t position() const { return current_; }
  // Removes the current pair; the one before it becomes current (none when
  // the first was removed). Does nothing without a current pair.
  void removeCurrent();

  std::int64_t size() const { return static_cast<std::int64_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }
  VocabEntry& operator[](std::int64_t i) { return entries_[static_cast<std::size_t>(i)]; }
  const VocabEntry& operator[](std::int64_t i) const { return entries_[static_cast<std::size_t>(i)]; }
  // Room for `count` pairs in all, so a long load does not reallocate.
  void reserve(std::int64_t count) { entries_.reserve(static_cast<std::size_t>(count)); }

 private:
  std::vector<VocabEntry> entries_;
  std::int64_t current_ = -1;
};

// Records the current position and selects it again when it goes out of
// scope; used by every operation that walks the whole list.
class KeepListPosition {
 public:
  explicit KeepListPosition(VocabList& list) : list_(list), position_(list.position()) {}
  ~KeepListPosition() { list_.select(position_); }
  KeepListPosition(const KeepListPosition&) = delete;
  KeepListPosition& operator=(const KeepListPosition&) = delete;

 private:
  VocabList& list_;
  std::int64_t position_;
};

// The file state.
struct AppState {
  std::string currentPath;     // empty when no file is current
  int unsaved = 0;             // 1 while the list holds changes not in the file
  std::int32_t entryCount = 0; // number of pairs, kept in step with the list
};

}  // namespace zl
