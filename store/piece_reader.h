// Reads the records of a vocabulary file while its bytes come in: each
// piece as soon as it is in, while its bytes are still in the cache, in
// one pass that finds the line ends of 64 bytes at a time and writes each
// pair's record straight into place. The records are those that
// RecordReader (file_format.h) reads from the whole, by the same rules:
// lines end at CR LF, CR, LF or NUL, a last record that lacks lines is
// completed, and trailing empty lines add no pair.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/file_system.h"
#include "store/vocab_store.h"

namespace zl {

class PieceReader {
 public:
  // Room for `room` records at first; more grow the room.
  explicit PieceReader(std::int64_t room);

  // `filled`: every byte that is in so far, from the file's first (the
  // bytes may have moved since the last call, but not changed). Reads the
  // records that lie whole in them and are known to be whole.
  void take(std::string_view filled);
  // `all`: the whole file. Reads what is left.
  void finish(std::string_view all);
  // The records read, their texts counted from the file's first byte.
  PairRecords takeRecords();

 private:
  // Reads the lines that end in the 64-byte blocks before `until`.
  void scan(std::string_view bytes, std::size_t until);
  void endLine(const char* bytes, std::size_t size, std::size_t end);
  void addRecord(const char* bytes, std::size_t next, std::size_t size);

  PairRecords records_;
  std::size_t count_ = 0;
  std::size_t scanned_ = 0;     // the blocks before this are read
  std::uint64_t crBefore_ = 0;  // the block before ended in a CR
  std::size_t lineStart_ = 0;   // where the line being read begins
  int line_ = 0;                // of the record being read, 0 to 3
  std::size_t starts_[4] = {};  // the record's lines so far
  std::size_t lengths_[4] = {};
};

// Reads the vocabulary file at `path` and its pairs into the empty `list`
// in one pass: each piece that readFile brings is read by a PieceReader
// with room for `pairRoom` pairs at first. Failed as readFile, or with
// EFBIG when the file grew past MaxFileBytes while it was read; `list` is
// then empty.
Outcome readPairsInPieces(FileSystem& files, const std::string& path, std::int64_t pairRoom, VocabList& list);

}  // namespace zl
