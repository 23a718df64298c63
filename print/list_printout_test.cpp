#include "print/list_printout.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

// The fake's page, 4760 x 6814 pixels at 96 dpi, makes the head font 107
// pixels high and the table and footer fonts 76; characters are half as wide.
constexpr int Width = 4760;
constexpr int TableChar = 38;

// "Wort<i>" / "word<i>", right i times, for i from `first` on.
std::vector<VocabEntry> numberedPairs(int count, int first = 1) {
  std::vector<VocabEntry> pairs;
  for (int i = first; i < first + count; ++i)
    pairs.push_back({"Wort" + std::to_string(i), "word" + std::to_string(i), static_cast<std::int16_t>(i), 0});
  return pairs;
}

using Row = std::vector<std::string>;  // vocabulary, translation, right, wrong

class ListPrintout : public ::testing::Test {
 protected:
  // Prints the list with `more` pairs added to it.
  void print(int more, const std::string& path = "/home/anna/englisch.ltk") {
    f.addPairs(numberedPairs(more, static_cast<int>(f.program.list.size()) + 1));
    f.program.file.currentPath = path;
    f.menu(CmdPrint);
  }
  int x(float mm) const { return mmToDeviceX(f.printer, mm); }
  int y(float mm) const { return mmToDeviceY(f.printer, mm); }
  const std::vector<PrintedPage>& pages() const { return f.printer.pages; }
  // The rows of a page by where they stand: top to bottom, left to right.
  std::vector<Row> rowsOn(std::size_t page) const {
    std::map<int, std::map<int, std::string>> cells;
    for (const PrintedText& t : pages()[page].texts)
      if (t.y >= y(36) && t.y < y(280)) cells[t.y][t.x] = t.text;
    std::vector<Row> rows;
    for (const auto& row : cells) {
      rows.emplace_back();
      for (const auto& cell : row.second) rows.back().push_back(cell.second);
    }
    return rows;
  }
  const PrintedText& footerOf(std::size_t page) const { return pages()[page].texts.back(); }
  // What was drawn at this place of a page; "?" when nothing was.
  std::string textAt(float xMm, float yMm, std::size_t page = 0) const {
    for (const PrintedText& t : pages()[page].texts)
      if (t.x == x(xMm) && t.y == y(yMm)) return t.text;
    return "?";
  }

  FakeProgram f;
};

TEST_F(ListPrintout, FollowsTheWorkedExampleAndRoundsHalvesToEven) {
  print(1);
  EXPECT_EQ(x(15), 340);
  EXPECT_EQ(y(36), 826);
  ASSERT_EQ(f.printer.fonts.size(), 3u);
  const FakeFont head = f.printer.fonts[0], table = f.printer.fonts[1], footer = f.printer.fonts[2];
  EXPECT_TRUE(head.face == "Arial" && head.height == 107 && head.weight == 700);    // size value 80
  EXPECT_TRUE(table.face == "Arial" && table.height == 76 && table.weight == 700);  // size value 57
  EXPECT_TRUE(footer.face == "Arial" && footer.height == 76 && footer.weight == 400);
  for (const PrintedText& t : pages()[0].texts) {
    EXPECT_EQ(t.font, t.y < y(24) ? 0 : t.y < y(280) ? 1 : 2) << t.text;
    EXPECT_TRUE(t.textRgb == 0x000000 && t.backgroundRgb == 0xFFFFFF) << t.text;
  }
  f.printer.width = 210;   // a pixel a millimetre across
  f.printer.height = 594;  // two down
  EXPECT_EQ(x(2.5F), 2);
  EXPECT_EQ(x(3.5F), 4);
  EXPECT_EQ(y(0.75F), 2);
}

