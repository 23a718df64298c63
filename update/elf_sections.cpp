#include "update/elf_sections.h"

#include <algorithm>
#include <limits>

namespace zl {

namespace {

constexpr std::uint32_t NoBits = 8;              // SHT_NOBITS: a section without bytes in the file
constexpr std::uint16_t ExtendedIndex = 0xFFFF;  // SHN_XINDEX

std::uint64_t littleEndian(const std::string& bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Where the fields lie in the two classes of ELF.
struct Layout {
  std::size_t word;  // 4 or 8
  std::size_t headerSize, shoff, shentsize, shnum, shstrndx;
  std::size_t entrySize, offset, size, link;  // of a section header
};
constexpr Layout Elf32{4, 52, 32, 46, 48, 50, 40, 16, 20, 24};
constexpr Layout Elf64{8, 64, 40, 58, 60, 62, 64, 24, 32, 40};

struct Section {
  std::uint32_t name = 0, type = 0, link = 0;
  std::uint64_t offset = 0, size = 0;
};

class ElfFile {
 public:
  ElfFile(const ReadAt& read, const Layout& layout) : read_(read), layout_(layout) {}

  bool readSection(std::uint64_t index, Section& section) {
    if (index >= count_) return false;
    std::string bytes;
    read_(tableOffset_ + index * entrySize_, layout_.entrySize, bytes);
    if (bytes.size() != layout_.entrySize) return false;
    section.name = static_cast<std::uint32_t>(littleEndian(bytes, 0, 4));
    section.type = static_cast<std::uint32_t>(littleEndian(bytes, 4, 4));
    section.offset = littleEndian(bytes, layout_.offset, layout_.word);
    section.size = littleEndian(bytes, layout_.size, layout_.word);
    section.link = static_cast<std::uint32_t>(littleEndian(bytes, layout_.link, 4));
    return true;
  }

  // Reads the header and the table's place; false when they do not fit.
  bool open(const std::string& header) {
    tableOffset_ = littleEndian(header, layout_.shoff, layout_.word);
    entrySize_ = littleEndian(header, layout_.shentsize, 2);
    const std::uint64_t sections = littleEndian(header, layout_.shnum, 2);
    std::uint64_t names = littleEndian(header, layout_.shstrndx, 2);
    if (tableOffset_ == 0 || entrySize_ < layout_.entrySize) return false;
    count_ = sections;
    if (sections == 0 || names == ExtendedIndex) {
      // More sections than the header can count: the first section header
      // holds the real numbers.
      count_ = 1;
      Section first;
      if (!readSection(0, first)) return false;
      if (sections == 0) count_ = first.size;
      if (names == ExtendedIndex) names = first.link;
    }
    // The whole table must be in the file, which also bounds the count.
    constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    if (count_ == 0 || count_ > (max - tableOffset_) / entrySize_) return false;
    std::string last;
    read_(tableOffset_ + count_ * entrySize_ - 1, 1, last);
    return last.size() == 1 && readSection(names, names_) && names_.type != NoBits &&
           names_.offset <= max - names_.size;
  }

  // True when the section's name, in the table of names, is `name`.
  bool isNamed(const Section& section, std::string_view name) {
    if (section.name >= names_.size) return false;
    const std::uint64_t room = names_.size - section.name;
    std::string bytes;
    read_(names_.offset + section.name, static_cast<std::size_t>(std::min<std::uint64_t>(room, name.size() + 1)),
          bytes);
    return bytes.size() == name.size() + 1 && bytes.back() == '\0' &&
           std::string_view(bytes).substr(0, name.size()) == name;
  }

  std::uint64_t count() const { return count_; }

 private:
  const ReadAt& read_;
  const Layout& layout_;
  std::uint64_t tableOffset_ = 0, entrySize_ = 0, count_ = 0;
  Section names_;
};

}  // namespace

std::optional<std::string> readElfSection(const ReadAt& read, std::string_view name, std::size_t maxSize) {
  std::string header;
  read(0, Elf64.headerSize, header);
  if (header.size() < 6 ||
      header.compare(0, 4,
                     "\x7F"
                     "ELF") != 0 ||
      header[5] != 1)
    return std::nullopt;
  const Layout* layout = header[4] == 1 ? &Elf32 : header[4] == 2 ? &Elf64 : nullptr;
  if (layout == nullptr || header.size() < layout->headerSize) return std::nullopt;
  ElfFile file(read, *layout);
  if (!file.open(header)) return std::nullopt;
  for (std::uint64_t i = 0; i < file.count(); ++i) {
    Section section;
    if (!file.readSection(i, section)) return std::nullopt;
    if (section.type == NoBits || section.size > maxSize || !file.isNamed(section, name)) continue;
    std::string bytes;
    read(section.offset, static_cast<std::size_t>(section.size), bytes);
    if (bytes.size() == section.size) return bytes;
  }
  return std::nullopt;
}

}  // namespace zl
