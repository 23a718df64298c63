// libFuzzer target for the file reader and the number parser: any bytes
// must read without a crash, the same whether they come whole or in
// pieces (cut where the input's first byte says), and what was read must
// survive being written and read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "store/file_format.h"
#include "store/piece_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  if (zl::parseCount(bytes) != static_cast<std::int16_t>(zl::parseLenientNumber(bytes))) std::abort();

  zl::VocabList list;
  const std::int64_t bound = zl::pairCountBound(bytes);
  if (zl::readRecords(zl::bufferOf(bytes), bound, list) > bound) std::abort();  // the list was sized by it
  zl::PieceReader pieces(1);
  const std::size_t step = size > 0 ? 1 + data[0] % 97 : 1;
  for (std::size_t cut = 0; cut < size; cut += step) pieces.take(std::string_view(bytes).substr(0, cut));
  pieces.finish(bytes);
  const zl::PairRecords records = pieces.takeRecords();
  zl::RecordReader whole(bytes);
  std::size_t read = 0;
  for (zl::PairSpan a; whole.next(a); ++read) {
    if (read >= records.size()) std::abort();
    const zl::PairSpan& b = records[read];
    if (a.vocabularyAt != b.vocabularyAt || a.vocabularyLength != b.vocabularyLength ||
        a.translationAt() != b.translationAt() || a.translationLength != b.translationLength ||
        a.correctCount != b.correctCount || a.wrongCount != b.wrongCount)
      std::abort();
  }
  if (read != records.size() || static_cast<std::int64_t>(read) != list.size()) std::abort();

  zl::ByteBuffer written;
  zl::writeRecords(list, 0, list.size(), written);
  zl::VocabList again;
  zl::readRecords(std::move(written), again);
  if (again.size() != list.size()) std::abort();
  for (std::int64_t i = 0; i < list.size(); ++i) {
    const zl::PairView a = list[i], b = again[i];
    if (a.vocabulary != b.vocabulary || a.translation != b.translation || a.correctCount != b.correctCount ||
        a.wrongCount != b.wrongCount)
      std::abort();
  }
  return 0;
}