TEST_F(ListPrintout, SixtyRowsFillAPageAndNoEmptyPageFollows) {
  struct Case {
    int pairs;
    std::size_t pages, rowsOnLast;
  };
  for (const Case c : {Case{60, 1, 60}, Case{61, 2, 1}, Case{120, 2, 60}}) {
    SCOPED_TRACE(c.pairs);
    print(c.pairs - static_cast<int>(f.program.list.size()));
    ASSERT_EQ(pages().size(), c.pages);
    EXPECT_EQ(f.printer.calls.back(), "end");
    std::vector<Row> rows;
    for (std::size_t page = 0; page < c.pages; ++page) {
      const std::string count = std::to_string(c.pages);
      EXPECT_EQ(footerOf(page).text, "Seite: " + std::to_string(page + 1) + " von " + count);
      const std::vector<Row> more = rowsOn(page);
      EXPECT_EQ(more.size(), page + 1 < c.pages ? 60 : c.rowsOnLast);
      rows.insert(rows.end(), more.begin(), more.end());
      // Every page has the head, the column heads and the rule.
      EXPECT_EQ(textAt(15, 11, page) + textAt(65, 11, page), "Vokabeldatei : englisch.ltk");
      EXPECT_EQ(textAt(15, 17, page) + textAt(65, 17, page), "Anzahl der Vokabeln : " + std::to_string(c.pairs));
      EXPECT_EQ(textAt(15, 24, page) + textAt(90, 24, page), "VokabelÜbersetzung");
      ASSERT_EQ(pages()[page].lines.size(), 1u);
      const PrintedLine rule = pages()[page].lines[0];
      EXPECT_TRUE(rule.x1 == x(15) && rule.x2 == x(195) && rule.y1 == y(31) && rule.y2 == y(31));
    }
    for (int i = 1; i <= c.pairs; ++i)
      EXPECT_EQ(rows[static_cast<std::size_t>(i - 1)],
                (Row{"Wort" + std::to_string(i), "word" + std::to_string(i), std::to_string(i), "0"}));
  }
  EXPECT_EQ(textAt(15, 272, 1), "Wort120");  // rows every 4 mm from 36 mm
}

TEST_F(ListPrintout, TheFooterIsCentredBetweenTheMargins) {
  print(700);
  ASSERT_EQ(pages().size(), 12u);
  const PrintedText& footer = footerOf(2);
  EXPECT_EQ(footer.text, "Seite: 3 von 12");
  EXPECT_EQ(footer.y, y(280));
  EXPECT_EQ(footer.x, x(15) + (Width - 2 * x(15) - 15 * TableChar) / 2);
}

TEST_F(ListPrintout, OverWideTextsKeepWhatFitsWithAMark) {
  const std::string word = "Donaudampfschifffahrtsgesellschaftskapitaensmuetzenabzeichen";
  f.addPairs({{word, "kurz", 0, 0}});
  const std::string name = std::string(70, 'n') + ".ltk";
  print(0, "/home/anna/" + name);
  EXPECT_EQ(textAt(15, 36), word.substr(0, 40) + "...");  // 73 mm: 1655 pixels
  EXPECT_EQ(textAt(90, 36), "kurz");
  EXPECT_EQ(textAt(65, 11), (" : " + name).substr(0, 52) + "...");  // 130 mm of 53-pixel characters

  f.program.file.currentPath = "";  // never saved
  f.menu(CmdPrint);
  EXPECT_EQ(textAt(65, 11), " : ");
}

// The path is the system's UTF-8 and prints in its own letters; a name too
// long for its box loses whole letters (130 mm hold 55 of the head font).
TEST_F(ListPrintout, FileNamesPrintInTheirOwnLetters) {
  std::string umlauts;
  for (int i = 0; i < 70; ++i) umlauts += "ü";
  const std::pair<std::string, std::string> cases[] = {
      {"/home/anna/Französisch Übung.ltk", " : Französisch Übung.ltk"},
      {"/home/anna/Daten/Русский 日本語 😀.ltk", " : Русский 日本語 😀.ltk"},
      {"/home/anna/franz\xF6sisch.ltk", " : franz\uFFFDsisch.ltk"},  // not UTF-8: a mark for the stray byte
      {"/home/anna/" + umlauts + ".ltk", " : " + umlauts.substr(0, 49 * 2) + "..."},
  };
  for (const auto& [path, head] : cases) {
    print(1, path);
    EXPECT_EQ(textAt(65, 11), head) << path;
  }
}

TEST_F(ListPrintout, OverWideCountsKeepTheirEndingRightAligned) {
  // Digits and the minus sign as wide as the font is high: four fit into 15 mm.
  f.printer.advance = [](char32_t c, int height) { return (c >= '0' && c <= '9') || c == '-' ? height : height / 2; };
  f.addPairs({{"a", "b", 12345, wrappingIncrement(32767)}, {"c", "d", -7, 0}});
  print(0);
  EXPECT_EQ(rowsOn(0), (std::vector<Row>{{"a", "b", "...45", "...68"}, {"c", "d", "-7", "0"}}));
  for (const PrintedText& t : pages()[0].texts) {
    if (t.x < x(165)) continue;
    const int right = t.x + f.printer.textWidth(t.text);
    EXPECT_TRUE(right == x(180) || right == x(195)) << t.text << " ends at " << right;
  }
}

