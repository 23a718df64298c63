#include "update/internet_update.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"
#include "test_support/local_server.h"
#include "test_support/update_files.h"
#include "update/program_file.h"

namespace zl {
namespace {

const std::string StartQuestion = "Möchten Sie den Update Prozess starten?"_w;
const std::string Failed = "Es ist ein Fehler während\r\ndes Update Prozesses aufgetreten!"_w;
const std::string NotGenuine =
    "Die Update Datei ist nicht echt:\r\nihre Signatur fehlt oder ist ungültig.\r\n\r\nDas Update wurde nicht installiert!"_w;

std::string installQuestion(const std::string& local, const std::string& remote) {
  return "Lokale Dateiversion:\t" + local + "\t\r\nUpdate Dateiversion:\t" + remote +
         "\r\n\r\nMöchten Sie das Update installieren?"_w;
}

std::string served(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The running program is a small program file of version 2.5.0.57 in a
// folder of its own, trusting `key`; the server offers what a test puts
// there.
class InternetUpdate : public ::testing::Test {
 protected:
  InternetUpdate() {
    p.system.executable = program;
    writeBytes(program, programFile(2, 5, 0, 57, key.publicKeyText));
    p.program.constants.updateUrl = server.url("/Lingotak.upd");
  }
  void offerSigned(const std::string& file) {
    server.reply("/Lingotak.upd", {{served(file)}});
    server.reply("/Lingotak.upd.minisig", {{served(minisign(key, file))}});
  }
  // Runs the update from the toolbar; true when the program is to end.
  bool update() {
    p.menu(TbUpdate);
    EXPECT_TRUE(p.ui.allMessagesShown());
    return p.program.quitRequested;
  }
  bool called(const std::string& call) const {
    return std::find(p.system.calls.begin(), p.system.calls.end(), call) != p.system.calls.end();
  }
  bool renamedAnything() const {
    return std::any_of(p.system.calls.begin(), p.system.calls.end(),
                       [](const std::string& call) { return call.starts_with("rename"); });
  }

  FakeProgram p;
  LocalServer server;
  SigningKey key = makeSigningKey();
  std::string program = p.folder / "zelvo-lingotak";
  std::string updateFile = program + ".upd", leftover = program + ".tmp";
};

TEST_F(InternetUpdate, InstallsASignedNewVersionAndRestartsWithTheCurrentFile) {
  offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
  p.program.file.currentPath = "/home/anna/vokabeln/englisch.ltk";
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.5.0.58"), Answer::Yes);
  p.ui.expectMessage("Update Information",
                     "Das Update wurde erfolgreich installiert.\r\nDas Programm wird nun neu gestartet!", Answer::Ok);
  EXPECT_TRUE(update());
  const std::vector<std::string> replacing = {
      "permissions " + program + " " + updateFile,
      "rename " + program + " " + leftover,
      "rename " + updateFile + " " + program,
      "start " + program + " \"/home/anna/vokabeln/englisch.ltk\" in /home/anna/vokabeln/",
  };
  EXPECT_TRUE(std::search(p.system.calls.begin(), p.system.calls.end(), replacing.begin(), replacing.end()) !=
              p.system.calls.end());
  EXPECT_TRUE(called("remove " + updateFile + ".minisig"));
  EXPECT_EQ(readBytes(updateFile), programFile(2, 5, 0, 58, key.publicKeyText));  // downloaded whole
  ASSERT_GE(p.ui.statusMessages().size(), 2u);
  EXPECT_EQ(p.ui.statusMessages()[0], "Update...");
  EXPECT_EQ(p.ui.statusMessages().back(), "Update 100 %");  // the download's progress, to its end
}

TEST_F(InternetUpdate, WithoutACurrentFileTheRestartGetsAnEmptyArgument) {
  offerSigned(programFile(3, 0, 0, 0, key.publicKeyText));
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "3.0.0.0"), Answer::Yes);
  p.ui.expectMessage("Update Information",
                     "Das Update wurde erfolgreich installiert.\r\nDas Programm wird nun neu gestartet!", Answer::Ok);
  EXPECT_TRUE(update());
  EXPECT_EQ(p.system.calls.back(), "start " + program + " \"\" in ");
}

TEST_F(InternetUpdate, TheSameVersionIsNotInstalledAgain) {
  offerSigned(programFile(2, 5, 0, 57, key.publicKeyText));
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", "Sie haben bereits die aktuellste Version!", Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_TRUE(called("remove " + updateFile));
  EXPECT_FALSE(renamedAnything());
}

TEST_F(InternetUpdate, AnOlderVersionIsOfferedAndDecliningKeepsTheProgram) {
  offerSigned(programFile(2, 4, 9, 1, key.publicKeyText));
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.4.9.1"), Answer::No);
  EXPECT_FALSE(update());
  EXPECT_TRUE(called("remove " + updateFile));
  EXPECT_FALSE(renamedAnything());
}

TEST_F(InternetUpdate, DecliningToStartFetchesNothing) {
  p.ui.expectMessage("Update Information", StartQuestion, Answer::No);
  EXPECT_FALSE(update());
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(p.system.calls.empty());
}

TEST_F(InternetUpdate, WithoutTheNetworkNothingIsAsked) {
  p.network.unavailable = true;
  p.ui.expectMessage("Update Fehler", "Fehler in Netzwerkverbindung!", Answer::Ok);
  EXPECT_FALSE(update());
}

TEST_F(InternetUpdate, AServerWithoutTheFileIsNoConnection) {
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Fehler", "Keine Verbindung zum Update Server!", Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_FALSE(p.files.status(updateFile).exists);
}

TEST_F(InternetUpdate, AProgramFolderTheUserCannotWriteIsSaidSoBeforeFetching) {
  p.system.readOnlyFolders.insert(p.folder.path());
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Fehler",
                     "Der Ordner des Programms ist schreibgeschützt:\r\ndas Update kann hier nicht installiert "
                     "werden.\r\n\r\nBitte aktualisieren Sie das Programm mit der Paketverwaltung."_w,
                     Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(InternetUpdate, AnUpdateFileThatIsNotTheMakersIsRefusedAndRemoved) {
  const std::string offered = programFile(2, 5, 0, 58, key.publicKeyText);
  std::string wrongBytes = minisign(key, offered + "x");
  std::string malformed = minisign(key, offered);
  malformed[60] = '*';
  std::string otherComment = minisign(key, offered);
  otherComment[otherComment.find("timestamp:") + 10] = '9';
  const struct {
    const char* name;
    std::vector<LocalServer::Step> signature;
  } cases[] = {
      {"no signature", {{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}}},
      {"of other bytes", {{served(wrongBytes)}}},
      {"by another key", {{served(minisign(makeSigningKey(), offered))}}},
      {"malformed", {{served(malformed)}}},
      {"trusted comment changed", {{served(otherComment)}}},
      {"signature too large", {{served(minisign(key, offered) + std::string(70000, '\n'))}}},
  };
  for (const auto& c : cases) {
    server.reply("/Lingotak.upd", {{served(offered)}});
    server.reply("/Lingotak.upd.minisig", c.signature);
    p.system.calls.clear();
    p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
    p.ui.expectMessage("Update Fehler", NotGenuine, Answer::Ok);
    EXPECT_FALSE(update()) << c.name;
    EXPECT_TRUE(called("remove " + updateFile)) << c.name;
    EXPECT_TRUE(called("remove " + updateFile + ".minisig")) << c.name;
    EXPECT_FALSE(renamedAnything()) << c.name;
  }
}

TEST_F(InternetUpdate, AProgramWithoutATrustedKeyTakesNoUpdate) {
  writeBytes(program, programFile(2, 5, 0, 57, std::string(UpdateKeyLength, '\0')));
  offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Fehler", NotGenuine, Answer::Ok);
  EXPECT_FALSE(update());
}

TEST_F(InternetUpdate, ASignedFileWithoutAVersionIsRefusedAndRemoved) {
  offerSigned("<html><body>Die Seite ist umgezogen.</body></html>");
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage(
      "Update Fehler",
      "Die Update Datei ist kein Programm mit Versionsangabe.\r\n\r\nDas Update wurde nicht installiert!", Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_TRUE(called("remove " + updateFile));
  EXPECT_FALSE(renamedAnything());
}

class Replacing : public InternetUpdate {
 protected:
  Replacing() {
    offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
    p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
    p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.5.0.58"), Answer::Yes);
  }
};

TEST_F(Replacing, ALeftoverFileStopsItBeforeTheProgramIsTouched) {
  p.system.regularFiles.insert(leftover);
  p.ui.expectMessage("Update Fehler", Failed, Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_FALSE(called("rename " + updateFile + " " + program));
}

TEST_F(Replacing, ANewFileThatCannotMovePutsTheOldOneBack) {
  p.system.stuckFiles.insert(updateFile);
  p.ui.expectMessage("Update Fehler", Failed, Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_EQ(p.system.calls.back(), "rename " + leftover + " " + program);
  EXPECT_TRUE(p.desktop.openedUrls.empty());
}

TEST_F(Replacing, WhenNeitherFileCanMoveTheHomepageIsOpened) {
  p.system.stuckFiles = {updateFile, leftover};
  p.ui.expectMessage(
      "Update Fehler",
      "die Programmdatei ist beim Update beschädigt worden!\r\nSie müssen das Programm neu laden!\r\n\r\n"
      "Die Home Page wird nun aufgerufen!"_w,
      Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_EQ(p.desktop.openedUrls, std::vector<std::string>{p.program.constants.homepageUrl});
}

}  // namespace
}  // namespace zl
