// libFuzzer target for the readers of what the update server sends: any
// bytes, as a program file or as a signature file, must read without a
// crash or a hang, and what is read must keep the readers' promises.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "update/elf_sections.h"
#include "update/minisign.h"
#include "update/program_file.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const zl::ReadAt read = [&](std::uint64_t offset, std::size_t length, std::string& out) {
    out = offset < bytes.size() ? std::string(bytes.substr(static_cast<std::size_t>(offset), length)) : std::string();
  };
  const std::optional<std::string> record = zl::readElfSection(read, zl::VersionSection, 52);
  if (record) {
    check(record->size() <= 52);
    const std::string version = zl::versionText(*record);
    check(version.empty() || (record->size() == 52 && version.size() >= 7 && version.size() <= 23));
  }

  zl::MinisignSignature signature;
  if (zl::parseMinisignSignature(bytes, signature)) check(bytes.find("trusted comment: ") != std::string_view::npos);
  zl::MinisignKey key;
  if (zl::parseMinisignKey(bytes, key)) check(size == 56);
  return 0;
}