TEST_F(ListPrintout, TheCurrentPairAndARunningTestStayAsTheyWere) {
  f.addPairs(numberedPairs(150));
  f.program.list.reset();
  f.menu(CmdPrint);
  EXPECT_EQ(f.program.list.position(), -1);
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Drucken..."});
  EXPECT_FALSE(f.ui.busy());

  f.program.file.currentPath = "/home/anna/englisch.ltk";
  f.menu(CmdTestPage);
  f.control(NewTestButton);
  const TestState test = f.program.test;
  const std::int64_t asked = f.program.list.position();
  ASSERT_EQ(asked, test.items[static_cast<std::size_t>(test.currentItem)].pairIndex);
  f.menu(CmdPrint);
  EXPECT_EQ(pages().size(), 3u);
  EXPECT_EQ(f.program.list.position(), asked);
  EXPECT_TRUE(f.program.test.lastIndex() == test.lastIndex() && f.program.test.currentItem == test.currentItem);
}

TEST_F(ListPrintout, TheCommandPrintsTheHelpOnTheHelpPageAndNothingWhenCancelled) {
  f.addPairs(numberedPairs(5));
  f.printer.dialogAccepted = false;
  f.menu(CmdPrint);
  f.printer.dialogAccepted = true;
  f.printer.documentStarts = false;
  f.menu(TbPrint);
  EXPECT_EQ(f.printer.calls, (std::vector<std::string>{"dialog Vokabelliste", "dialog Vokabelliste", "begin"}));
  EXPECT_TRUE(f.printer.fonts.empty());
  EXPECT_TRUE(f.ui.statusMessages().empty());

  FakeProgram empty;  // on the help page printing is offered all the same
  empty.menu(CmdHelpPage);
  EXPECT_TRUE(empty.ui.isCommandEnabled(CmdPrint));
  empty.menu(TbPrint);
  empty.printer.dialogAccepted = false;
  empty.menu(CmdPrint);
  EXPECT_EQ(empty.printer.calls,
            (std::vector<std::string>{"dialog Zelvo Lingotak Hilfe", "help", "dialog Zelvo Lingotak Hilfe"}));
  EXPECT_TRUE(empty.ui.statusMessages().empty());
}

// --- drawFittedText ----------------------------------------------------------

class FittedText : public ::testing::Test {
 protected:
  FittedText() {
    printer.showPrintDialog("test");
    printer.beginDocument();
    printer.selectFont(printer.createFont("Arial", 20, 400));  // characters 10 pixels wide
  }
  PrintedText fit(const std::string& text, int width, TextAlignment alignment, bool ellipsis = true, int x = 100) {
    drawFittedText(printer, x, 50, width, alignment, text, ellipsis, 0x000000, 0xFFFFFF);
    return printer.pages.back().texts.back();
  }
  FakePrinter printer;
};

TEST_F(FittedText, ShortensToWhatFitsAndAligns) {
  EXPECT_EQ(fit("abc", 30, TextAlignment::Left).text, "abc");
  EXPECT_EQ(fit("abc", 100, TextAlignment::Right).x, 170);
  EXPECT_EQ(fit("abc", 101, TextAlignment::Centre).x, 135);
  EXPECT_EQ(fit("", 0, TextAlignment::Centre).x, Width / 2);  // width 0: the page less x on both sides
  EXPECT_EQ(fit("abcdefgh", 70, TextAlignment::Left).text, "abcd...");
  EXPECT_EQ(fit("abcdefgh", 70, TextAlignment::Left, false).text, "abcdefg");
  const PrintedText right = fit("abcdefgh", 75, TextAlignment::Right);
  EXPECT_EQ(right.text, "...efgh");
  EXPECT_EQ(right.x, 105);
  // Centred: one character from the end, then one from the beginning, ...
  EXPECT_EQ(fit("abcdefghijkl", 110, TextAlignment::Centre).text, "...defgh...");
  const PrintedText centred = fit("abcdefghijkl", 105, TextAlignment::Centre);
  EXPECT_EQ(centred.text, "...efgh...");
  EXPECT_EQ(centred.x, 102);
  EXPECT_EQ(fit("abcdefgh", 50, TextAlignment::Centre, false).text, "bcdef");
  // Letters of two bytes count once.
  EXPECT_EQ(fit("äöüßÄÖ", 55, TextAlignment::Right).text, "...ÄÖ");
  EXPECT_EQ(fit("äöüßÄÖÜé", 70, TextAlignment::Centre).text, "...ß...");
  EXPECT_EQ(drawFittedText(printer, 0, 0, 10, TextAlignment::Left, "x", true, 0, 0), 20);
}

