#include "desktop/desktop_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "desktop/file_type.h"
#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

class DesktopCommands : public ::testing::Test {
 protected:
  bool on(CommandId id) const { return f.ui.isCommandEnabled(id); }
  std::string desktopFolder() { return f.desktop.folders().desktop; }
  std::string shortcut() { return desktopFolder() + "/Zelvo Lingotak.desktop"; }
  void expectShortcutQuestion(Answer answer) {
    f.ui.expectMessage("Setup", "Möchten Sie Auf dem Desktop ein Verknüpfung für den Zelvo Lingotak erstellen?"_w,
                       answer);
  }

  FakeProgram f;
};

TEST_F(DesktopCommands, RegisteringAndRemovingFromTheMenuSwitchTheTwoEntries) {
  const std::string registerQuestion = "Möchten Sie die Dateiendung .LTK mit dem Zelvo Lingotak verknüpfen?"_w;
  const std::string unregisterQuestion =
      "Möchten Sie die Verknüpfung der Dateiendung .LTK mit dem Zelvo Lingotak wieder entfernen?"_w;
  f.program.isAdministrator = true;
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    f.ui.expectMessage("Setup", registerQuestion, answer);
    f.menu(CmdRegister);
    EXPECT_EQ(isFileTypeRegistered(f.desktop), answer == Answer::Yes);
    EXPECT_EQ(on(CmdRegister), answer == Answer::No);
    EXPECT_EQ(on(CmdUnregister), answer == Answer::Yes);
  }
  // The running program is the one registered.
  EXPECT_NE(readBytes(f.desktop.folders().data + "/applications/zelvo-lingotak.desktop")
                .find("\nExec=/opt/zelvo/zelvo-lingotak %f\n"),
            std::string::npos);
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    f.ui.expectMessage("Setup", unregisterQuestion, answer);
    f.menu(CmdUnregister);
    EXPECT_EQ(isFileTypeRegistered(f.desktop), answer == Answer::No);
    EXPECT_EQ(on(CmdRegister), answer == Answer::Yes);
    EXPECT_EQ(on(CmdUnregister), answer == Answer::No);
  }
  EXPECT_TRUE(f.ui.allMessagesShown());
  EXPECT_EQ(f.ui.shownMessages().front().icon, MessageIcon::Warning);
  EXPECT_EQ(f.ui.shownMessages().front().buttons, MessageButtons::YesNo);
}

TEST_F(DesktopCommands, TheShortcutStartsTheProgramInItsFolderAndIsReplacedWhole) {
  expectShortcutQuestion(Answer::No);
  f.menu(CmdShortcut);
  EXPECT_FALSE(std::filesystem::exists(desktopFolder()));

  const std::string icon = f.desktop.folders().data + "/zelvo-lingotak/zelvo-lingotak.png";
  const std::string expected =
      "[Desktop Entry]\nType=Application\nName=Zelvo Lingotak\nComment=Zelvo Lingotak\n"
      "Exec=/opt/zelvo/zelvo-lingotak\nPath=/opt/zelvo/\nIcon=" +
      icon + "\nTerminal=false\n";
  for (const char* before : {"", "an older shortcut, longer than the new one"}) {
    if (*before) writeBytes(shortcut(), before);
    expectShortcutQuestion(Answer::Yes);
    f.ui.expectMessage("Setup", "Die Verknüpfung wurde erfolgreich erstellt!"_w, Answer::Ok);
    f.menu(CmdShortcut);
    EXPECT_TRUE(f.ui.allMessagesShown());
    EXPECT_EQ(f.ui.shownMessages().back().icon, MessageIcon::Information);
    EXPECT_EQ(readBytes(shortcut()), expected);
    EXPECT_EQ(std::filesystem::status(shortcut()).permissions() & std::filesystem::perms::owner_exec,
              std::filesystem::perms::owner_exec);
    EXPECT_EQ(readBytes(icon).substr(0, 4), "\x89PNG");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(desktopFolder()), {}), 1);  // no temporary file
  }
}

TEST_F(DesktopCommands, AShortcutThatCannotBeWrittenLeavesTheOldOneAndSaysNothing) {
  std::filesystem::create_directories(desktopFolder());
  writeBytes(shortcut(), "old");
  ::chmod(desktopFolder().c_str(), 0500);
  const bool ran = asPlainUser({f.desktop.root(), desktopFolder(), shortcut()}, [&] {
    expectShortcutQuestion(Answer::Yes);
    f.menu(CmdShortcut);
    EXPECT_TRUE(f.ui.allMessagesShown());
  });
  if (!ran) GTEST_SKIP() << "cannot run as a plain user";
  EXPECT_EQ(readBytes(shortcut()), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(desktopFolder()), {}), 1);
}

TEST_F(DesktopCommands, TheHomepageIsHandedToTheDesktopWithoutAWord) {
  f.menu(TbHomepage);
  EXPECT_EQ(f.desktop.openedUrls, std::vector<std::string>{f.program.constants.homepageUrl});
  EXPECT_TRUE(f.ui.shownMessages().empty());
}

}  // namespace
}  // namespace zl
