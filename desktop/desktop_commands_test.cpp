#include "desktop/desktop_commands.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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
  std::string mimeApps() { return f.desktop.folders().config + "/mimeapps.list"; }
  void expectShortcutQuestion(Answer answer) {
    f.ui.expectMessage("Setup", "Möchten Sie Auf dem Desktop ein Verknüpfung für den Zelvo Lingotak erstellen?"_w,
                       answer);
  }
  void expectError() { f.ui.expectMessage("Fehler", "Ein Fehler ist aufgetreten", Answer::Ok); }

  const std::string registerQuestion = "Möchten Sie die Dateiendung .LTK mit dem Zelvo Lingotak verknüpfen?"_w;
  const std::string unregisterQuestion =
      "Möchten Sie die Verknüpfung der Dateiendung .LTK mit dem Zelvo Lingotak wieder entfernen?"_w;

  FakeProgram f;
};

TEST_F(DesktopCommands, RegisteringAndRemovingFromTheMenuSwitchTheTwoEntries) {
  f.program.isAdministrator = true;
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    f.ui.expectMessage("Setup", registerQuestion, answer);
    f.menu(CmdRegister);
    EXPECT_EQ(isFileTypeRegistered(f.program), answer == Answer::Yes);
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
    EXPECT_EQ(isFileTypeRegistered(f.program), answer == Answer::No);
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

TEST_F(DesktopCommands, LinksAtTheProgramsOwnFilesAreReplacedAndTheUsersListIsEditedThroughItsLink) {
  namespace fs = std::filesystem;
  const std::string data = f.desktop.folders().data + "/", kept = f.desktop.root() + "kept/";
  const std::string own[] = {shortcut(), data + "applications/zelvo-lingotak.desktop",
                             data + "mime/packages/zelvo-lingotak.xml",
                             data + "icons/hicolor/48x48/apps/zelvo-lingotak.png"};
  for (const std::string& name : {kept, f.desktop.folders().config, desktopFolder()}) fs::create_directories(name);
  for (const std::string& name : own) fs::create_directories(fs::path(name).parent_path());
  for (const std::string& name : own) fs::create_symlink(kept + "bashrc", name);
  fs::create_symlink(kept + "mimeapps.list", mimeApps());
  writeBytes(kept + "bashrc", "export PATH\n");
  // The list empty before, and so emptied again, or holding the user's lines.
  for (const std::string before : {"", "[Added Associations]\ntext/plain=gedit.desktop;\n"}) {
    writeBytes(kept + "mimeapps.list", before);
    f.ui.expectMessage("Setup", registerQuestion, Answer::Yes);
    f.menu(CmdRegister);
    expectShortcutQuestion(Answer::Yes);
    f.ui.expectMessage("Setup", "Die Verknüpfung wurde erfolgreich erstellt!"_w, Answer::Ok);
    f.menu(CmdShortcut);
    EXPECT_NE(readBytes(kept + "mimeapps.list").find("=zelvo-lingotak.desktop"), std::string::npos);
    f.ui.expectMessage("Setup", unregisterQuestion, Answer::Yes);
    f.menu(CmdUnregister);
    EXPECT_TRUE(f.ui.allMessagesShown());
    EXPECT_EQ(readBytes(kept + "mimeapps.list"), before);
    EXPECT_TRUE(fs::is_symlink(mimeApps()));
  }
  EXPECT_EQ(readBytes(kept + "bashrc"), "export PATH\n");
  EXPECT_EQ(fs::status(kept + "bashrc").permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(shortcut())));
}

TEST_F(DesktopCommands, AShortcutOrAnUnregisteringThatCannotBeWrittenChangesNothingAndSaysSo) {
  const std::string ours = "application/x-zelvo-vocabulary=zelvo-lingotak.desktop\n";
  const std::string config = f.desktop.folders().config;
  std::filesystem::create_directories(desktopFolder());
  std::filesystem::create_directories(config);
  writeBytes(shortcut(), "old");
  writeBytes(mimeApps(), "");
  ::chmod(desktopFolder().c_str(), 0500);
  ::chmod(config.c_str(), 0500);
  const auto asUser = [&] {
    expectShortcutQuestion(Answer::Yes);
    expectError();
    f.menu(CmdShortcut);
    // The list emptied, to be removed, and the list rewritten.
    for (const std::string& list : {"[Default Applications]\n" + ours, "[Default Applications]\nx=y\n" + ours}) {
      writeBytes(mimeApps(), list);
      f.ui.expectMessage("Setup", unregisterQuestion, Answer::Yes);
      expectError();
      f.menu(CmdUnregister);
      EXPECT_TRUE(f.ui.allMessagesShown());
      EXPECT_EQ(readBytes(mimeApps()), list);
    }
  };
  if (!asPlainUser({f.desktop.root(), desktopFolder(), shortcut(), config, mimeApps()}, asUser)) GTEST_SKIP();
  EXPECT_EQ(readBytes(shortcut()), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(desktopFolder()), {}), 1);
}

// Someone else's link in a folder anyone may write could lead anywhere.
TEST_F(DesktopCommands, ALinkOfAnotherUserInAFolderOthersMayWriteIsNotFollowed) {
  const passwd* nobody = ::getpwnam("nobody");
  if (::geteuid() != 0 || nobody == nullptr) GTEST_SKIP() << "only root can give a link to another user";
  const std::string victim = f.desktop.root() + "victim";
  std::filesystem::create_directories(f.desktop.folders().config);
  ::chmod(f.desktop.folders().config.c_str(), 01777);
  std::filesystem::create_symlink(victim, mimeApps());
  ASSERT_EQ(::lchown(mimeApps().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  const std::string ours = "[Default Applications]\napplication/x-zelvo-vocabulary=zelvo-lingotak.desktop\n";
  for (const auto& [before, command] : {std::pair{std::string("x=y\n"), CmdRegister}, std::pair{ours, CmdUnregister}}) {
    writeBytes(victim, before);
    f.ui.expectMessage("Setup", command == CmdRegister ? registerQuestion : unregisterQuestion, Answer::Yes);
    expectError();
    f.menu(command);
    EXPECT_TRUE(f.ui.allMessagesShown());
    EXPECT_EQ(readBytes(victim), before);
  }
}

TEST_F(DesktopCommands, TheHomepageIsHandedToTheDesktopWithoutAWord) {
  f.menu(TbHomepage);
  EXPECT_EQ(f.desktop.openedUrls, std::vector<std::string>{f.program.constants.homepageUrl});
  EXPECT_TRUE(f.ui.shownMessages().empty());
}

}  // namespace
}  // namespace zl
