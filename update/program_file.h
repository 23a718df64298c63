// What a program file carries for the update, each in an ELF section of its
// own (doc/update.md): its file version as a 52-byte fixed-file-info record,
// and the public key its updates must be signed with.
//
// The build puts both into the program (program_records.cpp); a release
// script or a test stamps a copy with other ones (objcopy --update-section).
// Reading never fails loudly: a file without the section, not ELF, or
// damaged, yields "".
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "update/elf_sections.h"

namespace zl {

inline constexpr std::string_view VersionSection = ".zl_version";
inline constexpr std::string_view UpdateKeySection = ".zl_update_key";

// The fixed file information of a program, field for field and with the
// signature of the Windows record, stored little-endian.
struct FixedFileInfo {
  std::uint32_t signature = 0xFEEF04BD;
  std::uint32_t structVersion = 0x00010000;
  std::uint32_t fileVersionMs = 0;  // a << 16 | b of a.b.c.d
  std::uint32_t fileVersionLs = 0;  // c << 16 | d
  std::uint32_t productVersionMs = 0;
  std::uint32_t productVersionLs = 0;
  std::uint32_t fileFlagsMask = 0x3F;
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOs = 0;    // VOS_UNKNOWN: no Windows system
  std::uint32_t fileType = 1;  // VFT_APP
  std::uint32_t fileSubtype = 0;
  std::uint32_t fileDateMs = 0;
  std::uint32_t fileDateLs = 0;
};
static_assert(sizeof(FixedFileInfo) == 52 && std::endian::native == std::endian::little,
              "the record is stored as the machine holds it");

constexpr FixedFileInfo fixedFileInfo(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
  FixedFileInfo info;
  info.fileVersionMs = info.productVersionMs = static_cast<std::uint32_t>(a) << 16 | b;
  info.fileVersionLs = info.productVersionLs = static_cast<std::uint32_t>(c) << 16 | d;
  return info;
}

// "a.b.c.d" of a 52-byte record with the signature; "" for anything else.
std::string versionText(std::string_view record);

// The version text of the program file at `path`, or of the one `read`
// reads; "" when it has none.
std::string readFileVersion(FileSystem& files, const std::string& path);
std::string readFileVersion(const ReadAt& read);

// True when `version` is older than `than`, both "a.b.c.d", compared
// number by number. False when either is not a version text.
bool isOlderVersion(std::string_view version, std::string_view than);

// The update key section holds a minisign public key as its 56 base64
// characters, or 56 NUL bytes in a build without one.
inline constexpr std::size_t UpdateKeyLength = 56;

// The key text of the program file at `path`; "" when it has none.
std::string readUpdateKey(FileSystem& files, const std::string& path);

}  // namespace zl
