#include "desktop/desktop_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

// What a command prints on its standard output and error.
std::string outputOf(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  char block[512];
  while (pipe != nullptr && std::fgets(block, sizeof block, pipe) != nullptr) output += block;
  if (pipe != nullptr) ::pclose(pipe);
  return output;
}

// Waits up to five seconds for a program started in the background to
// write `path`, and gives its content.
std::string awaited(const std::string& path) {
  for (int i = 0; i < 100 && readBytes(path).find("end\n") == std::string::npos; ++i) ::usleep(50000);
  return readBytes(path);
}

// GLib's launcher reads the entries as the desktop does: the program must
// be the one at the odd path, run in its folder, and the file its one
// argument. (GLib looks for a program named with "%%" literally, so the
// percent sign has a test of its own below.)
TEST(DesktopEntry, AnOddProgramPathStaysOneProgramAndAddsNoArgument) {
  TempFolder folder;
  const std::string odd = folder / "my \"odd\" $HOME `date` 'x' \\dir & a|b; (c) *?~<>#\tend";
  std::filesystem::create_directories(odd);
  const std::string program = odd + "/zelvo-lingotak";
  writeBytes(program, "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$#\" \"$@\" end > \"$ZL_RECORD\"\n");
  ::chmod(program.c_str(), 0755);
  ::setenv("ZL_RECORD", (folder / "record").c_str(), 1);

  writeBytes(folder / "open.desktop", fileTypeEntryText("Zelvo Lingotak", program));
  EXPECT_EQ(outputOf("desktop-file-validate " + folder / "open.desktop"), "");
  const std::string file = folder / "Vokabeln; rm -rf ~ $(date).ltk";
  ASSERT_EQ(outputOf("gio launch " + folder / "open.desktop '" + file + "'"), "");
  EXPECT_EQ(awaited(folder / "record"), std::filesystem::current_path().string() + "\n1\n" + file + "\nend\n");

  ::unlink((folder / "record").c_str());
  writeBytes(folder / "shortcut.desktop", shortcutEntryText({"Zelvo Lingotak", "Zelvo Lingotak", program, odd, odd}));
  ASSERT_EQ(outputOf("gio launch " + folder / "shortcut.desktop"), "");
  EXPECT_EQ(awaited(folder / "record"), odd + "\n0\nend\n");
  ::unsetenv("ZL_RECORD");
}

TEST(DesktopEntry, OnlyAPathWithAReservedCharacterIsQuotedAndPercentSignsAreDoubled) {
  EXPECT_EQ(execArgument("/opt/zelvo/zelvo-lingotak"), "/opt/zelvo/zelvo-lingotak");
  EXPECT_EQ(execArgument("/opt/100%/zelvo-lingotak"), "/opt/100%%/zelvo-lingotak");
  EXPECT_EQ(execArgument("/opt/my 100%/zelvo-lingotak"), "\"/opt/my 100%%/zelvo-lingotak\"");
  EXPECT_EQ(execArgument("/opt/a\\b/zelvo-lingotak"), "\"/opt/a\\\\b/zelvo-lingotak\"");
  // The string escapes come after the quoting: a backslash then counts twice.
  const std::string entry = fileTypeEntryText("Zelvo Lingotak", "/opt/a\\b\n/zelvo-lingotak");
  EXPECT_NE(entry.find("\nExec=\"/opt/a\\\\\\\\b\\n/zelvo-lingotak\" %f\n"), std::string::npos) << entry;
}

}  // namespace
}  // namespace zl
