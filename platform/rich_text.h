// A formatted text as plain data: paragraphs of runs, each run one piece of
// text in one style. The help page shows such a document; the program reads
// it from its RTF help text (app/rtf_reader.h), and the window lays it out
// with its own toolkit.
//
// Texts are Windows-1252 bytes, as every text of the program. Inside a run,
// '\n' is a line break within the paragraph and '\t' a tab; no other
// control character occurs. Plain values, nothing here fails.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zl {

struct TextStyle {
  std::string font;     // the face name, "" when the text names none
  int halfPoints = 24;  // the size in half points (RTF's unit): 20 is 10 pt
  bool bold = false;
  bool underline = false;
  std::uint32_t rgb = 0;  // 0xRRGGBB; black unless coloured

  bool operator==(const TextStyle&) const = default;
};

struct TextRun {
  std::string text;
  TextStyle style;
};

enum class ParagraphAlignment { Left, Centre, Right, Justified };

struct RichParagraph {
  // Neighbouring runs differ in style. An empty paragraph (an empty line)
  // holds one run without text, whose style gives the line its height.
  std::vector<TextRun> runs;
  ParagraphAlignment alignment = ParagraphAlignment::Left;
  // In twips (1/1440 inch): where the lines start, and where the first line
  // starts relative to them (negative: a hanging first line).
  int leftIndentTwips = 0;
  int firstLineIndentTwips = 0;
  // A bulleted list item: the bullet stands in the hanging first line.
  bool bullet = false;
};

struct RichDocument {
  std::vector<RichParagraph> paragraphs;
};

}  // namespace zl
