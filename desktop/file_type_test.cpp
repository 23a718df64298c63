#include "desktop/file_type.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

class FileType : public ::testing::Test {
 protected:
  void registerProgram() { registerFileType(f.program, "Zelvo Lingotak", "/opt/zelvo/zelvo-lingotak"); }
  std::string data(const std::string& path) { return desktop.folders().data + "/" + path; }
  std::string mimeApps() { return desktop.folders().config + "/mimeapps.list"; }
  // Every file and folder of the desktop's folders, with the files' bytes.
  std::map<std::string, std::string> tree() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(desktop.root())) {
      files[entry.path().string()] = entry.is_directory() ? "(folder)" : readBytes(entry.path());
    }
    return files;
  }

  FakeProgram f;
  FakeUi& ui = f.ui;
  FakeDesktop& desktop = f.desktop;
};

TEST_F(FileType, RegisteringWritesTheAssociationAndAgainTheSameWithoutAMessage) {
  registerProgram();
  EXPECT_TRUE(isFileTypeRegistered(f.program));
  const std::string entry = readBytes(data("applications/zelvo-lingotak.desktop"));
  EXPECT_NE(entry.find("\nExec=/opt/zelvo/zelvo-lingotak %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=application/x-zelvo-vocabulary;\n"), std::string::npos) << entry;
  EXPECT_NE(readBytes(data("mime/packages/zelvo-lingotak.xml")).find("<glob pattern=\"*.ltk\"/>"), std::string::npos);
  for (const char* icon : {"48x48/apps/zelvo-lingotak.png", "16x16/mimetypes/application-x-zelvo-vocabulary.png",
                           "scalable/apps/zelvo-lingotak.svg"}) {
    EXPECT_TRUE(f.files.status(data("icons/hicolor/") + icon).regular) << icon;
  }
  EXPECT_EQ(readBytes(mimeApps()),
            "[Default Applications]\napplication/x-zelvo-vocabulary=zelvo-lingotak.desktop\n\n"
            "[Added Associations]\napplication/x-zelvo-vocabulary=zelvo-lingotak.desktop;\n");
  EXPECT_EQ(desktop.toolRuns, (std::vector<std::string>{"update-mime-database " + data("mime"),
                                                        "update-desktop-database " + data("applications")}));

  const auto once = tree();
  registerProgram();
  EXPECT_EQ(tree(), once);
  EXPECT_TRUE(ui.shownMessages().empty());
}

TEST_F(FileType, RemovingTakesAwayExactlyWhatRegisteringWrote) {
  for (const char* other :
       {"applications/gedit.desktop", "mime/packages/freedesktop.org.xml", "icons/hicolor/48x48/apps/gedit.png"}) {
    std::filesystem::create_directories(std::filesystem::path(data(other)).parent_path());
    writeBytes(data(other), other);
  }
  std::filesystem::create_directories(desktop.folders().config);
  writeBytes(mimeApps(), "[Default Applications]\r\ntext/plain=gedit.desktop\r\n# mine\r\n");
  const auto before = tree();
  registerProgram();
  unregisterFileType(f.program);
  EXPECT_EQ(tree(), before);
  EXPECT_FALSE(isFileTypeRegistered(f.program));
  unregisterFileType(f.program);  // nothing registered: nothing changes
  EXPECT_EQ(tree(), before);
  EXPECT_TRUE(ui.shownMessages().empty());
}

TEST_F(FileType, EachFailingWriteIsReportedOnceAndTheNextStillFollows) {
  const std::string config = desktop.folders().config;
  std::filesystem::create_directories(data(""));
  std::filesystem::create_directories(config);
  writeBytes(mimeApps(), "[Default Applications]\n");
  ::chmod(data("").c_str(), 0500);
  ::chmod(mimeApps().c_str(), 0200);  // cannot be read: must not be replaced by ours alone
  const bool ran = asPlainUser({desktop.root(), data(""), config, mimeApps()}, [&] {
    for (int write = 0; write < 4; ++write) ui.expectMessage("Fehler", "Ein Fehler ist aufgetreten", Answer::Ok);
    registerProgram();
    EXPECT_TRUE(ui.allMessagesShown());
    EXPECT_EQ(ui.shownMessages().back().icon, MessageIcon::None);

    ::chmod(mimeApps().c_str(), 0600);
    for (int write = 0; write < 3; ++write) ui.expectMessage("Fehler", "Ein Fehler ist aufgetreten", Answer::Ok);
    registerProgram();
    EXPECT_TRUE(ui.allMessagesShown());
    EXPECT_NE(readBytes(mimeApps()).find("=zelvo-lingotak.desktop\n"), std::string::npos);
  });
  if (!ran) GTEST_SKIP() << "cannot run as a plain user";
  EXPECT_FALSE(isFileTypeRegistered(f.program));
}

}  // namespace
}  // namespace zl
