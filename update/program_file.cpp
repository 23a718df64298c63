#include "update/program_file.h"

#include <cstring>

#include "update/elf_sections.h"

namespace zl {

namespace {

std::string sectionOf(FileSystem& files, const std::string& path, std::string_view name, std::size_t size) {
  const ReadAt read = [&](std::uint64_t offset, std::size_t length, std::string& bytes) {
    files.readPart(path, offset, length, bytes);
  };
  std::optional<std::string> section = readElfSection(read, name, size);
  return section && section->size() == size ? *section : std::string();
}

}  // namespace

std::string versionText(std::string_view record) {
  FixedFileInfo info;
  if (record.size() != sizeof info) return "";
  std::memcpy(&info, record.data(), sizeof info);
  if (info.signature != FixedFileInfo{}.signature) return "";
  return std::to_string(info.fileVersionMs >> 16) + "." + std::to_string(info.fileVersionMs & 0xFFFF) + "." +
         std::to_string(info.fileVersionLs >> 16) + "." + std::to_string(info.fileVersionLs & 0xFFFF);
}

std::string readFileVersion(FileSystem& files, const std::string& path) {
  return versionText(sectionOf(files, path, VersionSection, sizeof(FixedFileInfo)));
}

std::string readUpdateKey(FileSystem& files, const std::string& path) {
  std::string key = sectionOf(files, path, UpdateKeySection, UpdateKeyLength);
  return key.find('\0') == std::string::npos ? key : std::string();
}

}  // namespace zl