TEST_F(FittedText, EndsWhenNotEvenTheMarkFits) {
  EXPECT_EQ(fit("abcdefgh", 30, TextAlignment::Left).text, "...");
  EXPECT_EQ(fit("abcdefgh", 29, TextAlignment::Left).text, "");
  EXPECT_EQ(fit("ab", 15, TextAlignment::Right).text, "");         // shorter than what a pass removes
  EXPECT_EQ(fit("abcdefgh", 59, TextAlignment::Centre).text, "");  // "......" takes 60
  EXPECT_EQ(fit("ab", 15, TextAlignment::Left, false).text, "a");
  EXPECT_EQ(fit("ab", 0, TextAlignment::Left, true, Width / 2 + 10).text, "");  // a box of -20
  EXPECT_EQ(fit("", -3, TextAlignment::Right, false).text, "");
}

// The loop as the layout's rules write it: one character less at a time,
// the whole text measured every time. False where it would never end (the
// marks alone do not fit).
bool fitOneByOne(Printer& printer, std::string& text, int& x, int width, TextAlignment alignment, bool ellipsis) {
  const std::string mark = ellipsis ? "..." : "";
  const std::size_t cut = mark.size() + 1;
  const std::size_t marksAlone = (alignment == TextAlignment::Centre ? 2 : 1) * mark.size();
  const auto wide = [&] { return printer.textWidth(text) > width; };
  if (wide())
    text = alignment == TextAlignment::Left    ? text + mark
           : alignment == TextAlignment::Right ? mark + text
                                               : mark + text + mark;
  for (bool fromBeginning = alignment == TextAlignment::Right; wide();) {
    if (text.size() == marksAlone) return false;
    text = fromBeginning ? mark + text.substr(cut) : text.substr(0, text.size() - cut) + mark;
    if (alignment == TextAlignment::Centre) fromBeginning = !fromBeginning;
  }
  if (alignment == TextAlignment::Right) x += width - printer.textWidth(text);
  if (alignment == TextAlignment::Centre) x += (width - printer.textWidth(text)) / 2;
  return true;
}

TEST_F(FittedText, FindsWhatShorteningOneCharacterAtATimeFinds) {
  long long measured = 0;
  printer.advance = [&](char32_t c, int) {
    ++measured;
    return static_cast<int>(1 + c % 13);  // characters of different widths
  };
  std::mt19937 random(20261207);
  int shortened = 0, endless = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = static_cast<char>(random() % 128);  // one byte a letter, as the loop counts
    const int width = static_cast<int>(random() % 300) - 20;
    if (width == 0) continue;  // the page's width
    const auto alignment = static_cast<TextAlignment>(random() % 3);
    const bool ellipsis = random() % 2 == 0;
    std::string expected = text;
    int expectedX = 100;
    if (!fitOneByOne(printer, expected, expectedX, width, alignment, ellipsis)) {
      expected.clear();  // nothing is drawn, where the box would put an empty text
      expectedX = 100 + (alignment == TextAlignment::Right    ? width
                         : alignment == TextAlignment::Centre ? width / 2
                                                              : 0);
      ++endless;
    }
    shortened += expected != text;
    const PrintedText drawn = fit(text, width, alignment, ellipsis);
    ASSERT_EQ(drawn.text, expected) << "round " << round;
    ASSERT_EQ(drawn.x, expectedX) << "round " << round;
  }
  EXPECT_GT(shortened, 1000);
  EXPECT_GT(endless, 50);

  // A long word is measured a few times, not once per character.
  measured = 0;
  // "w" is 3 pixels wide, "." 8: 117 of the letters and the marks fit into 400.
  EXPECT_EQ(fit(std::string(10000, 'w'), 400, TextAlignment::Centre).text, "..." + std::string(117, 'w') + "...");
  EXPECT_LT(measured, 20 * 10000);  // one character at a time: about 50 million
}

}  // namespace
}  // namespace zl
