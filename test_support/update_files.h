// Files for the update's tests, made on the spot: small ELF program files
// with the sections a test names, and minisign key pairs and signatures
// made with libsodium (the tests' own keys; none is ever stored).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zl {

struct ElfSection {
  std::string name;
  std::string bytes;
};

// Writes the `width` low bytes of `value` at `at`, least significant first.
void putLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t width);

enum class ElfClass { Bits32 = 1, Bits64 = 2 };

// A little-endian ELF file without code: the header, the sections' bytes,
// the table of their names, and the section header table at the end.
std::string elfFile(const std::vector<ElfSection>& sections, ElfClass elfClass = ElfClass::Bits64);

// A program file as the build makes one: its version record and the
// public key text of its updates.
std::string programFile(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d, const std::string& keyText);

struct SigningKey {
  std::string publicKeyText;  // the second line of a minisign .pub file
  std::array<std::uint8_t, 8> id{};
  std::array<std::uint8_t, 64> secret{};
};

SigningKey makeSigningKey();

// The text of a .minisig file for `bytes`, in the prehashed form.
std::string minisign(const SigningKey& key, std::string_view bytes);

}  // namespace zl
