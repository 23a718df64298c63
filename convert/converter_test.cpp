#include "convert/converter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>

#include "store/file_format.h"
#include "test_support/converter_fixture.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

namespace fs = std::filesystem;

TEST_F(Converter, WrongUsageIsExplainedWithStatusTwo) {
  writeBytes(path("in.csv"), "a;b\r\n");
  const struct {
    std::vector<std::string> arguments;
    const char* said;
  } cases[] = {
      {{}, "Aufruf:"},
      {{path("in.csv")}, "Aufruf:"},
      {{path("in.csv"), path("a.ltk"), path("b.ltk")}, "Aufruf:"},
      {{"--frobnicate", path("in.csv"), path("out.ltk")}, "Unbekannte Option: --frobnicate"},
      {{"--force=yes", path("in.csv"), path("out.ltk")}, "Unbekannte Option: --force=yes"},
      {{path("in.csv"), path("out.xlsx")}, "Endung von"},
      {{"--to", "xlsx", path("in.csv"), path("out")}, "Unbekanntes Format: xlsx"},
      {{path("in.csv"), path("out.ltk"), "--columns"}, "braucht einen Wert"},
      {{"--columns", "2,2", path("in.csv"), path("out.ltk")}, "--columns erwartet"},
      {{"--columns=0,1", path("in.csv"), path("out.ltk")}, "--columns erwartet"},
      {{"--languages", "en", path("in.csv"), path("out.ltk")}, "--languages erwartet"},
      {{"--open", path("in.csv"), path("out.ltk")}, "Aufruf:"},
      {{"--fields", "Front", path("in.csv"), path("out.ltk")}, "--fields erwartet"},
      {{"--fields=a,a", path("in.csv"), path("out.ltk")}, "--fields erwartet"},
      {{"--deck=", path("in.csv"), path("out.ltk")}, "--deck erwartet"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.arguments), 2) << c.said;
    EXPECT_NE(printed.error.find(c.said), std::string::npos) << printed.error;
  }
  EXPECT_EQ(folder.names(), std::vector<std::string>{"in.csv"});
  EXPECT_EQ(run({"-h"}), 0);
  EXPECT_NE(printed.out.find("--replace-unmappable"), std::string::npos);
}

TEST_F(Converter, TheTrainersFilesComeBackByteForByteThroughCsvTsvAnkiAndKvtml) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    for (const char* format : {"csv", "tsv", "txt", "kvtml"}) {
      const std::string original = trainerFile(seed, 200, std::string(format) == "kvtml");
      writeBytes(path("original.ltk"), original);
      const std::string there = path(std::string("there.") + format), back = path("back.LTK");
      ASSERT_EQ(run({path("original.ltk"), there}), 0) << printed.error;
      ASSERT_EQ(run({there, back}), 0) << printed.error;
      EXPECT_EQ(printed.out, back + ": 200 Paare geschrieben, 0 Einträge übersprungen, 0 Zeichen ersetzt.\n");
      EXPECT_TRUE(readBytes(back) == original) << format << " " << seed;
      fs::remove(there);
      fs::remove(back);
    }
  }
}

// The pairs of a vocabulary file, its line ends written as "|".
std::string pairsOf(const std::string& ltk) {
  std::string shown;
  for (std::size_t i = 0; i < ltk.size(); ++i) {
    const bool lineEnd = ltk.compare(i, 2, "\r\n") == 0;
    shown += lineEnd ? '|' : ltk[i];
    i += lineEnd;
  }
  return shown;
}

