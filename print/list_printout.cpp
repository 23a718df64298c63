#include "print/list_printout.h"

#include <cmath>

#include "platform/paths.h"
#include "platform/printer.h"
#include "print/texts.h"
#include "state/program.h"
#include "store/cp1252.h"
#include "store/path_names.h"

namespace zl {

namespace {

constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t White = 0xFFFFFF;

// Rows start 36 mm down and follow every 4 mm while above 275 mm.
constexpr float FirstRowY = 36;
constexpr float RowStep = 4;
constexpr float RowsEndY = 275;

// The rows a page holds: as many as the row loop below draws (60).
constexpr std::int64_t rowsPerPage() {
  std::int64_t rows = 0;
  for (float rowY = FirstRowY; rowY < RowsEndY; rowY += RowStep) ++rows;
  return rows;
}
constexpr std::int64_t RowsPerPage = rowsPerPage();

struct ListFonts {
  PrinterFont head, table, footer;
};

}  // namespace

PrinterFont createListFont(Printer& printer, float sizeMm, int weight) {
  const int sizeValue = mmToDeviceY(printer, sizeMm);
  const int height = static_cast<int>(std::lrint(sizeValue * printer.screenDotsPerInch() / 72.0));
  return printer.createFont("Arial", height, weight);
}

namespace {

ListFonts createListFonts(Printer& printer) {
  constexpr int Bold = 700;
  constexpr int Normal = 400;
  return {createListFont(printer, 3.5F, Bold), createListFont(printer, 2.5F, Bold),
          createListFont(printer, 2.5F, Normal)};
}

bool isUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::size_t characterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char byte : utf8) count += isUtf8Continuation(byte) ? 0 : 1;
  return count;
}

// The byte offset where character `index` of `utf8` starts; its size when
// the text has no more characters.
std::size_t characterOffset(std::string_view utf8, std::size_t index) {
  for (std::size_t offset = 0; offset < utf8.size(); ++offset) {
    if (isUtf8Continuation(utf8[offset])) continue;
    if (index == 0) return offset;
    --index;
  }
  return utf8.size();
}

// The longest shortened form of `text` that fits into `width`, or "" when
// none does. Removing k characters (not bytes: a letter may take several)
// gives one form, and each form is at most as wide as the one before, so a
// binary search over k finds the same form as removing one character at a
// time, with a few measurements instead of one per character.
std::string shortened(Printer& printer, const std::string& text, TextAlignment alignment, const std::string& mark,
                      int width) {
  const std::size_t length = characterCount(text);
  const auto characters = [&](std::size_t first, std::size_t count) {
    const std::size_t begin = characterOffset(text, first);
    return text.substr(begin, characterOffset(text, first + count) - begin);
  };
  const auto form = [&](std::size_t removed) {
    if (alignment == TextAlignment::Left) return characters(0, length - removed) + mark;
    if (alignment == TextAlignment::Right) return mark + characters(removed, length - removed);
    // Centred: alternately from the end and from the beginning, the end first.
    return mark + characters(removed / 2, length - removed) + mark;
  };
  std::size_t low = 0;
  std::size_t high = length + 1;  // length + 1 stands for "none fits"
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (printer.textWidth(form(middle)) <= width)
      high = middle;
    else
      low = middle + 1;
  }
  return low > length ? std::string() : form(low);
}

}  // namespace

int mmToDeviceX(const Printer& printer, float mm) {
  return static_cast<int>(std::lrint(printer.pageWidth() / 210.0 * mm));
}

int mmToDeviceY(const Printer& printer, float mm) {
  return static_cast<int>(std::lrint(printer.pageHeight() / 297.0 * mm));
}

int drawFittedText(Printer& printer, int x, int y, int width, TextAlignment alignment, std::string text, bool ellipsis,
                   std::uint32_t textRgb, std::uint32_t backgroundRgb) {
  if (width == 0) width = printer.pageWidth() - 2 * x;
  int textWidth = printer.textWidth(text);
  if (textWidth > width) {
    text = shortened(printer, text, alignment, ellipsis ? "..." : "", width);
    textWidth = printer.textWidth(text);
  }
  if (alignment == TextAlignment::Right) x += width - textWidth;
  if (alignment == TextAlignment::Centre) x += (width - textWidth) / 2;
  printer.drawText(x, y, text, textRgb, backgroundRgb);
  return printer.textHeight();
}

void printVocabularyList(Program& program) {
  Printer& printer = program.printer;
  if (!printer.showPrintDialog(print_text::ListDocumentName)) return;
  if (!printer.beginDocument()) return;
  program.controls.showStatusMessage(print_text::Printing);
  const ListFonts fonts = createListFonts(printer);

  const auto x = [&](float mm) { return mmToDeviceX(printer, mm); };
  const auto y = [&](float mm) { return mmToDeviceY(printer, mm); };
  const auto draw = [&](float left, float top, float width, TextAlignment alignment, const std::string& text) {
    drawFittedText(printer, x(left), y(top), x(width), alignment, text, true, Black, White);
  };
  constexpr auto Left = TextAlignment::Left;
  constexpr auto Right = TextAlignment::Right;

  // The path is the system's bytes; what is not UTF-8 in it prints as U+FFFD.
  const std::string fileName = wellFormedUtf8(fileNameOf(program.file.currentPath));
  VocabList& list = program.list;
  const KeepListPosition keep(list);
  const std::int64_t pageCount = list.size() / RowsPerPage + (list.size() % RowsPerPage != 0 ? 1 : 0);
  std::int64_t page = 0;
  list.reset();
  while (list.next()) {
    ++page;
    printer.selectFont(fonts.head);
    draw(15, 11, 49, Left, print_text::FileHead);
    draw(65, 11, 130, Left, print_text::HeadSeparator + fileName);
    draw(15, 17, 49, Left, print_text::CountHead);
    draw(65, 17, 130, Left, print_text::HeadSeparator + std::to_string(program.list.size()));
    printer.selectFont(fonts.table);
    draw(15, 24, 70, Left, print_text::VocabularyColumn);
    draw(90, 24, 70, Left, print_text::TranslationColumn);
    draw(165, 24, 15, Right, print_text::RightColumn);
    draw(180, 24, 15, Right, print_text::WrongColumn);
    printer.drawLine(x(15), y(31), x(195), y(31));

    for (float rowY = FirstRowY;;) {
      const PairView pair = list[list.position()];
      draw(15, rowY, 73, Left, utf8FromCp1252(pair.vocabulary));
      draw(90, rowY, 73, Left, utf8FromCp1252(pair.translation));
      draw(165, rowY, 15, Right, std::to_string(pair.correctCount));
      draw(180, rowY, 15, Right, std::to_string(pair.wrongCount));
      rowY += RowStep;
      if (!(rowY < RowsEndY) || !list.next()) break;  // a full page keeps its last pair current
    }

    printer.selectFont(fonts.footer);
    draw(15, 280, 0, TextAlignment::Centre,
         print_text::PageFooter + std::to_string(page) + print_text::PageOf + std::to_string(pageCount));
    if (list.position() < list.size() - 1) printer.newPage();
  }
  printer.endDocument();
}

}  // namespace zl
