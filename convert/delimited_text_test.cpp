#include "convert/delimited_text.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace zl {
namespace {

// What a read gave, as one text: a line "vocabulary|translation|right|wrong"
// per pair (texts in Windows-1252), then "skipped N" when entries were
// skipped, or "failed at N: reason".
std::string read(std::string_view bytes, DelimitedOptions options = {}, UnmappableReport* report = nullptr) {
  UnmappableReport ownReport(false);
  PairBuilder pairs(report ? *report : ownReport, bytes.size());
  ReadFailure failure;
  if (!readDelimitedText(bytes, options, pairs, failure))
    return "failed at " + std::to_string(failure.place.number) + ": " + failure.reason;
  const std::int64_t skipped = pairs.skipped();
  VocabList list;
  pairs.moveInto(list);
  std::string out;
  for (std::int64_t i = 0; i < list.size(); ++i) {
    const PairView pair = list[i];
    out += std::string(pair.vocabulary) + "|" + std::string(pair.translation) + "|" +
           std::to_string(pair.correctCount) + "|" + std::to_string(pair.wrongCount) + "\n";
  }
  if (skipped > 0) out += "skipped " + std::to_string(skipped);
  return out;
}

struct Case {
  std::string_view name;
  std::string bytes;
  std::string expected;
};

void expectReads(std::span<const Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(read(c.bytes), c.expected) << c.name;
}

TEST(DelimitedText, FieldsFollowRfc4180ReadLeniently) {
  const Case cases[] = {
      {"line ends of three kinds", "a,b\r\nc,d\re,f\ng,h", "a|b|0|0\nc|d|0|0\ne|f|0|0\ng|h|0|0\n"},
      {"quoted delimiters and doubled quotes", "\"a,1\",\"say \"\"hi\"\"\"\n", "a,1|say \"hi\"|0|0\n"},
      {"line breaks inside quotes become blanks", "\"two\r\nlines\",x\n\"three\rline\nbreaks\",y\n",
       "two lines|x|0|0\nthree line breaks|y|0|0\n"},
      {"text after the closing quote is kept", "\"ab\"cd,\"x\" y\n", "abcd|x y|0|0\n"},
      {"blanks are texts, never trimmed", " a , b \n\" \",c\n", " a | b |0|0\n |c|0|0\n"},
      {"blank lines and rows of empty fields pass unnoticed", "\n\na;b\r\n\r\n;;\r\n;\nc;d\n\n", "a|b|0|0\nc|d|0|0\n"},
      {"an unclosed quote runs to the end", "a,b\nc,\"d\ne,f", "a|b|0|0\nc|d e,f|0|0\n"},
      {"a quote inside an unquoted field is a character", "5\" disk,x\n", "5\" disk|x|0|0\n"},
      {"a row without both texts is skipped and counted", "a,b\nalone\n\"\",c\nd,\n,\"\"\ne,f",
       "a|b|0|0\ne|f|0|0\nskipped 4"},
      {"a delimiter at the line end gives an empty last field", "a,b,\nc,d,\n", "a|b|0|0\nc|d|0|0\n"},
  };
  expectReads(cases);
}

TEST(DelimitedText, TheDelimiterIsTheOneThatSplitsTheFirstRowsMostConsistently) {
  const Case cases[] = {
      {"spreadsheet semicolons in Windows-1252",
       "Stra\xDF"
       "e;street\r\nM\xFCnze;coin\r\n1,50 \x80;1.50 euros\r\n",
       "Stra\xDF"
       "e|street|0|0\nM\xFCnze|coin|0|0\n1,50 \x80|1.50 euros|0|0\n"},
      {"UTF-8 with its byte-order mark",
       "\xEF\xBB\xBF"
       "T\xC3\xBCr,door\r\n\xE2\x82\xAC,euro\r\n",
       "T\xFCr|door|0|0\n\x80|euro|0|0\n"},
      {"tabs, with commas and semicolons in the texts", "a, b; c\tx, y\nd;e\tz\n", "a, b; c|x, y|0|0\nd;e|z|0|0\n"},
      {"commas, with quoted commas and semicolons", "\"a;b\",\"c,d\"\n\"e;f;g\",h\n", "a;b|c,d|0|0\ne;f;g|h|0|0\n"},
      {"commas in prose, a semicolon between the texts", "laufen, lief, gelaufen;run, ran, run\ngehen, ging;go, went\n",
       "laufen, lief, gelaufen|run, ran, run|0|0\ngehen, ging|go, went|0|0\n"},
      {"the count most rows share wins over a few longer rows", "a;b\nc;d\ne,f,g,h;i\nj;k\n",
       "a|b|0|0\nc|d|0|0\ne,f,g,h|i|0|0\nj|k|0|0\n"},
      {"UTF-16 with its mark", std::string("\xFF\xFEH\0a\0u\0s\0\t\0h\0o\0u\0s\0e\0\n\0", 24), "Haus|house|0|0\n"},
  };
  expectReads(cases);
}

TEST(DelimitedText, HeaderLinesNameTheDelimiterHtmlAndTheColumnsThatAreNoTexts) {
  const Case cases[] = {
      {"named separator", "#separator:Pipe\n#html:false\na|b,c\n", "a|b,c|0|0\n"},
      {"separator as a character", "#separator:,\n#tags:x y\n#notetype:Basic\n#deck:Vokabeln\na,b\n", "a|b|0|0\n"},
      {"unknown keys are header lines too", "#separator:Semicolon\n#some new key:1\nx;y\n", "x|y|0|0\n"},
      {"html: tags removed, line breaks blank, entities decoded",
       "#separator:tab\n#html:true\n<b>Haus</b><br>&amp; Hof\tA&lt;B<BR "
       "/>C<br/>&quot;&apos;&#39;&nbsp;&#228;&#x20AC;\n",
       "Haus & Hof|A<B C \"''\xA0\xE4\x80|0|0\n"},
      {"html: what is no tag or entity stays", "#separator:tab\n#html:true\na < b &c; &#0; &\t1<2 &amp\n",
       "a < b &c; &#0; &|1<2 &amp|0|0\n"},
      {"html off: tags stay", "#separator:tab\n#html:false\n<b>x</b>\t&amp;\n", "<b>x</b>|&amp;|0|0\n"},
      {"the guid, note type, deck and tag columns are no texts",
       "#separator:tab\n#guid column:1\n#notetype column:2\n#deck column:4\n#tags column:7\n"
       "g\tBasic\tHaus\tDeck\thouse\t3\ttag\t4\n",
       "Haus|house|3|4\n"},
      {"a first line that looks like no header line is data", "#1;one\n#x y;z\n", "#1|one|0|0\n#x y|z|0|0\n"},
  };
  expectReads(cases);
}

TEST(DelimitedText, ThirdAndFourthColumnsAreCountsOnlyWhenEveryPairHasThem) {
  const Case cases[] = {
      {"whole numbers in every row", "a,b,3,-4\nc,d,0,32767\ne,f,-32768,007\n",
       "a|b|3|-4\nc|d|0|32767\ne|f|-32768|7\n"},
      {"quoted numbers count", "a;b;\"1\";\"2\"\n", "a|b|1|2\n"},
      {"one row too large", "a,b,3,4\nc,d,32768,0\n", "a|b|0|0\nc|d|0|0\n"},
      {"one row with a blank", "a\tb\t3\t4\nc\td\t 1\t0\n", "a|b|0|0\nc|d|0|0\n"},
      {"one row with a plus", "a\tb\t3\t4\nc\td\t+1\t0\n", "a|b|0|0\nc|d|0|0\n"},
      {"one row without them", "a,b,3,4\nc,d,5\n", "a|b|0|0\nc|d|0|0\n"},
      {"a skipped row does not matter", "a,b,3,4\n,d,x,y\n", "a|b|3|4\nskipped 1"},
  };
  expectReads(cases);
}

TEST(DelimitedText, ChosenColumnsAndAHeaderRow) {
  const std::string bytes = "Wort;Bedeutung;Beispiel;1;2\nHaus;house;ein Haus;3;4\nBaum;tree\n";
  EXPECT_EQ(read(bytes, {1, 3, true}), "Haus|ein Haus|0|0\nskipped 1");
  EXPECT_EQ(read(bytes, {3, 1, false}), "Beispiel|Wort|0|0\nein Haus|Haus|0|0\nskipped 1");
  EXPECT_EQ(read(bytes, {0, 0, true}), "Haus|house|0|0\nBaum|tree|0|0\n");
  EXPECT_EQ(read("a;b;1;2\n", {2, 1, false}), "b|a|0|0\n");  // chosen columns carry no counts
  // After the header lines, before blank lines.
  EXPECT_EQ(read("#separator:tab\n\nfront\tback\nx\ty\n", {0, 0, true}), "x|y|0|0\n");
}

TEST(DelimitedText, EachPairIsPlacedOnTheLineWhereItsRowStarts) {
  UnmappableReport report(false);
  read("#separator:,\n\n\"a\nb\r\nc\",\xE4\xB8\xAD\n\r\nx\r\r\"y\",\xE2\x86\x92\n", {}, &report);
  ASSERT_EQ(report.firstPlaces().size(), 2u);
  EXPECT_EQ(report.firstPlaces()[0].place.kind, TextPlace::Line);
  EXPECT_EQ(report.firstPlaces()[0].place.number, 3);
  EXPECT_EQ(report.firstPlaces()[1].place.number, 9);
}

TEST(DelimitedText, FailsOnlyWhenNoColumnsCanBeFound) {
  const Case cases[] = {
      {"one column", "Haus\nBaum\n",
       "failed at 0: Keine Spalten gefunden: keine Zeile ist durch Tabulator, Semikolon oder Komma geteilt."},
      {"the named separator splits nothing", "#separator:tab\na,b\n",
       "failed at 0: Keine Spalten gefunden: keine Zeile hat zwei Texte."},
      {"the columns that are texts are too few", "#separator:tab\n#guid column:1\ng\ta\n",
       "failed at 0: Keine Spalten gefunden: keine Zeile hat zwei Texte."},
      {"an unknown separator", "#html:true\n#separator:dash\na-b\n",
       "failed at 2: Die Kopfzeile nennt kein brauchbares Trennzeichen."},
      {"a quote as separator", "#separator:\"\n", "failed at 1: Die Kopfzeile nennt kein brauchbares Trennzeichen."},
      {"a column that is no number", "#guid column:first\n",
       "failed at 1: Die Kopfzeile nennt keine gültige Spaltennummer."},
      {"column 0", "#tags column:0\n", "failed at 1: Die Kopfzeile nennt keine gültige Spaltennummer."},
      {"no rows is no failure", "\xEF\xBB\xBF\r\n\r\n", ""},
      {"nor is an export without notes", "#separator:tab\n#html:false\n", ""},
      {"nor are rows of empty fields", ";;;\r\n;;;\r\n", ""},
  };
  expectReads(cases);
  EXPECT_EQ(read("a;b;c\nd;e\n", {2, 4, false}),
            "failed at 0: Keine Zeile hat eine Spalte 4; die Zeilen haben höchstens 3 Spalten.");
}

}  // namespace
}  // namespace zl