TEST_F(Converter, EveryKindOfInputFileBecomesTheTrainersPairs) {
  const struct {
    const char* fixture;
    std::vector<std::string> options;
    const char* pairs;
  } cases[] = {
      {"excel-semicolon-cp1252.csv",
       {"--header"},
       "Stra\xDF"
       "e|street|2|0|M\xFCnze|coin|0|1|1,50 \x80|1.50 euros|3|3|"},
      {"libreoffice-utf8-bom.csv", {}, "T\xFCr|door|0|0|Haus, das|house|0|0|\x80|euro|0|0|"},
      {"anki-export-html.txt", {}, "Haus & Hof|house <1>\x80|0|0|"},
      {"quoted-line-breaks.csv", {}, "two lines|say \"hi\"|0|0|"},
      {"utf16.tsv", {}, "Haus|house|0|0|"},
      // Counts summed over both languages' grades, 65539 - 2 right kept as 16 bits.
      {"three-languages.kvtml",
       {"--languages", "2,1"},
       "maison|house|3|9|porte|door|0|0|prix en \x80|price in \x80|1|2|"},
      {"version1.kvtml", {}, "Hund|dog|0|0|Katze|cat|0|0|"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.push_back(std::string(ZL_CONVERT_TESTDATA) + "/" + c.fixture);
    arguments.push_back(path("out.ltk"));
    ASSERT_EQ(run(arguments), 0) << c.fixture << ": " << printed.error;
    EXPECT_EQ(pairsOf(readBytes(path("out.ltk"))), c.pairs) << c.fixture;
    fs::remove(path("out.ltk"));
  }
}

TEST_F(Converter, TheInputsKindIsTakenFromItsContentNotItsName) {
  const struct {
    const char* content;
    const char* pairs;  // as the vocabulary file holds them
  } cases[] = {
      {"house\r\nHaus\r\n3\r\n1\r\nT\xFCr\r\ndoor\r\n0\r\n-2\r\n",
       "house\r\nHaus\r\n3\r\n1\r\nT\xFCr\r\ndoor\r\n0\r\n-2\r\n"},
      {"house;Haus\r\nT\xFCr;door\r\n", "house\r\nHaus\r\n0\r\n0\r\nT\xFCr\r\ndoor\r\n0\r\n0\r\n"},
      {"house\tHaus\t2\t1\n", "house\r\nHaus\r\n2\r\n1\r\n"},
      {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/>"
       "<identifier id=\"1\"/></identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>house</text>"
       "</translation><translation id=\"1\"><text>Haus</text></translation></entry></entries></kvtml>",
       "house\r\nHaus\r\n0\r\n0\r\n"},
  };
  for (const auto& c : cases) {
    writeBytes(path("list.csv"), c.content);  // the name says CSV whatever it holds
    ASSERT_EQ(run({path("list.csv"), path("out.ltk")}), 0) << printed.error;
    EXPECT_EQ(readBytes(path("out.ltk")), c.pairs) << c.content;
    fs::remove(path("out.ltk"));
  }
}

TEST_F(Converter, NothingIsOverwrittenWithoutForceAndTheInputNever) {
  writeBytes(path("in.csv"), "house;Haus\r\n");
  writeBytes(path("out.ltk"), "kept");
  EXPECT_EQ(run({path("in.csv"), path("out.ltk")}), 1);
  EXPECT_NE(printed.error.find("gibt es schon. Mit --force"), std::string::npos);
  EXPECT_EQ(readBytes(path("out.ltk")), "kept");

  EXPECT_EQ(run({"--force", path("in.csv"), path("out.ltk")}), 0);
  EXPECT_EQ(readBytes(path("out.ltk")), "house\r\nHaus\r\n0\r\n0\r\n");

  ASSERT_EQ(::link(path("in.csv").c_str(), path("same.csv").c_str()), 0);
  for (const std::string& output : {path("in.csv"), path("same.csv")}) {
    EXPECT_EQ(run({"--force", "--to", "csv", path("in.csv"), output}), 1);
    EXPECT_NE(printed.error.find("ist die Eingabedatei selbst"), std::string::npos);
  }
  EXPECT_EQ(readBytes(path("in.csv")), "house;Haus\r\n");
}

TEST_F(Converter, FailuresNameTheFileTheirCauseAndLeaveNoOutput) {
  writeBytes(path("in.csv"), "house;Haus\r\ndoor;T\xC3\xBCr\r\n");
  writeBytes(path("oneword.csv"), "house\r\n");
  writeBytes(path("taken.ltk"), "kept");
  fs::create_directory(path("folder"));
  fs::create_directory(path("folder.ltk"));
  const struct {
    const char* input;
    const char* output;
    std::function<void()> fault;  // the file system's, for this case only
    std::string message;          // the start of what is said
  } cases[] = {
      {"missing.csv", "out.ltk", {}, path("missing.csv") + ": Diese Datei gibt es nicht. Bitte"},
      {"folder", "out.ltk", {}, path("folder") + " ist ein Ordner, keine Datei."},
      {"in.csv", "out.ltk", [&] { files.failReads = true; }, path("in.csv") + ": Keine Berechtigung, die Datei"},
      {"in.csv/x", "out.ltk", {}, path("in.csv/x") + ": Ein Teil des Pfades ist kein Ordner."},
      {"in.csv",
       "nowhere/out.ltk",
       {},
       path("nowhere/out.ltk") + " kann nicht geschrieben werden: Den Ordner " + path("nowhere/") + " gibt es nicht."},
      {"in.csv", "folder.ltk", {}, path("folder.ltk") + " ist ein Ordner. Bitte einen Dateinamen angeben."},
      {"in.csv", "taken.ltk", {}, path("taken.ltk") + " gibt es schon. Mit --force"},
      {"in.csv", "full.ltk", [&] { files.bytesBeforeDiskFull = 10; },
       "Der Datenträger ist voll: " + path("full.ltk") + " wurde nicht geschrieben. Bitte Platz schaffen"},
      {"in.csv", "out.ltk", [&] { files.failSync = true; },
       path("out.ltk") + " kann nicht geschrieben werden: Der Datenträger meldet einen Fehler."},
      {"in.csv", "out.ltk", [&] { files.newFilesRefused = EACCES; },
       path("out.ltk") + " kann nicht geschrieben werden: Keine Berechtigung, im Ordner " + path("")},
      {"in.csv", "out.ltk", [&] { files.newFilesRefused = EROFS; },
       path("out.ltk") + " kann nicht geschrieben werden: Der Datenträger ist schreibgeschützt."},
      {"in.csv", "out.ltk", [&] { files.newFilesRefused = EOPNOTSUPP; },
       path("out.ltk") + " kann nicht geschrieben werden: Das Dateisystem dort kann nicht,"},
      {"in.csv", "out.ltk", [&] { files.newFilesRefused = ENAMETOOLONG; },
       path("out.ltk") + " kann nicht geschrieben werden (Systemfehler ENAMETOOLONG)."},
  };
  for (const auto& c : cases) {
    files.failReads = files.failSync = false;
    files.bytesBeforeDiskFull = -1;
    files.newFilesRefused = 0;
    if (c.fault) c.fault();
    EXPECT_EQ(run({path(c.input), path(c.output)}), 1) << c.message;
    EXPECT_EQ(printed.error.rfind("zelvo-lingotak-convert: " + c.message, 0), 0u) << printed.error;
  }
  files.failSync = false;
  files.newFilesRefused = 0;
  files.outOfMemory = true;
  EXPECT_EQ(run({path("in.csv"), path("out.ltk")}), 1);
  EXPECT_NE(printed.error.find("Der Arbeitsspeicher reicht nicht, um " + path("in.csv")), std::string::npos);
  files.outOfMemory = false;
  EXPECT_EQ(run({path("oneword.csv"), path("out.ltk")}), 1);
  EXPECT_NE(printed.error.find(path("oneword.csv") + ": "), std::string::npos);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"folder", "folder.ltk", "in.csv", "oneword.csv", "taken.ltk"}));
  EXPECT_EQ(readBytes(path("taken.ltk")), "kept");
}

