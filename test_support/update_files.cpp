#include "test_support/update_files.h"

#include <sodium.h>

#include <cstring>

#include "update/program_file.h"

namespace zl {

void putLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

namespace {

std::string base64(std::string_view bytes) {
  std::string text(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(text.data(), text.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                    sodium_base64_VARIANT_ORIGINAL);
  text.resize(text.size() - 1);  // its terminating zero
  return text;
}

std::string_view asText(const auto& bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

}  // namespace

std::string elfFile(const std::vector<ElfSection>& sections, ElfClass elfClass) {
  const bool wide = elfClass == ElfClass::Bits64;
  const std::size_t word = wide ? 8 : 4, headerSize = wide ? 64 : 52, entrySize = wide ? 64 : 40;
  std::string file(headerSize, '\0');
  std::memcpy(file.data(),
              "\x7F"
              "ELF",
              4);
  file[4] = static_cast<char>(elfClass);
  file[5] = 1;  // little-endian
  file[6] = 1;
  std::string names(1, '\0');
  std::vector<std::uint64_t> nameAt, offsets;
  std::vector<ElfSection> all = sections;
  all.push_back({".shstrtab", {}});
  for (const ElfSection& section : all) {
    nameAt.push_back(names.size());
    names += section.name + '\0';
  }
  all.back().bytes = names;
  for (const ElfSection& section : all) {
    offsets.push_back(file.size());
    file += section.bytes;
  }
  const std::size_t table = (file.size() + 7) / 8 * 8;
  file.resize(table + entrySize * (all.size() + 1), '\0');
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::size_t entry = table + entrySize * (i + 1);
    putLittleEndian(file, entry, nameAt[i], 4);
    putLittleEndian(file, entry + 4, i + 1 == all.size() ? 3 : 1, 4);  // SHT_STRTAB, SHT_PROGBITS
    putLittleEndian(file, entry + (wide ? 24 : 16), offsets[i], word);
    putLittleEndian(file, entry + (wide ? 32 : 20), all[i].bytes.size(), word);
  }
  putLittleEndian(file, wide ? 40 : 32, table, word);        // e_shoff
  putLittleEndian(file, wide ? 58 : 46, entrySize, 2);       // e_shentsize
  putLittleEndian(file, wide ? 60 : 48, all.size() + 1, 2);  // e_shnum
  putLittleEndian(file, wide ? 62 : 50, all.size(), 2);      // e_shstrndx
  return file;
}

std::string programFile(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d,
                        const std::string& keyText) {
  const FixedFileInfo record = fixedFileInfo(a, b, c, d);
  return elfFile({{".text", "code"},
                  {std::string(VersionSection), std::string(reinterpret_cast<const char*>(&record), sizeof record)},
                  {std::string(UpdateKeySection), keyText}});
}

SigningKey makeSigningKey() {
  if (sodium_init() < 0) return {};
  SigningKey key;
  std::array<std::uint8_t, 32> publicKey{};
  crypto_sign_keypair(publicKey.data(), key.secret.data());
  randombytes_buf(key.id.data(), key.id.size());
  key.publicKeyText = base64(std::string("Ed") + std::string(asText(key.id)) + std::string(asText(publicKey)));
  return key;
}

std::string minisign(const SigningKey& key, std::string_view bytes) {
  std::array<std::uint8_t, 64> digest{}, signature{}, global{};
  crypto_generichash(digest.data(), digest.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                     nullptr, 0);
  crypto_sign_detached(signature.data(), nullptr, digest.data(), digest.size(), key.secret.data());
  const std::string comment = "timestamp:1765000000\tfile:Lingotak.upd";
  const std::string signedComment = std::string(asText(signature)) + comment;
  crypto_sign_detached(global.data(), nullptr, reinterpret_cast<const unsigned char*>(signedComment.data()),
                       signedComment.size(), key.secret.data());
  return "untrusted comment: signature from minisign secret key\n" +
         base64("ED" + std::string(asText(key.id)) + std::string(asText(signature))) + "\ntrusted comment: " + comment +
         "\n" + base64(std::string(asText(global))) + "\n";
}

}  // namespace zl
