#include "convert/anki_package.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "convert/sha1.h"
#include "convert/unicode.h"
#include "test_support/anki_packages.h"
#include "test_support/converter_fixture.h"

namespace zl {
namespace {

using namespace anki_test;

constexpr Generation kGenerations[] = {Generation::Anki2, Generation::Anki21, Generation::Anki21b};

struct Read {
  bool ok = false;
  std::string pairs;  // "vocabulary=translation right/wrong|..."
  AnkiFindings findings;
  std::int64_t skipped = 0;
  std::string reason;
};

Read readPackage(const std::string& bytes, const AnkiOptions& options = {}, std::uint64_t limit = 1 << 30) {
  Read read;
  UnmappableReport report(true);
  PairBuilder pairs(report, 0);
  ReadFailure failure;
  read.ok = readAnkiPackage(bytes, limit, options, pairs, read.findings, failure);
  read.reason = failure.reason;
  read.skipped = pairs.skipped();
  VocabList list;
  pairs.moveInto(list);
  for (std::int64_t i = 0; i < list.size(); ++i) {
    const PairView pair = list[i];
    read.pairs += std::string(pair.vocabulary) + "=" + std::string(pair.translation) + " " +
                  std::to_string(pair.correctCount) + "/" + std::to_string(pair.wrongCount) + "|";
  }
  return read;
}

// Two note types, three decks (one below another) and notes that show
// each rule: HTML, media, a cloze note, counts from the first card.
Collection sampleCollection() {
  Collection c;
  c.types = {{7, {"Wort", "Bedeutung", "Beispiel"}}, {8, {"Text", "Extra"}, true}, {9, {"Front", "Back"}}};
  c.decks = {
      {1, "Default"}, {20, "Französisch"}, {21, "Französisch::Kapitel 1"}, {22, "Französischkurs"}, {23, "englisch"}};
  c.notes = {
      {7, {"<b>la</b>&nbsp;maison&nbsp;", "das Haus<br>(n.)", "x"}, 20, {{10, 3}, {99, 0}}},
      {8, {"{{c1::Paris}} ist die Hauptstadt", ""}, 21},
      {7, {" le chien <img src=\"chien.jpg\">", "[sound:hund.mp3]der Hund<br>", ""}, 21, {{2, 5}}},
      {9, {"the cat", "die Katze"}, 22, {{100000, 1}}},
      {9, {"the dog &amp; the cat", "Hund &lt;&gt; Katze"}, 1},
  };
  return c;
}

TEST(AnkiPackage, EachGenerationGivesTheNotesOfItsNewestCollection) {
  for (const Generation generation : kGenerations) {
    const Read read = readPackage(package(generation, sampleCollection()));
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.pairs,
              "la maison=das Haus (n.) 7/3|le chien=der Hund -3/5|the cat=die Katze 32767/1|"
              "the dog & the cat=Hund <> Katze 0/0|")
        << static_cast<int>(generation);
    EXPECT_EQ(read.findings.cloze, 1);
    EXPECT_EQ(read.findings.mediaReferences, 2);
    EXPECT_EQ(read.skipped, 1);
  }
}

TEST(AnkiPackage, DecksAndFieldsAreChosenByTheNamesAnkiShows) {
  const struct {
    AnkiOptions options;
    const char* pairs;
    std::int64_t withoutFields;
  } cases[] = {
      {{"", "", "französisch"}, "la maison=das Haus (n.) 7/3|le chien=der Hund -3/5|", 0},
      {{"", "", "Französisch::KAPITEL 1"}, "le chien=der Hund -3/5|", 0},
      {{"", "", "Französischkurs"}, "the cat=die Katze 32767/1|", 0},
      {{"BEISPIEL", "wort", ""}, "x=la maison 7/3|", 2},  // the empty Beispiel of the second skips it
      {{"Back", "Front", "Default"}, "Hund <> Katze=the dog & the cat 0/0|", 0},
  };
  for (const Generation generation : kGenerations) {
    for (const auto& c : cases) {
      const Read read = readPackage(package(generation, sampleCollection()), c.options);
      ASSERT_TRUE(read.ok) << read.reason;
      EXPECT_EQ(read.pairs, c.pairs) << c.options.deck << c.options.firstField;
      EXPECT_EQ(read.findings.withoutFields, c.withoutFields) << c.options.firstField;
    }
    const Read none = readPackage(package(generation, sampleCollection()), {"", "", "Franz"});
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.reason,
              "Das Anki-Paket hat keinen Stapel „Franz“ (vorhanden: „Default“, „englisch“, „Französisch“, "
              "„Französisch::Kapitel 1“, „Französischkurs“).");  // in Anki's order, letter case aside
  }
}

