#include "app/help_document.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/rtf_reader.h"
#include "app/window_layout.h"
#include "state/program.h"
#include "store/cp1252.h"

namespace zl {
namespace {

constexpr std::uint32_t Black = 0x000000, Blue = 0x0000FF, Green = 0x008000, Red = 0xFF0000;

std::string textOf(const RichParagraph& paragraph) {
  std::string text;
  for (const TextRun& run : paragraph.runs) text += run.text;
  return text;
}

bool isHeading(const RichParagraph& paragraph) { return paragraph.alignment == ParagraphAlignment::Centre; }

// The shipped document's paragraphs, topic by topic, each from its heading.
std::vector<std::vector<RichParagraph>> topics() {
  std::vector<std::vector<RichParagraph>> topics;
  for (RichParagraph& paragraph : readRtf(helpDocumentRtf()).paragraphs) {
    if (isHeading(paragraph) || topics.empty()) topics.emplace_back();
    topics.back().push_back(std::move(paragraph));
  }
  return topics;
}

// What a topic's paragraphs name in bold black at their start ("Datei - Neu").
std::vector<std::string> boldNames(const std::vector<RichParagraph>& topic) {
  std::vector<std::string> names;
  for (const RichParagraph& paragraph : topic) {
    const TextStyle& style = paragraph.runs.front().style;
    if (!isHeading(paragraph) && style.bold && style.rgb == Black) names.push_back(paragraph.runs.front().text);
  }
  return names;
}

TEST(HelpDocument, IsAsciiRtfWithCrLfLineEnds) {
  const std::string_view rtf = helpDocumentRtf();
  EXPECT_TRUE(
      rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031\\deflangfe1031\\deftab708"
                      "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}"
                      "{\\f2\\froman\\fcharset2 Symbol;}{\\f3\\ftech\\fcharset2 Symbol;}}\r\n"
                      "{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green128\\blue0;\\red255\\green0\\blue0;}\r\n"));
  EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  std::ptrdiff_t lineEnds = 0;
  for (std::size_t i = rtf.find("\r\n"); i != std::string_view::npos; i = rtf.find("\r\n", i + 2)) ++lineEnds;
  EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '\r'), lineEnds);
  EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '\n'), lineEnds);
}

TEST(HelpDocument, SixTopicsUnderBlueHeadingsApartByALineAndAnEmptyLine) {
  const auto all = topics();
  std::vector<std::string> headings;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const RichParagraph& heading = all[i].front();
    EXPECT_EQ(heading.runs.at(0).style, (TextStyle{"Arial", 28, true, true, Blue}));
    headings.push_back(textOf(heading));
    const std::size_t size = all[i].size();
    const bool last = i + 1 == all.size();
    EXPECT_EQ(textOf(all[i][size - 2]) == std::string(81, '_') && textOf(all[i][size - 1]).empty(), !last)
        << headings.back();
  }
  EXPECT_EQ(headings, (std::vector<std::string>{"Hilfe zum Zelvo Lingotak", "Vokabeleingabe", "Vokabelabfrage",
                                                "Menü-, Status- und Symbolleiste"_w, "History", "Lizenz"}));
  // The overview: a green line, then the five further headings in red bold.
  std::vector<std::string> named;
  for (const RichParagraph& paragraph : all[0]) {
    const TextStyle& style = paragraph.runs.front().style;
    if (style.rgb == Green) {
      EXPECT_EQ(textOf(paragraph), "Übersicht der Hilfethemen:"_w);
      EXPECT_TRUE(style.bold && style.underline && named.empty());
    }
    if (style.rgb == Red && style.bold) named.push_back(textOf(paragraph));
  }
  EXPECT_EQ(named, std::vector<std::string>(headings.begin() + 1, headings.end()));
}

TEST(HelpDocument, BodyTextIsTenPointArialBrokenAtMostAfter95Characters) {
  for (const RichParagraph& paragraph : readRtf(helpDocumentRtf()).paragraphs) {
    const std::string text = textOf(paragraph);
    if (isHeading(paragraph) || text.find_first_not_of('_') == std::string::npos) continue;  // and empty lines
    for (const TextRun& run : paragraph.runs)
      EXPECT_EQ(run.style.font + std::to_string(run.style.halfPoints), "Arial20");
    std::size_t lineStart = 0;
    for (std::size_t end = text.find('\n'); lineStart <= text.size(); end = text.find('\n', lineStart)) {
      end = std::min(end, text.size());
      EXPECT_LE(end - lineStart, 95u) << text.substr(lineStart, end - lineStart);
      lineStart = end + 1;
    }
  }
}

TEST(HelpDocument, TheMenuTopicNamesEveryEntryInMenuOrderAndTheNineButtons) {
  const auto menuTopic = topics().at(3);
  std::vector<std::string> entries, described;
  for (const MenuItem& item : menuItems())
    if (item.id != 0)
      entries.push_back(cp1252FromUtf8(menuTitles()[static_cast<std::size_t>(item.menu)]) + " - " +
                        cp1252FromUtf8(item.text));
  for (const std::string& name : boldNames(menuTopic))
    if (std::find(entries.begin(), entries.end(), name) != entries.end()) described.push_back(name);
  EXPECT_EQ(described, entries);

  std::string buttons;  // "Neu, Öffnen, ..., Homepage und Info"
  std::vector<std::string_view> tips;
  for (const ToolButton& button : toolButtons())
    if (button.id != 0) tips.push_back(button.tooltip);
  ASSERT_EQ(tips.size(), 9u);
  for (std::size_t i = 0; i < tips.size(); ++i)
    buttons += (i == 0 ? "" : i + 1 < tips.size() ? ", " : " und ") + cp1252FromUtf8(tips[i]);
  std::string topic;
  for (const RichParagraph& paragraph : menuTopic) topic += textOf(paragraph) + " ";
  std::replace(topic.begin(), topic.end(), '\n', ' ');
  EXPECT_NE(topic.find(buttons), std::string::npos) << buttons;
  const auto names = boldNames(menuTopic);
  for (const char* own : {"Internet Update - Schaltfläche", "Homepage - Schaltfläche"})
    EXPECT_NE(std::find(names.begin(), names.end(), cp1252FromUtf8(own)), names.end()) << own;
}

TEST(HelpDocument, HistoryStartsAtThisVersionAndTheLicenceNamesTheCopyright) {
  const auto all = topics();
  const AppConstants constants = buildConstants();
  EXPECT_EQ(boldNames(all.at(4)).at(0), "Version: " + constants.versionText);
  EXPECT_TRUE(std::any_of(all[4].begin(), all[4].end(), [](const RichParagraph& p) { return p.bullet; }));
  const auto licence = boldNames(all.at(5));
  EXPECT_NE(std::find(licence.begin(), licence.end(), constants.copyrightLine), licence.end());
}

}  // namespace
}  // namespace zl
