// libFuzzer target for the reader of delimited text: any bytes must read
// without a crash, and what was read, written as CSV or TSV and read again,
// must give the same pairs.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "convert/delimited_text.h"
#include "convert/text_export.h"
#include "store/file_format.h"

namespace {

// Reads `bytes` into `list`; false when reading failed.
bool readInto(std::string_view bytes, const zl::DelimitedOptions& options, zl::VocabList& list) {
  zl::UnmappableReport report(true);
  zl::PairBuilder pairs(report, bytes.size());
  zl::ReadFailure failure;
  if (!zl::readDelimitedText(bytes, options, pairs, failure)) return false;
  pairs.moveInto(list);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zl::VocabList chosen;
  readInto(bytes, {2, 1, true}, chosen);

  zl::VocabList list;
  if (!readInto(bytes, {}, list)) return 0;
  for (const char delimiter : {';', ',', '\t'}) {
    zl::ByteBuffer written;
    if (delimiter != '\t') zl::writeByteOrderMark(written);  // as a CSV file is written
    zl::writeDelimitedPairs(list, 0, list.size(), delimiter, written);
    zl::VocabList again;
    if (!readInto(zl::viewOf(written), {}, again)) std::abort();
    // The trainer's file format holds exactly the texts and counts.
    zl::ByteBuffer before, after;
    zl::writeRecords(list, 0, list.size(), before);
    zl::writeRecords(again, 0, again.size(), after);
    if (before != after) std::abort();
  }
  return 0;
}