// A package whose collection `sql` makes, in the older layout.
std::string packageOf(const std::string& sql) { return zipOf({{"collection.anki2", databaseOf(sql)}}); }

TEST(AnkiPackage, HostilePackagesAreRefusedWithTheirCause) {
  const std::string good = olderCollection(sampleCollection());
  const std::string older = package(Generation::Anki2, sampleCollection());
  const std::string zeros(4 << 20, '\0');
  std::string hugeHeader = good;  // says it has more pages than the limit allows
  hugeHeader[28] = 0x01;
  std::string lyingHeader = good;  // says it has one page more than it brings
  ++lyingHeader[31];
  std::string sizeless = good;  // its size in the header is not to be trusted
  ++sizeless[92];
  const struct {
    const char* what;
    std::string bytes;
    const char* cause;
  } cases[] = {
      {"a zip bomb of zeros", zipOf({{"collection.anki2", zeros}}), "keine SQLite-Datenbank"},
      {"a database past the limit", zipOf({{"collection.anki2", sizeless + zeros}}), "größer als 1 MB"},
      {"a header past the limit", zipOf({{"collection.anki2", hugeHeader}}), "größer als 1 MB"},
      {"more than the header says", zipOf({{"collection.anki2", good + "x"}}), "ist beschädigt"},
      {"a zstd bomb", zipOf({{"collection.anki21b", zstdOf(zeros)}}), "keine SQLite-Datenbank"},
      {"garbage as zstd", zipOf({{"collection.anki21b", good}}), "zstd-komprimierte Sammlung ist beschädigt"},
      {"a cut zstd frame", zipOf({{"collection.anki21b", zstdOf(good).substr(0, 300)}}), "unvollständig"},
      {"a truncated database", zipOf({{"collection.anki2", good.substr(0, good.size() / 2)}}), "unvollständig"},
      {"a header beyond the data", zipOf({{"collection.anki2", lyingHeader}}), "unvollständig"},
      {"a truncated zip", older.substr(0, older.size() - 30), "kein vollständiges ZIP-Archiv"},
      {"a zip without a collection", zipOf({{"readme.txt", "hallo"}}), "enthält keine Anki-Sammlung"},
      {"a view in place of notes",
       packageOf("CREATE TABLE col (models, decks); CREATE TABLE cards (nid, did, odid, reps, lapses, ord);"
                 "CREATE TABLE n (id, mid, flds); CREATE VIEW notes AS SELECT * FROM n;"),
       "„notes“ ist in der Sammlung keine gewöhnliche Tabelle"},
      {"a missing table", packageOf("CREATE TABLE col (models, decks); CREATE TABLE notes (id, mid, flds);"),
       "fehlt die Tabelle „cards“"},
      {"columns of another layout", packageOf("CREATE TABLE col (x); CREATE TABLE notes (x); CREATE TABLE cards (x);"),
       "SQLite: no such column"},
      {"note types that are no JSON",
       packageOf("CREATE TABLE col (models, decks); INSERT INTO col VALUES ('{', '{}');"
                 "CREATE TABLE notes (id, mid, flds); CREATE TABLE cards (nid, did, odid, reps, lapses, ord);"),
       "SQLite: malformed JSON"},
  };
  for (const auto& c : cases) {
    const Read read = readPackage(c.bytes, {}, 1 << 20);
    EXPECT_FALSE(read.ok) << c.what;
    EXPECT_TRUE(read.reason.starts_with("Das Anki-Paket kann nicht gelesen werden: ")) << read.reason;
    EXPECT_NE(read.reason.find(c.cause), std::string::npos) << c.what << ": " << read.reason;
    EXPECT_EQ(read.pairs, "") << c.what;
  }
  // Every cut of a collection is refused or read, never a crash.
  for (std::size_t size = 0; size < good.size(); size += 509)
    readPackage(zipOf({{"collection.anki2", good.substr(0, size)}}));
}

