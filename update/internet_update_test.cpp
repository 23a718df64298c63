#include "update/internet_update.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

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
    writeBytes(program, running);
    ::chmod(program.c_str(), 0750);
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
  bool started() const {
    return std::any_of(p.system.calls.begin(), p.system.calls.end(),
                       [](const std::string& call) { return call.starts_with("start"); });
  }
  // The program folder holds the running program, untouched, and nothing
  // else.
  void expectUntouched(const std::string& why) {
    EXPECT_EQ(p.folder.names(), std::vector<std::string>{"zelvo-lingotak"}) << why;
    EXPECT_EQ(readBytes(program), running) << why;
    EXPECT_FALSE(started()) << why;
  }

  FakeProgram p;
  LocalServer server;
  SigningKey key = makeSigningKey();
  std::string program = p.folder / "zelvo-lingotak";
  std::string leftover = program + ".tmp";
  std::string running = programFile(2, 5, 0, 57, key.publicKeyText);
};

TEST_F(InternetUpdate, InstallsASignedNewVersionAndRestartsWithTheCurrentFile) {
  const std::string offered = programFile(2, 5, 0, 58, key.publicKeyText);
  offerSigned(offered);
  p.program.file.currentPath = "/home/anna/vokabeln/englisch.ltk";
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.5.0.58"), Answer::Yes);
  p.ui.expectMessage("Update Information",
                     "Das Update wurde erfolgreich installiert.\r\nDas Programm wird nun neu gestartet!", Answer::Ok);
  EXPECT_TRUE(update());
  EXPECT_EQ(p.system.calls, (std::vector<std::string>{
                                "program file in " + p.folder.path(),
                                "start " + program + " \"/home/anna/vokabeln/englisch.ltk\" in /home/anna/vokabeln/",
                            }));
  EXPECT_EQ(readBytes(program), offered);
  EXPECT_EQ(readBytes(leftover), running);
  EXPECT_EQ(p.folder.names(), (std::vector<std::string>{"zelvo-lingotak", "zelvo-lingotak.tmp"}));
  struct stat st {};
  ASSERT_EQ(::stat(program.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);  // the old program's permissions
  ASSERT_GE(p.ui.statusMessages().size(), 2u);
  EXPECT_EQ(p.ui.statusMessages()[0], "Update...");
  EXPECT_EQ(p.ui.statusMessages().back(), "Update 100 %");  // the download's progress, to its end
}

// Regression: another instance replaced the checked update file at its
// name while this one asked, and its unsigned bytes were installed.
TEST_F(InternetUpdate, WhatWasCheckedIsWhatIsInstalledWhateverAnotherInstanceWrites) {
  const std::string offered = programFile(2, 5, 0, 58, key.publicKeyText);
  offerSigned(offered);
  const std::string hostile = programFile(6, 6, 6, 6, key.publicKeyText);
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.5.0.58"), Answer::Yes, [&] {
    for (const char* name : {".upd", ".upd.minisig"}) writeBytes(program + name, hostile);
  });
  p.ui.expectMessage("Update Information",
                     "Das Update wurde erfolgreich installiert.\r\nDas Programm wird nun neu gestartet!", Answer::Ok);
  EXPECT_TRUE(update());
  EXPECT_EQ(readBytes(program), offered);
}

// Regression: the restart ran in a folder cut at a "\" of a file name, or
// in a folder that was gone, and was announced even when nothing started.
TEST_F(InternetUpdate, TheRestartRunsInTheFilesFolderOrThePrograms) {
  const std::string restarting = "Das Update wurde erfolgreich installiert.\r\nDas Programm wird nun neu gestartet!";
  const struct {
    const char* name;
    std::string file;
    int failingStarts;
    std::vector<std::string> folders;  // of the starts tried
    std::string message;
  } cases[] = {
      {"a backslash in a name", "/home/anna/a\\b.ltk", 0, {"/home/anna/"}, restarting},
      {"no file", "", 0, {""}, restarting},
      {"the file's folder gone", "/home/anna/weg/englisch.ltk", 1, {"/home/anna/weg/", p.folder.path()}, restarting},
      {"no start at all",
       "/home/anna/englisch.ltk",
       2,
       {"/home/anna/", p.folder.path()},
       "Das Update wurde erfolgreich installiert.\r\nBitte starten Sie das Programm neu!"},
  };
  for (const auto& c : cases) {
    writeBytes(program, running);
    std::filesystem::remove(leftover);
    offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
    p.program.file.currentPath = c.file;
    p.system.calls.clear();
    p.system.failingStarts = c.failingStarts;
    p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
    p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.5.0.58"), Answer::Yes);
    p.ui.expectMessage("Update Information", c.message, Answer::Ok);
    EXPECT_EQ(update(), c.failingStarts < 2) << c.name;  // without a new program this one keeps running
    std::vector<std::string> starts;
    for (const std::string& folder : c.folders)
      starts.push_back("start " + program + " \"" + c.file + "\" in " + folder);
    EXPECT_EQ(std::vector<std::string>(p.system.calls.begin() + 1, p.system.calls.end()), starts) << c.name;
    p.program.quitRequested = false;
  }
}

