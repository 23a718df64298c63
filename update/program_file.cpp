#include "update/program_file.h"

#include <array>
#include <charconv>
#include <cstring>

#include "update/elf_sections.h"

namespace zl {

namespace {

ReadAt readerOf(FileSystem& files, const std::string& path) {
  return [&files, path](std::uint64_t offset, std::size_t length, std::string& bytes) {
    files.readPart(path, offset, length, bytes);
  };
}

std::string sectionOf(const ReadAt& read, std::string_view name, std::size_t size) {
  std::optional<std::string> section = readElfSection(read, name, size);
  return section && section->size() == size ? *section : std::string();
}

// The four numbers of "a.b.c.d"; false for anything else.
bool versionNumbers(std::string_view text, std::array<std::uint32_t, 4>& numbers) {
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, numbers[i]);
    if (error != std::errc() || (i + 1 < numbers.size() ? next == end || *next != '.' : next != end)) return false;
    text.remove_prefix(static_cast<std::size_t>(next - text.data()) + (next == end ? 0 : 1));
  }
  return true;
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

std::string readFileVersion(const ReadAt& read) {
  return versionText(sectionOf(read, VersionSection, sizeof(FixedFileInfo)));
}

std::string readFileVersion(FileSystem& files, const std::string& path) {
  return readFileVersion(readerOf(files, path));
}

bool isOlderVersion(std::string_view version, std::string_view than) {
  std::array<std::uint32_t, 4> older{}, newer{};
  return versionNumbers(version, older) && versionNumbers(than, newer) && older < newer;
}

std::string readUpdateKey(FileSystem& files, const std::string& path) {
  std::string key = sectionOf(readerOf(files, path), UpdateKeySection, UpdateKeyLength);
  return key.find('\0') == std::string::npos ? key : std::string();
}

}  // namespace zl
