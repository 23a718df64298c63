// The converter run as from a terminal in tests: real files in a folder of
// their own, the rest of the world faked.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "convert/converter.h"
#include "store/file_format.h"
#include "test_support/fake_platform.h"

namespace zl {

// The bytes of a vocabulary file as the trainer writes it: texts of any
// Windows-1252 bytes but line ends (and, with `xmlSafe`, but the control
// characters XML cannot carry), counts anywhere in their range.
inline std::string trainerFile(unsigned seed, int pairs, bool xmlSafe) {
  std::mt19937 random(seed);
  const auto text = [&] {
    std::string word(1 + random() % 12, ' ');
    for (char& c : word) {
      do c = static_cast<char>(1 + random() % 255);
      while (c == '\r' || c == '\n' || (xmlSafe && static_cast<unsigned char>(c) < 0x20 && c != '\t'));
    }
    return word;
  };
  VocabList list;
  for (int i = 0; i < pairs; ++i) {
    const std::int16_t extremes[] = {0, 1, -1, 32767, -32768, static_cast<std::int16_t>(random())};
    list.append({text(), text(), extremes[random() % 6], extremes[random() % 6]});
  }
  ByteBuffer bytes;
  writeRecords(list, 0, list.size(), bytes);
  return std::string(bytes.begin(), bytes.end());
}

class Converter : public ::testing::Test {
 protected:
  int run(std::vector<std::string> arguments) {
    printed = {};
    return runConverter(services, arguments, printed);
  }
  std::string path(const std::string& name) const { return folder / name; }

  TempFolder folder;
  FaultyFileSystem files;
  FakeSystem system;
  FakeDesktop desktop;
  FakeDialogs dialogs;
  ConverterServices services{files, system, desktop, dialogs, 1796716800};  // 2026-12-09
  Printed printed;
};

}  // namespace zl
