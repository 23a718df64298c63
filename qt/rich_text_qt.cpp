#include "qt/rich_text_qt.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <algorithm>

#include "qt/cp1252_qt.h"

namespace zl {

namespace {

constexpr double TwipsPerInch = 1440.0;

QTextCharFormat charFormatOf(const TextStyle& style) {
  QTextCharFormat format;
  if (!style.font.empty()) format.setFontFamilies({toQString(style.font)});
  format.setFontPointSize(style.halfPoints / 2.0);
  format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
  format.setFontUnderline(style.underline);
  format.setForeground(QColor::fromRgb(style.rgb));
  return format;
}

Qt::Alignment alignmentOf(ParagraphAlignment alignment) {
  switch (alignment) {
    case ParagraphAlignment::Left:
      return Qt::AlignLeft;
    case ParagraphAlignment::Centre:
      return Qt::AlignHCenter;
    case ParagraphAlignment::Right:
      return Qt::AlignRight;
    case ParagraphAlignment::Justified:
      return Qt::AlignJustify;
  }
  return Qt::AlignLeft;
}

QTextBlockFormat blockFormatOf(const RichParagraph& paragraph, double dotsPerInch) {
  const auto pixels = [dotsPerInch](int twips) { return twips * dotsPerInch / TwipsPerInch; };
  QTextBlockFormat format;
  format.setAlignment(alignmentOf(paragraph.alignment));
  format.setLeftMargin(std::max(0.0, pixels(paragraph.leftIndentTwips)));
  // A bullet stands in the hanging first line; the text of that line starts
  // where the other lines start.
  if (!paragraph.bullet) format.setTextIndent(pixels(paragraph.firstLineIndentTwips));
  return format;
}

// A line break inside a paragraph is Unicode's line separator; a '\n' would
// start a new block.
QString qtText(const std::string& text) {
  QString result = toQString(text);
  result.replace(QLatin1Char('\n'), QChar::LineSeparator);
  return result;
}

}  // namespace

void fillTextDocument(QTextDocument& target, const RichDocument& source, double dotsPerInch) {
  target.setUndoRedoEnabled(false);
  target.clear();
  QTextCursor cursor(&target);
  cursor.beginEditBlock();
  QTextList* list = nullptr;
  bool firstBlock = true;
  for (const RichParagraph& paragraph : source.paragraphs) {
    const QTextBlockFormat blockFormat = blockFormatOf(paragraph, dotsPerInch);
    // The paragraph mark's style: the height of an empty line, the bullet's font.
    const QTextCharFormat markFormat =
        charFormatOf(paragraph.runs.empty() ? TextStyle{} : paragraph.runs.front().style);
    if (firstBlock) {
      cursor.setBlockFormat(blockFormat);
      cursor.setBlockCharFormat(markFormat);
      firstBlock = false;
    } else {
      cursor.insertBlock(blockFormat, markFormat);
    }
    if (!paragraph.bullet) {
      list = nullptr;
    } else if (list) {
      list->add(cursor.block());
    } else {
      QTextListFormat listFormat;
      listFormat.setStyle(QTextListFormat::ListDisc);
      listFormat.setIndent(0);  // the paragraph's own indent places it
      list = cursor.createList(listFormat);
    }
    for (const TextRun& run : paragraph.runs) cursor.insertText(qtText(run.text), charFormatOf(run.style));
  }
  cursor.endEditBlock();
}

}  // namespace zl
