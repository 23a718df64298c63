#include "app/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace zl {
namespace {

constexpr std::string_view kTables =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}}\r\n"
    "{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}\r\n";

RichDocument read(const std::string& body) { return readRtf(std::string(kTables) + body + "}"); }

// The texts of the paragraphs' runs, joined with "|" between runs.
std::string textOf(const RichParagraph& paragraph) {
  std::string text;
  for (const TextRun& run : paragraph.runs) text += (text.empty() ? "" : "|") + run.text;
  return text;
}

TEST(RtfReader, ParagraphsCarryTheirAlignmentAndRunsTheirStyle) {
  const RichDocument document = read(
      "\\pard\\qc\\f0\\fs28\\cf1\\b\\ul Heading\\par\r\n"
      "\\pard\\cf0\\ulnone\\b0\\fs20 plain \\b Name - Kind\\b0\\line\r\n"
      "next\\tab line\\par\r\n"
      "\\cf2\\b\\ul green\\par\r\n"
      "\\plain left\\par");
  ASSERT_EQ(document.paragraphs.size(), 4u);

  const RichParagraph& heading = document.paragraphs[0];
  EXPECT_EQ(heading.alignment, ParagraphAlignment::Centre);
  ASSERT_EQ(heading.runs.size(), 1u);
  EXPECT_EQ(heading.runs[0].text, "Heading");
  EXPECT_EQ(heading.runs[0].style, (TextStyle{"Arial", 28, true, true, 0x0000FF}));

  const RichParagraph& body = document.paragraphs[1];
  EXPECT_EQ(body.alignment, ParagraphAlignment::Left);
  EXPECT_EQ(textOf(body), "plain |Name - Kind|\nnext\tline");  // the delimiter blank is not text
  EXPECT_EQ(body.runs[0].style, (TextStyle{"Arial", 20, false, false, 0}));
  EXPECT_TRUE(body.runs[1].style.bold);
  EXPECT_FALSE(body.runs[2].style.bold);

  EXPECT_EQ(document.paragraphs[2].runs[0].style, (TextStyle{"Arial", 20, true, true, 0x008000}));
  // \plain: the default font at 12 points, nothing else.
  EXPECT_EQ(document.paragraphs[3].runs[0].style, (TextStyle{"Arial", 24, false, false, 0}));
}

TEST(RtfReader, EscapesGiveWindows1252Bytes) {
  const RichDocument document = read("\\'c4\\'e4\\'DF \\'80\\'84\\'93 \\\\ \\{\\} a\\~b c\\_d Sil\\-be\\par");
  ASSERT_EQ(document.paragraphs.size(), 1u);
  EXPECT_EQ(textOf(document.paragraphs[0]),
            "\xC4\xE4\xDF \x80\x84\x93 \\ {} a\xA0"
            "b c-d Silbe");
}

TEST(RtfReader, GroupsRestoreTheFormattingAroundThem) {
  const RichDocument document = read("\\fs20 a{\\b b{\\ul\\cf1 c}d}e\\par");
  const auto& runs = document.paragraphs.at(0).runs;
  ASSERT_EQ(textOf(document.paragraphs[0]), "a|b|c|d|e");
  EXPECT_EQ(runs[0].style, runs[4].style);
  EXPECT_EQ(runs[1].style, runs[3].style);
  EXPECT_EQ(runs[2].style, (TextStyle{"Arial", 20, true, true, 0x0000FF}));
}

TEST(RtfReader, BulletsComeFromTheNumberingGroupAndEndWithPard) {
  const RichDocument document = read(
      "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-284\\li568 first\\par\r\n"
      "second\\par\r\n"
      "\\pard after\\par");
  ASSERT_EQ(document.paragraphs.size(), 3u);
  for (int i : {0, 1}) {
    const RichParagraph& item = document.paragraphs[static_cast<std::size_t>(i)];
    EXPECT_TRUE(item.bullet);
    EXPECT_EQ(item.leftIndentTwips, 568);
    EXPECT_EQ(item.firstLineIndentTwips, -284);
  }
  EXPECT_EQ(textOf(document.paragraphs[0]), "first");  // the fallback bullet text is not read
  EXPECT_FALSE(document.paragraphs[2].bullet);
  EXPECT_EQ(document.paragraphs[2].leftIndentTwips, 0);
}

TEST(RtfReader, UnknownControlWordsAndDestinationsAreSkipped) {
  const RichDocument document = read(
      "{\\*\\generator Someone 1.0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}"
      "\\viewkind4\\uc1\\nosupersub\\expnd-20 a\\u8364?b{\\*\\unknown{x}y}c\\par");
  ASSERT_EQ(document.paragraphs.size(), 1u);
  EXPECT_EQ(textOf(document.paragraphs[0]), "a?bc");
}

TEST(RtfReader, AnEmptyLineKeepsTheStyleThatGivesItsHeight) {
  const RichDocument document = read("\\f1\\fs20\\par\\f0 x\\par");
  ASSERT_EQ(document.paragraphs.size(), 2u);
  ASSERT_EQ(document.paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(document.paragraphs[0].runs[0].text, "");
  EXPECT_EQ(document.paragraphs[0].runs[0].style.font, "Times New Roman");
  EXPECT_EQ(document.paragraphs[0].runs[0].style.halfPoints, 20);
}

TEST(RtfReader, DamagedInputIsReadAsFarAsItMakesSense) {
  // Cut escapes and a lone backslash at the end say nothing; unbalanced
  // braces are dropped; text without a closing \par is still a paragraph.
  const std::pair<std::string, std::string> cases[] = {
      {"{\\rtf1 ab\\'4", "ab"}, {"{\\rtf1 ab\\'", "ab"},     {"{\\rtf1 ab\\", "ab"}, {"}}{\\rtf1 a}}}b", "ab"},
      {"a\\'zzb", "azzb"},      {"{\\rtf1 \\b a\\b-", "a-"}, {"x\\'4zy", "xzy"},
  };
  for (const auto& [bytes, text] : cases) {
    const RichDocument document = readRtf(bytes);
    ASSERT_EQ(document.paragraphs.size(), 1u) << bytes;
    EXPECT_EQ(textOf(document.paragraphs[0]), text) << bytes;
  }
  EXPECT_TRUE(readRtf("").paragraphs.empty());

  // Numbers beyond reason are held in range; tables that do not name a
  // font or colour give none.
  const RichDocument odd = read("\\fs99999999999999\\li-99999999999\\fi7777777\\f9\\cf9 x\\par");
  const RichParagraph& paragraph = odd.paragraphs.at(0);
  EXPECT_EQ(paragraph.runs.at(0).style, (TextStyle{"", MaxHalfPoints, false, false, 0}));
  EXPECT_EQ(paragraph.leftIndentTwips, -MaxIndentTwips);
  EXPECT_EQ(paragraph.firstLineIndentTwips, MaxIndentTwips);
}

TEST(RtfReader, NestingBeyondTheLimitKeepsItsStateAndUnwindsRight) {
  constexpr int depth = 100000;  // far beyond MaxRtfNesting; no recursion, no stack overflow
  const std::string bytes = "{\\rtf1 {\\b " + std::string(depth, '{') + "x" + std::string(depth, '}') + "y}z\\par}";
  const RichDocument document = readRtf(bytes);
  const auto& runs = document.paragraphs.at(0).runs;
  ASSERT_EQ(textOf(document.paragraphs[0]), "xy|z");
  EXPECT_TRUE(runs[0].style.bold);
  EXPECT_FALSE(runs[1].style.bold);
}

}  // namespace
}  // namespace zl