TEST_F(InternetUpdate, OnlyANewerVersionIsOffered) {
  const struct {
    std::uint16_t a, b, c, d;
    std::string title, message;
  } cases[] = {
      {2, 5, 0, 57, "Update Information", "Sie haben bereits die aktuellste Version!"},
      {2, 4, 9, 1, "Update Fehler",
       "Die Update Datei ist älter als das laufende Programm!\r\n\r\n"_w +
           "Lokale Dateiversion:\t2.5.0.57\t\r\n"
           "Update Dateiversion:\t2.4.9.1\r\n\r\nDas Update wurde nicht installiert!"},
      {2, 5, 0, 9, "Update Fehler",  // by number, not by text
       "Die Update Datei ist älter als das laufende Programm!\r\n\r\n"_w +
           "Lokale Dateiversion:\t2.5.0.57\t\r\n"
           "Update Dateiversion:\t2.5.0.9\r\n\r\nDas Update wurde nicht installiert!"},
  };
  for (const auto& c : cases) {
    offerSigned(programFile(c.a, c.b, c.c, c.d, key.publicKeyText));
    p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
    p.ui.expectMessage(c.title, c.message, Answer::Ok);
    EXPECT_FALSE(update());
    expectUntouched(c.message);
  }
}

TEST_F(InternetUpdate, DecliningTheInstallationKeepsTheProgram) {
  offerSigned(programFile(2, 6, 0, 0, key.publicKeyText));
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Information", installQuestion("2.5.0.57", "2.6.0.0"), Answer::No);
  EXPECT_FALSE(update());
  expectUntouched("declined");
}

// Regression: the window froze for the whole download, and the close
// button or an end signal waited until it was over.
TEST_F(InternetUpdate, AnEndRequestedDuringTheDownloadStopsItSilently) {
  offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
  p.ui.endRequestedAtPoll = 0;
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  EXPECT_FALSE(update());  // the window's close follows once the command has returned
  EXPECT_EQ(p.ui.polls, 1);
  expectUntouched("stopped");
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

// Regression: every failed download, also a full disk or a folder that
// takes no new file, said "Keine Verbindung zum Update Server!".
TEST_F(InternetUpdate, AFailedDownloadSaysWhatHappenedAndWhatToDo) {
  const std::string offered = programFile(2, 5, 0, 58, key.publicKeyText);
  const std::string later = "\r\n\r\nBitte versuchen Sie es später noch einmal."_w;
  const std::string cutShort =
      "Die Verbindung zum Update Server wurde unterbrochen:\r\ndie Update Datei ist nicht vollständig angekommen!"_w +
      later;
  const struct {
    const char* name;
    std::string url;  // of the update file, when not the test server's
    std::vector<LocalServer::Step> file, signature;
    std::function<void(FakeSystem&)> fault;
    std::string message;
  } cases[] = {
      {"nobody listens", "http://127.0.0.1:1/Lingotak.upd", {}, {}, {}, "Keine Verbindung zum Update Server!"},
      {"not there",
       "",
       {{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}},
       {},
       {},
       "Der Update Server hat die Update Datei nicht geliefert!"_w + later},
      {"cut short", "", {{"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nELF"}}, {}, {}, cutShort},
      {"signature cut short",
       "",
       {{served(offered)}},
       {{"HTTP/1.1 200 OK\r\nContent-Length: 300\r\n\r\nuntrusted comment:"}},
       {},
       cutShort},
      {"too large",
       "",
       {{"HTTP/1.1 200 OK\r\nContent-Length: 5000000000\r\n\r\n"}},
       {},
       {},
       "Die Update Datei ist zu groß!"_w + later},
      {"disk full",
       "",
       {{served(offered)}},
       {},
       [](FakeSystem& s) { s.programFileRoom = 100; },
       "Der Datenträger des Programms ist voll:\r\ndie Update Datei hat keinen Platz!\r\n\r\n"
       "Bitte schaffen Sie freien Speicherplatz\r\nund versuchen Sie es noch einmal."_w},
      {"no new file in the folder",
       "",
       {{served(offered)}},
       {},
       [](FakeSystem& s) { s.noProgramFile = true; },
       "Die Update Datei kann im Ordner des Programms\r\nnicht gespeichert werden!\r\n\r\n"
       "Bitte laden Sie die neue Version von der Home Page."},
  };
  for (const auto& c : cases) {
    p.program.constants.updateUrl = c.url.empty() ? server.url("/Lingotak.upd") : c.url;
    server.reply("/Lingotak.upd", c.file);
    server.reply("/Lingotak.upd.minisig", c.signature);
    p.system.noProgramFile = false;
    p.system.programFileRoom = -1;
    if (c.fault) c.fault(p.system);
    p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
    p.ui.expectMessage("Update Fehler", c.message, Answer::Ok);
    EXPECT_FALSE(update()) << c.name;
    expectUntouched(c.name);
  }
}

TEST_F(InternetUpdate, AProgramFolderTheUserCannotWriteIsSaidSoBeforeFetching) {
  p.files.readOnlyFolders.insert(p.folder.path());
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
    expectUntouched(c.name);
  }
}

