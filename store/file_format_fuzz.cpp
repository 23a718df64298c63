// libFuzzer target for the file reader and the number parser: any bytes
// must read without a crash, and what was read must survive being written
// and read again unchanged.
#include <cstdint>
#include <cstdlib>

#include "store/file_format.h"

namespace {

zl::VocabList readAll(std::string_view bytes) {
  zl::VocabList list;
  zl::RecordReader reader(bytes);
  zl::VocabEntry entry;
  while (reader.next(entry)) list.append(entry);
  return list;
}

bool same(const zl::VocabEntry& a, const zl::VocabEntry& b) {
  return a.vocabulary == b.vocabulary && a.translation == b.translation && a.correctCount == b.correctCount &&
         a.wrongCount == b.wrongCount;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  if (zl::parseCount(bytes) != static_cast<std::int16_t>(zl::parseLenientNumber(bytes))) std::abort();

  const zl::VocabList list = readAll(bytes);
  std::string written;
  zl::appendRecords(list, 0, list.size(), written);
  const zl::VocabList again = readAll(written);
  if (again.size() != list.size()) std::abort();
  for (std::int64_t i = 0; i < list.size(); ++i)
    if (!same(list[i], again[i])) std::abort();
  return 0;
}