// Anki's collation "unicase" folds the letters of the scripts learners
// use; the names of decks and fields compare and sort by it.
TEST(AnkiPackage, NamesCompareWithTheirLettersInEitherCase) {
  const std::pair<const char*, const char*> same[] = {
      {"FRANZÖSISCH", "französisch"}, {"ŸÀÞ", "ÿàþ"},   {"ĹĽŁŃŇ", "ĺľłńň"}, {"ĀČĞĪŽ", "āčğīž"},
      {"ΕΛΛΗΝΙΚΆ", "ελληνικά"},       {"ЁЖИК", "ёжик"},
  };
  for (const auto& [capitals, smalls] : same) EXPECT_EQ(compareFolded(capitals, smalls), 0) << capitals;
  EXPECT_LT(compareFolded("Apfel", "birne"), 0);
  EXPECT_GT(compareFolded("Zitrone", "apfel"), 0);
  EXPECT_LT(compareFolded("Franz", "französisch"), 0);  // a beginning sorts first
  EXPECT_NE(compareFolded("ß", "ss"), 0);
}

// Anki finds duplicates by the SHA-1 of a note's first field: the
// published test vectors, the padding of each length that ends a block.
TEST(AnkiPackage, TheChecksumsAreSha1) {
  const std::pair<std::string, const char*> vectors[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const auto& [message, expected] : vectors) {
    std::string hex;
    for (const std::uint8_t byte : sha1(message)) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02x", byte);
      hex += digits;
    }
    EXPECT_EQ(hex, expected) << message.size();
  }
}

// A collection that unpacks to many pieces of zstd's output comes whole.
TEST(AnkiPackage, ALargeCollectionComesWhole) {
  Collection c;
  c.types = {{1, {"Front", "Back"}}};
  for (int i = 0; i < 4000; ++i)
    c.notes.push_back({1, {"word number " + std::to_string(i), std::string(40, 'a' + i % 26)}, 1, {{i % 7, i % 3}}});
  for (const Generation generation : kGenerations) {
    const Read read = readPackage(package(generation, c));
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(std::count(read.pairs.begin(), read.pairs.end(), '|'), 4000);
    // Its first card: 3999 % 7 = 2 reviews, 3999 % 3 = 0 lapses.
    EXPECT_TRUE(read.pairs.ends_with("word number 3999=" + std::string(40, 'a' + 3999 % 26) + " 2/0|"));
  }
}

TEST(AnkiPackage, RecognisedByItsContentWhateverItsName) {
  EXPECT_TRUE(isAnkiPackage(package(Generation::Anki21b, sampleCollection())));
  EXPECT_FALSE(isAnkiPackage(zipOf({{"collection.anki2.txt", "x"}})));
  EXPECT_FALSE(isAnkiPackage("PK\x03\x04 but no zip"));
}