TEST_F(Converter, UnmappableCharactersStopTheConversionUnlessTheyMayBeReplaced) {
  writeBytes(path("in.csv"),
             "house;Haus\r\n\xC5\x82\xC3\xB3"
             "d\xC5\xBA;boat\r\n");  // łódź
  EXPECT_EQ(run({path("in.csv"), path("out.ltk")}), 1);
  EXPECT_NE(printed.error.find(path("in.csv") + ": 2 Zeichen passen nicht"), std::string::npos) << printed.error;
  EXPECT_NE(printed.error.find("Zeile 2: „ł“ (U+0142)"), std::string::npos) << printed.error;
  EXPECT_NE(printed.error.find("Zeile 2: „ź“ (U+017A)"), std::string::npos) << printed.error;
  EXPECT_NE(printed.error.find("Es wurde nichts geschrieben."), std::string::npos);
  EXPECT_FALSE(fs::exists(path("out.ltk")));

  EXPECT_EQ(run({"--replace-unmappable", path("in.csv"), path("out.ltk")}), 0);
  EXPECT_EQ(printed.out, path("out.ltk") + ": 2 Paare geschrieben, 0 Einträge übersprungen, 2 Zeichen ersetzt.\n");
  EXPECT_EQ(readBytes(path("out.ltk")),
            "house\r\nHaus\r\n0\r\n0\r\nl\xF3"
            "dz\r\nboat\r\n0\r\n0\r\n");
}

