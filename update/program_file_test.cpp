#include "update/program_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "test_support/fake_platform.h"
#include "test_support/update_files.h"

namespace zl {
namespace {

class ProgramFile : public ::testing::Test {
 protected:
  std::string versionOf(const std::string& bytes) {
    writeBytes(folder / "program", bytes);
    return readFileVersion(files, folder / "program");
  }

  PosixFileSystem files;
  TempFolder folder;
};

TEST_F(ProgramFile, TheBuiltProgramCarriesItsVersion) {
  EXPECT_EQ(readFileVersion(files, ZL_PROGRAM), ZL_PROJECT_VERSION);
}

TEST_F(ProgramFile, ACopyStampedWithObjcopyCarriesTheNewVersionAndKey) {
  const std::string copy = folder / "zelvo-lingotak";
  std::filesystem::copy_file(ZL_PROGRAM, copy);
  const FixedFileInfo record = fixedFileInfo(2, 5, 0, 58);
  writeBytes(folder / "version.bin", std::string(reinterpret_cast<const char*>(&record), sizeof record));
  const SigningKey key = makeSigningKey();
  writeBytes(folder / "key.txt", key.publicKeyText);
  const std::string command = "objcopy --update-section .zl_version='" + folder / "version.bin" +
                              "' --update-section .zl_update_key='" + folder / "key.txt" + "' '" + copy + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(readFileVersion(files, copy), "2.5.0.58");
  EXPECT_EQ(readUpdateKey(files, copy), key.publicKeyText);
}

TEST_F(ProgramFile, ReadsBothClassesOfElf) {
  const FixedFileInfo record = fixedFileInfo(1, 65535, 0, 7);
  const std::string bytes(reinterpret_cast<const char*>(&record), sizeof record);
  EXPECT_EQ(versionOf(elfFile({{".zl_version", bytes}}, ElfClass::Bits32)), "1.65535.0.7");
  EXPECT_EQ(versionOf(elfFile({{".data", "x"}, {".zl_version", bytes}}, ElfClass::Bits64)), "1.65535.0.7");
}

TEST_F(ProgramFile, AFileWithoutAWholeRecordHasNoVersion) {
  EXPECT_EQ(readFileVersion(files, folder / "missing"), "");
  EXPECT_EQ(versionOf("<html><body>Moved</body></html>"), "");
  EXPECT_EQ(versionOf(elfFile({{".text", "code"}})), "");
  const FixedFileInfo record = fixedFileInfo(2, 5, 0, 58);
  const std::string bytes(reinterpret_cast<const char*>(&record), sizeof record);
  EXPECT_EQ(versionOf(elfFile({{".zl_version", bytes.substr(0, 51)}})), "");
  EXPECT_EQ(versionOf(elfFile({{".zl_versio", bytes}})), "");
  std::string unsigned_ = bytes;
  unsigned_[0] = 0;
  EXPECT_EQ(versionOf(elfFile({{".zl_version", unsigned_}})), "");
}

// Regression guard for the bounds checks: every damage to the headers of a
// good file gives no version and reads nothing outside the file.
TEST_F(ProgramFile, DamagedHeadersGiveNoVersion) {
  const FixedFileInfo record = fixedFileInfo(2, 5, 0, 58);
  const std::string good = elfFile({{".zl_version", std::string(reinterpret_cast<const char*>(&record), 52)}});
  ASSERT_EQ(versionOf(good), "2.5.0.58");
  const std::size_t table = good.size() - 3 * 64;  // null, version, names
  const std::size_t version = table + 64, names = table + 128;
  const std::function<void(std::string&)> damages[] = {
      [&](std::string& f) { f[5] = 2; },                                            // big-endian
      [&](std::string& f) { f[4] = 3; },                                            // no such class
      [&](std::string& f) { putLittleEndian(f, 40, f.size() + 10, 8); },            // table past the end
      [&](std::string& f) { putLittleEndian(f, 40, ~std::uint64_t{0} - 5, 8); },    // table offset wraps
      [&](std::string& f) { putLittleEndian(f, 58, 10, 2); },                       // entries too small
      [&](std::string& f) { putLittleEndian(f, 60, 0xFF00, 2); },                   // more entries than the file has
      [&](std::string& f) { putLittleEndian(f, 62, 7, 2); },                        // no such names section
      [&](std::string& f) { putLittleEndian(f, version, 0xFFFFFF, 4); },            // name outside the names
      [&](std::string& f) { putLittleEndian(f, version + 24, f.size() - 10, 8); },  // bytes past the end
      [&](std::string& f) { putLittleEndian(f, version + 4, 8, 4); },               // a section without bytes
      [&](std::string& f) { putLittleEndian(f, names + 32, 3, 8); },                // names cut before ours ends
      [&](std::string& f) { f.resize(f.size() - 1); },                              // the table cut short
  };
  for (std::size_t i = 0; i < std::size(damages); ++i) {
    std::string damaged = good;
    damages[i](damaged);
    EXPECT_EQ(versionOf(damaged), "") << "damage " << i;
  }
}

}  // namespace
}  // namespace zl
