// libFuzzer target for the KVTML reader: any bytes must read without a
// crash, and what was read must survive being written and read again
// unchanged.
#include <cstdint>
#include <cstdlib>

#include "convert/kvtml.h"
#include "store/file_format.h"

namespace {

bool readInto(std::string_view bytes, zl::VocabList& list) {
  zl::UnmappableReport report(true);
  zl::PairBuilder pairs(report, bytes.size());
  zl::ReadFailure failure;
  if (!zl::readKvtml(bytes, {}, pairs, failure)) {
    if (failure.reason.empty()) std::abort();  // every failure says why
    return false;
  }
  pairs.moveInto(list);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zl::isKvtmlDocument(bytes);

  zl::VocabList list;
  if (!readInto(bytes, list)) return 0;
  zl::ByteBuffer written;
  zl::UnmappableReport report(false);
  zl::writeKvtmlHead(written);
  zl::writeKvtmlEntries(list, 0, list.size(), written, report);
  zl::writeKvtmlTail(list.size(), written);
  if (report.count() != 0) std::abort();  // what XML carried in, it carries out

  zl::VocabList again;
  if (!readInto(zl::viewOf(written), again)) std::abort();
  // The trainer's file format holds exactly the texts and counts.
  zl::ByteBuffer before, after;
  zl::writeRecords(list, 0, list.size(), before);
  zl::writeRecords(again, 0, again.size(), after);
  if (before != after) std::abort();
  return 0;
}
