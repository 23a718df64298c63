#include "store/piece_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "store/file_format.h"

namespace zl {
namespace {

using Record = std::tuple<std::uint64_t, std::uint32_t, std::uint64_t, std::uint32_t, int, int>;

Record recordOf(const PairSpan& span) {
  return {span.vocabularyAt,      span.vocabularyLength, span.translationAt(),
          span.translationLength, span.correctCount,     span.wrongCount};
}

// The records as RecordReader reads them from the whole bytes.
std::vector<Record> readWhole(std::string_view bytes) {
  std::vector<Record> records;
  RecordReader reader(bytes);
  for (PairSpan span; reader.next(span);) records.push_back(recordOf(span));
  return records;
}

// The records as the piece reader reads them, the bytes coming in pieces
// that end at `cuts`.
std::vector<Record> readInPieces(std::string_view bytes, const std::vector<std::size_t>& cuts) {
  PieceReader reader(1);
  for (const std::size_t cut : cuts) reader.take(bytes.substr(0, cut));
  reader.finish(bytes);
  std::vector<Record> records;
  for (const PairSpan& span : reader.takeRecords()) records.push_back(recordOf(span));
  return records;
}

// Every line end, and each of them at a block's edge, a record cut
// anywhere, damaged bytes, long lines: the same records as the reader
// of whole files, whatever the pieces.
TEST(PieceReader, ReadsWhatTheWholeFileReadsHoweverTheBytesComeIn) {
  std::vector<std::string> files = {"",
                                    "a",
                                    "\r\n",
                                    "\r\n\r\n\r\n\r\n",
                                    "\r\n\r\n\r\n\r\n\r\n",
                                    "a\r\nb\r\n1\r\n2\r\n\r\n\r\n",
                                    "a\rb\r\n\n1\n\r2",
                                    std::string(63, 'x') + "\r\nb\r\n-7\r\n$ff\r\n",
                                    std::string(62, 'x') + "\r\n\r\n" + std::string(60, 'y') + "\r\n1\r\n2"};
  std::mt19937 random(11);
  const char alphabet[] = {'a', '\r', '\n', '\0', '1', '-'};
  for (int i = 0; i < 400; ++i) {
    std::string bytes(random() % (i < 300 ? 200 : 2000), 'a');
    for (char& c : bytes) c = alphabet[random() % 6];
    files.push_back(bytes);
  }
  for (const std::string& bytes : files) {
    const std::vector<Record> whole = readWhole(bytes);
    EXPECT_EQ(readInPieces(bytes, {}), whole) << testing::PrintToString(bytes);
    std::vector<std::size_t> cuts;
    for (std::size_t at = 0; at < bytes.size(); at += 1 + random() % 100) cuts.push_back(at);
    EXPECT_EQ(readInPieces(bytes, cuts), whole) << testing::PrintToString(bytes);
    std::vector<std::size_t> everyByte(bytes.size());
    for (std::size_t at = 0; at < bytes.size(); ++at) everyByte[at] = at;
    EXPECT_EQ(readInPieces(bytes, everyByte), whole) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace zl
