// The vocabulary store: the ordered list of pairs of the current file, each
// with its right and wrong counts, and the file state beside it.
//
// `VocabList` keeps every text in one block of bytes (a file's bytes are
// taken over as they were read, typed texts are added at its end) and one
// small record per pair pointing into it, so a million pairs open, sort and
// save quickly in little memory. It has a current position (one pair or
// none); every operation that walks the list for its own purposes puts it
// back, so the pair a test is asking stays the same. Texts are Windows-1252
// bytes of any length; counts are signed 16-bit and wrap. Nothing here
// fails; out-of-range positions leave no current pair.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_buffer.h"
#include "platform/list_rows.h"

namespace zl {

inline constexpr std::int32_t MaxEntries = 30000;

// One pair as a value, for adding pairs.
struct VocabEntry {
  std::string vocabulary;
  std::string translation;
  std::int16_t correctCount = 0;
  std::int16_t wrongCount = 0;
};

// One pair as the list holds it. The texts are views into the list and stay
// valid until the list changes next.
struct PairView {
  std::string_view vocabulary;
  std::string_view translation;
  std::int16_t correctCount = 0;
  std::int16_t wrongCount = 0;
};

// Where a pair's texts lie in a block of bytes, and its counts, in 24
// bytes: the translation lies after the vocabulary, less than 4 GiB on, as
// a file and every store of texts lay them out.
struct PairSpan {
  std::uint64_t vocabularyAt = 0;
  std::uint32_t vocabularyLength = 0;
  std::uint32_t translationLength = 0;
  std::uint32_t translationOffset = 0;  // from `vocabularyAt`
  std::int16_t correctCount = 0;
  std::int16_t wrongCount = 0;

  std::uint64_t translationAt() const { return vocabularyAt + translationOffset; }
  // `translation` at or after `vocabulary`, less than 4 GiB on.
  void placeTexts(std::uint64_t vocabulary, std::uint64_t translation) {
    vocabularyAt = vocabulary;
    translationOffset = static_cast<std::uint32_t>(translation - vocabulary);
  }
};
static_assert(sizeof(PairSpan) == 24);

// Adds one to a count with two's complement wrap: 32767 + 1 gives -32768.
inline std::int16_t wrappingIncrement(std::int16_t count) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(count) + 1u);
}

// The records of many pairs, as the list keeps them.
using PairRecords = std::vector<PairSpan, UninitialisedAllocator<PairSpan>>;

class VocabList final : public ListRows {
 public:
  // Removes every pair; no current pair.
  void clear();
  // No current pair, so that the next `next` moves to the first pair.
  void reset() { current_ = -1; }
  // Moves to the following pair (from none to the first). At the end it
  // returns false and the last pair stays current.
  bool next();
  // The last pair becomes current (none when the list is empty).
  void last() { current_ = size() - 1; }
  // Inserts a pair with empty texts and zero counts after the current one
  // (at the front when there is none); it becomes current. Returns its
  // position.
  std::int64_t add();
  // Appends a pair at the end (last, then add) and makes it current.
  void append(const VocabEntry& entry);
  // The pair at `position` becomes current; outside 0..size-1 none is.
  void select(std::int64_t position);
  // 0-based position of the current pair, -1 when there is none.
  std::int64_t position() const { return current_; }
  // Removes the current pair; the one before it becomes current (none when
  // the first was removed). Does nothing without a current pair.
  void removeCurrent();

  std::int64_t size() const { return static_cast<std::int64_t>(pairs_.size()); }
  bool empty() const { return pairs_.empty(); }
  PairView operator[](std::int64_t position) const;
  std::string_view rowText(std::int64_t row, int column) const override {
    const PairView pair = (*this)[row];
    return column == 0 ? pair.vocabulary : pair.translation;
  }
  // Where the pair's texts lie in `storedBytes(0)`: for walks over many
  // pairs that look at positions only.
  const PairSpan& spanAt(std::int64_t position) const { return pairs_[static_cast<std::size_t>(position)]; }
  void setTexts(std::int64_t position, std::string_view vocabulary, std::string_view translation);
  void setCounts(std::int64_t position, std::int16_t correctCount, std::int16_t wrongCount);

  // --- reordering -----------------------------------------------------------
  // Sorts by `vocabulary` alone, A to Z folded to a to z and every byte
  // compared unsigned, so umlauts come after z; equal words keep their
  // order. No pair is current afterwards; the texts are laid out again in
  // the new order.
  void sortByVocabulary();
  // Exchanges the pairs at two positions.
  void exchange(std::int64_t first, std::int64_t second);
  // Stores the texts again in list order, each pair's vocabulary before its
  // translation, and drops texts no pair uses any more (replaced by edits),
  // so that a search can read the texts of many pairs as one block. Without
  // the memory for that the texts stay where they are.
  void layOutTextsInOrder();

  // --- bulk loading --------------------------------------------------------
  // Takes `bytes` into the list's text storage (without copying them when
  // the storage is empty) and returns where they start there.
  std::uint64_t storeBytes(ByteBuffer&& bytes);
  // The stored bytes from `at` to the end.
  std::string_view storedBytes(std::uint64_t at) const { return viewOf(texts_).substr(at); }
  // Appends a pair whose texts lie in the stored bytes, `span` counting
  // from `base`; it becomes current.
  void appendStored(std::uint64_t base, const PairSpan& span);
  // The same for many pairs at once (taken over without a copy when the
  // list has none); the last becomes current.
  void appendStored(std::uint64_t base, PairRecords&& spans);
  // The list becomes the pairs whose spans point into `texts`, both taken
  // over without a copy; no pair is current.
  void takeOver(ByteBuffer&& texts, PairRecords&& pairs);
  // Room for `count` pairs in all, so a long load does not reallocate.
  void reserve(std::int64_t count) { pairs_.reserve(static_cast<std::size_t>(count)); }
  // The most new memory that taking in `bytes` bytes holding `pairs` pairs
  // costs (storeBytes, reserve, appendStored): a grown text block beside
  // the old one, unless the bytes are taken over, and grown records beside
  // the old ones.
  std::uint64_t memoryToTakeIn(std::uint64_t bytes, std::int64_t pairs) const;

 private:
  std::uint64_t storeText(std::string_view text);

  PairRecords pairs_;
  ByteBuffer texts_;
  std::int64_t current_ = -1;
};

// Records the current position and selects it again when it goes out of
// scope; used by every operation that walks or extends the whole list.
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

}  // namespace zl
