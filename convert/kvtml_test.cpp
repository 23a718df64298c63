#include "convert/kvtml.h"

#include <gtest/gtest.h>

#include <random>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

struct Pair {
  std::string vocabulary;
  std::string translation;
  int right = 0;
  int wrong = 0;
  bool operator==(const Pair&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pair& pair) {
  return out << '"' << pair.vocabulary << "\" \"" << pair.translation << "\" " << pair.right << ' ' << pair.wrong;
}

struct Read {
  bool ok = false;
  std::vector<Pair> pairs;
  std::int64_t skipped = 0;
  ReadFailure failure;
};

Read read(std::string_view bytes, const KvtmlOptions& options = {}) {
  UnmappableReport report(false);
  PairBuilder builder(report, bytes.size());
  Read result;
  result.ok = readKvtml(bytes, options, builder, result.failure);
  result.skipped = builder.skipped();
  VocabList list;
  builder.moveInto(list);
  for (std::int64_t i = 0; i < list.size(); ++i)
    result.pairs.push_back(
        {std::string(list[i].vocabulary), std::string(list[i].translation), list[i].correctCount, list[i].wrongCount});
  return result;
}

std::string fixture(const std::string& name) { return readBytes(std::string(ZL_CONVERT_TESTDATA) + "/" + name); }

TEST(Kvtml, FixturesGiveThePairsOfTheChosenLanguagesWithTheCountsOfTheirGrades) {
  struct Case {
    std::string file;
    KvtmlOptions options;
    std::vector<Pair> pairs;
    std::int64_t skipped;
  } cases[] = {
      // Nested texts (comparison, conjugation), a second translation of a
      // language and the lessons' entry references are not read; the
      // counts are the low 16 bits of the grades' sums.
      {"three-languages.kvtml",
       {},
       {{"Haus", "house", 5, 3},
        {"  T\xFCr & Tor  ", "door", 4, 0},
        {"Preis in \x80", "price in \x80", 1, 2},
        {"kleiner <", "less than <", 0, 0}},
       1},
      {"three-languages.kvtml",
       {"2", "1"},
       {{"maison", "house", 3, 9}, {"porte", "door", 0, 0}, {"prix en \x80", "price in \x80", 1, 2}},
       2},
      {"three-languages.kvtml",
       {"0", "2"},
       {{"Haus", "maison", 2, 8},
        {"  T\xFCr & Tor  ", "porte", 4, 0},
        {"gehen", "aller", 0, 0},
        {"Preis in \x80", "prix en \x80", 0, 0}},
       1},
      {"version1.kvtml", {}, {{"Hund", "dog", 0, 0}, {"Katze", "cat", 0, 0}}, 1},
      {"version1.kvtml", {"2", "0"}, {{"chien", "Hund", 0, 0}}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + " " + c.options.firstLanguage + "," + c.options.secondLanguage);
    const Read result = read(fixture(c.file), c.options);
    ASSERT_TRUE(result.ok) << result.failure.reason;
    EXPECT_EQ(result.pairs, c.pairs);
    EXPECT_EQ(result.skipped, c.skipped);
  }
}

std::string document(std::string_view entries, std::string_view doctype = "") {
  return std::string("<?xml version=\"1.0\"?>\n") + std::string(doctype) +
         "<kvtml version=\"2.0\">\n<identifiers><identifier id=\"0\"/><identifier id=\"1\"/></identifiers>\n"
         "<entries>\n" +
         std::string(entries) + "</entries>\n</kvtml>\n";
}

TEST(Kvtml, DocumentsThatCannotBeReadSafelyOrFullyAreRefusedWithTheLine) {
  const std::string bomb =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n<!ENTITY a \"aaaaaaaaaa\">\n"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n]>\n"
      "<kvtml version=\"2.0\"><entries><entry><translation id=\"0\"><text>&c;</text></translation></entry></entries>"
      "</kvtml>";
  const std::string external =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n  <!ENTITY x SYSTEM \"file:///etc/passwd\">\n]>\n"
      "<kvtml version=\"2.0\"><entries><entry><translation id=\"0\"><text>&x;</text></translation></entry>"
      "</entries></kvtml>";
  const std::string parameter =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n<!ENTITY % p SYSTEM \"http://127.0.0.1:1/p.dtd\">\n%p;\n]>\n"
      "<kvtml/>";
  const std::string withDtd = "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n";
  const std::string entities = "Die Datei deklariert eigene Entitäten";
  const std::string whole = document("<entry>\n");
  const std::string cutOff = whole.substr(0, whole.find("</entries>"));
  const struct Case {
    std::string bytes;
    KvtmlOptions options;
    std::string reason;  // the start of it
    std::int64_t line;
  } cases[] = {
      {bomb, {}, entities, 3},
      {external, {}, entities, 3},
      {parameter, {}, entities, 3},
      {document("<entry><translation id=\"0\"><text>&nbsp;</text></translation></entry>\n", withDtd),
       {},
       "Die Datei verwendet die nicht deklarierte Entität „&nbsp;“",
       6},
      {document("<entry>\n"), {}, "Die Datei ist kein gültiges XML-Dokument (schließendes Element", 6},
      {cutOff, {}, "Die Datei ist kein gültiges XML-Dokument (nicht geschlossenes", 6},
      {"Haus;house\nTür;door\n", {}, "Die Datei ist kein gültiges XML-Dokument", 1},
      {"", {}, "Die Datei ist kein gültiges XML-Dokument (kein Element)", 1},
      {"<?xml version=\"1.0\"?>\n<html><body/></html>", {}, "Die Datei ist kein KVTML-Dokument", 2},
      {document(""), {"0", "7"}, "Die Datei hat keine Sprache mit der Kennung „7“ (vorhanden: 0 („“), 1 („“))", 4},
      {"<kvtml version=\"2.0\">\n<identifiers><identifier id=\"0\"/></identifiers>\n<entries/></kvtml>",
       {},
       "Die Datei nennt keine zwei Sprachen.",
       3},
      {"<kvtml version=\"2.0\">\n<identifiers><identifier id=\"0\"/></identifiers>\n</kvtml>",
       {"", "3"},
       "Die Datei hat keine Sprache mit der Kennung „3“",
       3},  // checked without entries too
      {"<kvtml>\n<e><o>Hund</o><t>dog</t></e>\n</kvtml>",
       {"0", "2"},
       "Die Datei hat keine Sprache mit der Kennung „2“ (vorhanden: 0 bis 1)",
       3},
      {"<kvtml>\n<e><o>Hund</o><t>dog</t></e>\n</kvtml>",
       {"o", "1"},
       "Die Datei hat keine Sprache mit der Kennung „o“",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const Read result = read(c.bytes, c.options);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.reason.substr(0, c.reason.size()), c.reason);
    EXPECT_EQ(result.failure.place.kind, TextPlace::Line);
    EXPECT_EQ(result.failure.place.number, c.line);
  }
}

