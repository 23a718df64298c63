// libFuzzer target for the reader of Anki packages: any bytes, taken as a
// package (a zip archive) or as the collection inside one (an SQLite
// database, in either layout), must read without a crash, and what was
// read must come back the same from a package written of it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "convert/anki_package.h"
#include "store/file_format.h"

namespace {

// Packages unpack to at most this, to keep each run short.
constexpr std::uint64_t kLimit = 64 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zl::UnmappableReport report(true);
  zl::PairBuilder pairs(report, 0);
  zl::AnkiFindings findings;
  zl::ReadFailure failure;
  zl::VocabList list;
  bool read = false;
  if (bytes.starts_with("PK")) {
    zl::isAnkiPackage(bytes);
    read = zl::readAnkiPackage(bytes, kLimit, {}, pairs, findings, failure);
  } else {
    zl::ByteBuffer database = zl::bufferOf(bytes);
    read = zl::readAnkiCollection(database, {}, pairs, findings, failure);
  }
  if (!read) {
    if (failure.reason.empty()) std::abort();  // every failure says why
    return 0;
  }
  pairs.moveInto(list);
  if (list.empty()) return 0;

  zl::ByteBuffer package;
  std::string reason;
  if (!zl::writeAnkiPackage(list, "Stapel", 1796716800, package, reason)) std::abort();
  zl::UnmappableReport again(false);
  zl::PairBuilder backPairs(again, 0);
  if (!zl::readAnkiPackage(zl::viewOf(package), kLimit, {}, backPairs, findings, failure)) std::abort();
  zl::VocabList back;
  backPairs.moveInto(back);
  // The texts come back as they were; counts below 0 as 0, since Anki
  // holds none.
  if (back.size() != list.size()) std::abort();
  for (std::int64_t i = 0; i < list.size(); ++i) {
    const zl::PairView was = list[i], is = back[i];
    if (was.vocabulary != is.vocabulary || was.translation != is.translation ||
        std::max<std::int16_t>(was.correctCount, 0) != is.correctCount ||
        std::max<std::int16_t>(was.wrongCount, 0) != is.wrongCount)
      std::abort();
  }
  return 0;
}