// Regression: a build without a key fetched the whole update file and then
// called it "nicht echt".
TEST_F(InternetUpdate, AProgramWithoutAKeySaysSoBeforeAskingOrFetching) {
  writeBytes(program, programFile(2, 5, 0, 57, std::string(UpdateKeyLength, '\0')));
  offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
  p.ui.expectMessage("Update Fehler",
                     "Diese Programmversion enthält keinen Update Schlüssel:\r\nUpdates können nicht geprüft "
                     "werden.\r\n\r\nBitte laden Sie neue Versionen von der Home Page."_w,
                     Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(p.system.calls.empty());
}

// Regression: after the program's file was replaced on disk (a package
// upgrade) while the program ran, the update read the new file's key, and
// said the program had none.
TEST_F(InternetUpdate, AProgramFileReplacedWhileRunningSaysSoBeforeAskingOrFetching) {
  p.system.programReplaced = true;
  offerSigned(programFile(2, 5, 0, 58, key.publicKeyText));
  p.ui.expectMessage("Update Information",
                     "Die Programmdatei wurde ersetzt, während das Programm lief\r\n(zum Beispiel von der "
                     "Paketverwaltung).\r\n\r\nBitte beenden Sie das Programm und starten Sie es neu."_w,
                     Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_TRUE(server.requests().empty());
  expectUntouched("replaced");
}

// Regression: a signed update sent without a length and with a pause was
// cut at the pause, and then called forged.
TEST_F(InternetUpdate, AnUpdateCutShortByAPauseIsCalledIncompleteNotForged) {
  const std::string offered = programFile(2, 5, 0, 58, key.publicKeyText);
  const std::size_t half = offered.size() / 2;
  server.reply("/Lingotak.upd",
               {{"HTTP/1.1 200 OK\r\n\r\n" + offered.substr(0, half), 1, 2500}, {offered.substr(half)}});
  server.reply("/Lingotak.upd.minisig", {{served(minisign(key, offered))}});
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage("Update Fehler",
                     "Der Update Server hat beim Senden eine zu lange Pause gemacht:\r\ndie Update Datei ist nicht "
                     "vollständig angekommen!\r\n\r\nBitte versuchen Sie es später noch einmal."_w,
                     Answer::Ok);
  EXPECT_FALSE(update());
  expectUntouched("paused");
}

TEST_F(InternetUpdate, ASignedFileWithoutAVersionIsRefusedAndRemoved) {
  offerSigned("<html><body>Die Seite ist umgezogen.</body></html>");
  p.ui.expectMessage("Update Information", StartQuestion, Answer::Yes);
  p.ui.expectMessage(
      "Update Fehler",
      "Die Update Datei ist kein Programm mit Versionsangabe.\r\n\r\nDas Update wurde nicht installiert!", Answer::Ok);
  EXPECT_FALSE(update());
  expectUntouched("no version");
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
  writeBytes(leftover, "older");
  p.ui.expectMessage("Update Fehler", Failed, Answer::Ok);
  EXPECT_FALSE(update());
  EXPECT_EQ(readBytes(program), running);
  EXPECT_EQ(readBytes(leftover), "older");
  EXPECT_EQ(p.folder.names(), (std::vector<std::string>{"zelvo-lingotak", "zelvo-lingotak.tmp"}));
}

}  // namespace
}  // namespace zl