std::string utf16le(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) bytes += {c, '\0'};
  return bytes;
}

TEST(Kvtml, DeclaredEncodingsAreReadAndTheRootIsFoundBehindWhatMayPrecedeIt) {
  const std::string entry =
      "<entry><translation id=\"0\"><text>T\xFCr</text></translation>"
      "<translation id=\"1\"><text>\x80</text></translation></entry>";
  const std::string kvtml1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + document(entry).substr(22);
  const std::string kvtmlLatin1 =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<kvtml>\n<e><o>T\xFCr</o><t>x</t></e>\n</kvtml>";
  const std::string kvtmlUtf16 = utf16le("<kvtml><e><o>dog</o><t>Hund</t></e></kvtml>");
  const std::string kvtmlUtf8Bom =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- <html> -->\n"
      "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml version=\"2.0\">"
      "<identifiers><identifier id=\"a\"/><identifier id=\"b\"/></identifiers><entries><entry>"
      "<translation id=\"b\"><text>door</text></translation><translation id=\"a\"><text>T\xC3\xBCr</text>"
      "</translation></entry></entries></kvtml>";
  const struct Case {
    std::string bytes;
    bool kvtml;
    std::vector<Pair> pairs;
  } cases[] = {
      {kvtml1252, true, {{"T\xFCr", "\x80"}}},       {kvtmlLatin1, true, {{"T\xFCr", "x"}}},
      {kvtmlUtf16, true, {{"dog", "Hund"}}},         {kvtmlUtf8Bom, true, {{"T\xFCr", "door"}}},
      {"<?xml version=\"1.0\"?><html/>", false, {}}, {"<kvtmlx/>", false, {}},
      {"Haus\r\nhouse\r\n0\r\n0\r\n", false, {}},    {"", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(isKvtmlDocument(c.bytes), c.kvtml);
    if (!c.kvtml) continue;
    const Read result = read(c.bytes);
    ASSERT_TRUE(result.ok) << result.failure.reason;
    EXPECT_EQ(result.pairs, c.pairs);
  }
}

std::string written(const VocabList& list, UnmappableReport& report, std::int64_t chunk) {
  ByteBuffer out;
  writeKvtmlHead(out);
  for (std::int64_t first = 0; first < list.size(); first += chunk)
    writeKvtmlEntries(list, first, std::min(list.size(), first + chunk), out, report);
  writeKvtmlTail(list.size(), out);
  return std::string(viewOf(out));
}

// A text of any Windows-1252 bytes a vocabulary file holds: tab and
// everything from the blank up, XML's special characters most often.
std::string randomText(std::mt19937& random) {
  static const std::string special = "&<>\"' \t]]>";
  std::string text(std::uniform_int_distribution<int>(1, 12)(random), ' ');
  for (char& c : text) {
    const int kind = std::uniform_int_distribution<int>(0, 3)(random);
    c = kind == 0 ? special[std::uniform_int_distribution<std::size_t>(0, special.size() - 1)(random)]
                  : static_cast<char>(std::uniform_int_distribution<int>(0x20, 0xFF)(random));
  }
  return text;
}

TEST(Kvtml, WrittenPairsReadBackExactlyWithTheirCounts) {
  std::mt19937 random(19);
  const std::int16_t extremes[] = {0, 1, -1, 32767, -32768};
  for (const std::int64_t size : {0, 1, 7, 20000}) {  // the largest spans several pieces of the reader
    VocabList list;
    for (std::int64_t i = 0; i < size; ++i) {
      VocabEntry entry{randomText(random), randomText(random), extremes[random() % 5], extremes[random() % 5]};
      if (random() % 2) entry.correctCount = static_cast<std::int16_t>(random());
      list.append(entry);
    }
    UnmappableReport report(false);
    const std::string bytes = written(list, report, 3);
    EXPECT_EQ(report.count(), 0);
    EXPECT_TRUE(isKvtmlDocument(bytes));
    const Read back = read(bytes);
    ASSERT_TRUE(back.ok) << back.failure.reason << " in line " << back.failure.place.number;
    EXPECT_EQ(back.skipped, 0);  // the lesson's references are no entries
    ASSERT_EQ(static_cast<std::int64_t>(back.pairs.size()), size);
    for (std::int64_t i = 0; i < size; ++i)
      ASSERT_EQ(back.pairs[i], (Pair{std::string(list[i].vocabulary), std::string(list[i].translation),
                                     list[i].correctCount, list[i].wrongCount}))
          << i;
  }
}

TEST(Kvtml, ControlCharactersAreReportedWithTheirEntryAndReplacedOnlyWhenAsked) {
  VocabList list;
  list.append({"Haus", "house"});
  list.append(
      {"a\x01"
       "b",
       "c\x1F"});
  for (const bool replacing : {false, true}) {
    UnmappableReport report(replacing);
    const Read back = read(written(list, report, 1));
    ASSERT_EQ(report.count(), 2);
    EXPECT_EQ(report.firstPlaces()[0].place.kind, TextPlace::Entry);
    EXPECT_EQ(report.firstPlaces()[0].place.number, 2);
    EXPECT_EQ(report.firstPlaces()[1].character, U'\x1F');
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.pairs[1], replacing ? (Pair{"a?b", "c?"}) : (Pair{"ab", "c"}));
  }
}

}  // namespace
}  // namespace zl