TEST_F(Converter, AListGoesToAnkiAndComesBackWithItsCounts) {
  for (const unsigned seed : {4u, 5u}) {
    const std::string original = trainerFile(seed, 300, false);
    writeBytes(path("original.ltk"), original);
    // The deck is named after the file, whatever JSON makes of its letters.
    const std::string deck = "Franz\"ö\\sisch\t1";
    ASSERT_EQ(run({path("original.ltk"), path(deck + ".apkg")}), 0) << printed.error;
    ASSERT_EQ(run({"--force", "--deck", deck, path(deck + ".apkg"), path("back.ltk")}), 0) << printed.error;
    EXPECT_EQ(printed.out, path("back.ltk") + ": 300 Paare geschrieben, 0 Einträge übersprungen, 0 Zeichen ersetzt.\n");
    // Anki holds no negative counts: they come back as 0.
    VocabList expected, back;
    readRecords(bufferOf(original), expected);
    readRecords(bufferOf(readBytes(path("back.ltk"))), back);
    ASSERT_EQ(back.size(), expected.size());
    for (std::int64_t i = 0; i < back.size(); ++i) {
      EXPECT_EQ(back[i].vocabulary, expected[i].vocabulary) << i;
      EXPECT_EQ(back[i].translation, expected[i].translation) << i;
      EXPECT_EQ(back[i].correctCount, std::max<std::int16_t>(expected[i].correctCount, 0)) << i;
      EXPECT_EQ(back[i].wrongCount, std::max<std::int16_t>(expected[i].wrongCount, 0)) << i;
    }
    std::filesystem::remove(path(deck + ".apkg"));
  }
}

TEST_F(Converter, APackageSaysWhatItLeftOutAndRefusesLettersTheTrainerCannotHold) {
  Collection c = sampleCollection();
  writeBytes(path("deck.apkg"), package(Generation::Anki21b, c));
  ASSERT_EQ(run({path("deck.apkg"), path("deck.ltk")}), 0) << printed.error;
  EXPECT_EQ(printed.out, path("deck.ltk") +
                             ": 4 Paare geschrieben, 1 Eintrag übersprungen, 0 Zeichen ersetzt.\n"
                             "2 Medienverweise weggelassen: Bilder und Töne bleiben in Anki.\n"
                             "1 Lückentext-Notiz übersprungen: Aus einem Lückentext wird kein Vokabelpaar.\n");
  ASSERT_EQ(run({"--fields", "Front,Back", path("deck.apkg"), path("front.ltk")}), 0) << printed.error;
  EXPECT_NE(printed.out.find("\n2 Notizen übersprungen: Ihr Notiztyp hat die Felder „Front“ und „Back“ nicht.\n"),
            std::string::npos)
      << printed.out;

  c.notes[3].fields[1] = "die Katze \xCE\xB3\xCE\xB1\xCF\x84\xCE\xB1";  // Greek
  writeBytes(path("greek.colpkg"), package(Generation::Anki21, c));
  EXPECT_EQ(run({path("greek.colpkg"), path("greek.ltk")}), 1);
  EXPECT_NE(printed.error.find("Notiz 4: „γ“ (U+03B3)"), std::string::npos) << printed.error;
  EXPECT_FALSE(std::filesystem::exists(path("greek.ltk")));
  ASSERT_EQ(run({"--replace-unmappable", path("greek.colpkg"), path("greek.ltk")}), 0) << printed.error;
  EXPECT_NE(printed.out.find("4 Zeichen ersetzt"), std::string::npos) << printed.out;

  c.notes = {c.notes[1]};  // the cloze note alone
  writeBytes(path("cloze.apkg"), package(Generation::Anki2, c));
  EXPECT_EQ(run({path("cloze.apkg"), path("cloze.ltk")}), 1);
  EXPECT_EQ(printed.error, "zelvo-lingotak-convert: " + path("cloze.apkg") +
                               ": Die Datei enthält keine Vokabelpaare.\n1 Lückentext-Notiz übersprungen: Aus einem "
                               "Lückentext wird kein Vokabelpaar.\n");

  writeBytes(path("broken.apkg"), "PK\x03\x04 and then nothing");
  EXPECT_EQ(run({"--from", "apkg", path("broken.apkg"), path("broken.ltk")}), 1);
  EXPECT_NE(printed.error.find("kein vollständiges ZIP-Archiv"), std::string::npos) << printed.error;
  EXPECT_FALSE(std::filesystem::exists(path("broken.ltk")));
}

}  // namespace
}  // namespace zl