// Regression: the letters of an entry that was skipped anyway (its second
// text empty) stopped the conversion, or counted as replaced; and one pair
// read "1 Paare".
TEST_F(Converter, AnEntrySkippedAnywayNeitherStopsNorCountsAndOneIsSingular) {
  writeBytes(path("in.csv"),
             "house;Haus\r\n\xC5\x82\xC3\xB3"
             "d\xC5\xBA;\r\n");  // łódź without a translation
  for (const bool replacing : {false, true}) {
    std::vector<std::string> arguments = {path("in.csv"), path("out.ltk"), "--force"};
    if (replacing) arguments.push_back("--replace-unmappable");
    EXPECT_EQ(run(arguments), 0) << printed.error;
    EXPECT_EQ(printed.out, path("out.ltk") + ": 1 Paar geschrieben, 1 Eintrag übersprungen, 0 Zeichen ersetzt.\n");
    EXPECT_EQ(readBytes(path("out.ltk")), "house\r\nHaus\r\n0\r\n0\r\n");
  }
}

// Regression: a CSV export opened by a double click in a German spreadsheet
// read "StraÃŸe" and one column: it was UTF-8 without a byte-order mark,
// with commas.
TEST_F(Converter, CsvIsWrittenAsGermanSpreadsheetsWriteIt) {
  writeBytes(path("in.ltk"),
             "Stra\xDF"
             "e\r\nstreet; road\r\n3\r\n1\r\n");
  const struct {
    std::vector<std::string> options;
    std::string written;
  } cases[] = {
      {{},
       "\xEF\xBB\xBFStra\xC3\x9F"
       "e;\"street; road\";3;1\r\n"},
      {{"--delimiter", ","},
       "\xEF\xBB\xBFStra\xC3\x9F"
       "e,\"street; road\",3,1\r\n"},
      {{"--delimiter=;"},
       "\xEF\xBB\xBFStra\xC3\x9F"
       "e;\"street; road\";3;1\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"--force", path("in.ltk"), path("out.csv")});
    ASSERT_EQ(run(arguments), 0) << printed.error;
    EXPECT_EQ(readBytes(path("out.csv")), c.written);
    ASSERT_EQ(run({"--force", path("out.csv"), path("back.ltk")}), 0) << printed.error;
    EXPECT_EQ(readBytes(path("back.ltk")), readBytes(path("in.ltk")));
  }
  EXPECT_EQ(run({"--delimiter", "|", path("in.ltk"), path("x.csv")}), 2);
  EXPECT_NE(printed.error.find("--delimiter erwartet ; oder ,"), std::string::npos);
}

// The bytes of a literal, NUL bytes and all.
template <std::size_t N>
std::string bytesOf(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// Regression: a zip (an Anki package) or a program was read as
// Windows-1252 text, and its garbage written as pairs with status 0.
TEST_F(Converter, WhatIsNotTextIsRefusedAndNothingWritten) {
  const struct {
    const char* name;
    std::string bytes;
    const char* said;  // "" when it is text after all
  } cases[] = {
      {"deck.apkg", bytesOf("PK\x03\x04\x14\0\0\0collection.anki2"), "ein ZIP-Archiv"},
      {"list.pdf", "%PDF-1.7\n1 0 obj;house;Haus\n", "ein PDF-Dokument"},
      {"program",
       bytesOf("\x7f"
               "ELF\x02\x01\x01;a;b\n"),
       "ein Programm"},
      {"nul.csv", bytesOf("house;Haus\n\0\0door;T\xC3\xBCr\n"), "Binärdaten"},
      {"controls.csv", "a;b\x01\x02\x03\x04\x05\x06\x07\x08\n", "Binärdaten"},
      {"utf16.csv", bytesOf("\xff\xfeh\0;\0H\0\n\0"), ""},
      {"nul-ends.ltk",
       bytesOf("house\0Haus\0"
               "0\0"
               "0\0"),
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeBytes(path(c.name), c.bytes);
    const bool text = *c.said == '\0';
    EXPECT_EQ(run({path(c.name), path("out.csv"), "--force"}), text ? 0 : 1);
    if (!text) {
      EXPECT_NE(printed.error.find(path(c.name) + ": Die Datei "), std::string::npos) << printed.error;
      EXPECT_NE(printed.error.find(c.said), std::string::npos) << printed.error;
      EXPECT_NE(printed.error.find("Es wurde nichts geschrieben."), std::string::npos) << printed.error;
      EXPECT_FALSE(fs::exists(path("out.csv")));
    }
    fs::remove(path("out.csv"));
  }
}

TEST_F(Converter, MoreThanTheTrainerTakesIsWrittenAndWarnedAbout) {
  std::string many;
  for (int i = 0; i <= MaxEntries; ++i) many += "w" + std::to_string(i) + "\tx\n";
  writeBytes(path("many.tsv"), many);
  EXPECT_EQ(run({path("many.tsv"), path("many.ltk")}), 0);
  EXPECT_NE(printed.error.find("Warnung: " + path("many.ltk") + " enthält 30001 Paare."), std::string::npos);
  EXPECT_EQ(run({path("many.ltk"), path("many.csv")}), 0);
  EXPECT_EQ(printed.error, "");
}

TEST_F(Converter, OpenWithMakesANewVocabularyFileAndStartsTheTrainerWithIt) {
  const std::string lists = path("Listen/");
  fs::create_directories(lists);
  writeBytes(lists + "Kapitel 1.csv", "house;Haus\r\n");
  writeBytes(lists + "Kapitel 1.ltk", "older");
  writeBytes(lists + "Kapitel 1 (2).ltk", "older");
  system.executable = "/opt/zelvo/zelvo-lingotak-convert";
  EXPECT_EQ(run({"--open", lists + "Kapitel 1.csv"}), 0);
  EXPECT_EQ(readBytes(lists + "Kapitel 1 (3).ltk"), "house\r\nHaus\r\n0\r\n0\r\n");
  EXPECT_EQ(readBytes(lists + "Kapitel 1.ltk"), "older");
  EXPECT_EQ(system.calls,
            std::vector<std::string>{"start /opt/zelvo/zelvo-lingotak \"" + lists + "Kapitel 1 (3).ltk\" in " + lists});
  EXPECT_TRUE(dialogs.shown.empty());

  // A folder the user cannot write: the documents folder takes the file.
  files.readOnlyFolders.insert(lists);
  const std::string documents = desktop.folders().documents;
  fs::create_directories(documents);
  EXPECT_EQ(run({"--open", lists + "Kapitel 1.csv"}), 0);
  EXPECT_EQ(readBytes(documents + "/Kapitel 1.ltk"), "house\r\nHaus\r\n0\r\n0\r\n");
}

TEST_F(Converter, OpenWithAsksBeforeReplacingAndShowsWhatWentWrong) {
  writeBytes(path("polnisch.csv"),
             "\xC5\x82\xC3\xB3"
             "d\xC5\xBA;Boot\r\n");
  dialogs.answers = {false, true};
  EXPECT_EQ(run({"--open", path("polnisch.csv")}), 1);
  EXPECT_EQ(folder.names(), std::vector<std::string>{"polnisch.csv"});
  EXPECT_EQ(run({"--open", path("polnisch.csv")}), 0);
  EXPECT_EQ(readBytes(path("polnisch.ltk")),
            "l\xF3"
            "dz\r\nBoot\r\n0\r\n0\r\n");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_NE(dialogs.shown[0].find("Zeile 1: „ł“ (U+0142)"), std::string::npos) << dialogs.shown[0];

  dialogs.shown.clear();
  writeBytes(path("leer.csv"), "");
  EXPECT_EQ(run({"--open", path("leer.csv")}), 1);
  system.failingStarts = 1;
  EXPECT_EQ(run({"--open", path("polnisch.ltk")}), 1);  // a vocabulary file is copied, but nothing starts
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_NE(dialogs.shown[0].find(path("leer.csv") + ": "), std::string::npos) << dialogs.shown[0];
  EXPECT_EQ(dialogs.shown[1], "Die Vokabeln stehen jetzt in " + path("polnisch (2).ltk") +
                                  ",\naber der Vokabeltrainer konnte nicht gestartet werden.");
  EXPECT_TRUE(printed.out.empty() && printed.error.empty());
}

}  // namespace
}  // namespace zl
