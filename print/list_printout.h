// The printout of the whole vocabulary list: a table of every pair with its
// counts, at most 60 rows a page, under a head naming the file and the
// number of pairs, with "Seite: n von m" centred at the foot of every page.
//
// Positions are millimetres of a nominal 210 x 297 mm sheet, stretched to
// the printable area the printer reports, so the layout fills any paper.
// The printout reads the list and the file state and changes neither: the
// pair that was current (the one a test asks, say) is current again at the
// end. A cancelled dialog or a document that cannot be started ends it
// silently; nothing is ever reported.
#pragma once

#include <cstdint>
#include <string>

#include "platform/printer.h"

namespace zl {

struct Program;

// Device pixels of `mm` millimetres across (of 210) and down (of 297) the
// printable area: round(width / 210 * mm), halves to the even neighbour.
int mmToDeviceX(const Printer& printer, float mm);
int mmToDeviceY(const Printer& printer, float mm);

// An Arial font of the printout, `sizeMm` millimetres of the page taken as
// points on the screen (as the window's fonts are, so the printout's letters
// keep the proportions the layout was drawn for), in `weight` (400, 700).
PrinterFont createListFont(Printer& printer, float sizeMm, int weight);

enum class TextAlignment { Left, Right, Centre };

// Draws `text` (UTF-8) in the selected font into the box of `width` pixels
// whose left edge is at x, the top of the text at y; a width of 0 spans the
// page minus x on both sides. A text that fits is drawn as it is. A wider
// one loses characters (letters, however many bytes each takes) until it
// fits together with its mark ("..." with `ellipsis`, none without): a
// left-aligned text keeps its longest beginning, followed by the mark; a
// right-aligned one its longest ending, after the mark; a centred one loses
// characters alternately at its end and at its beginning, first at the end,
// with the mark on both sides. When not even the marks alone fit, nothing
// is drawn. Returns the text height.
int drawFittedText(Printer& printer, int x, int y, int width, TextAlignment alignment, std::string text, bool ellipsis,
                   std::uint32_t textRgb, std::uint32_t backgroundRgb);

// The print command outside the help page: the print dialog, then every
// pair of the list on as many pages as it takes, no empty one after the
// last row. The head names the current file as the system spells it, in
// any script. Shows "Drucken..." with a wait cursor while it prints.
void printVocabularyList(Program& program);

}  // namespace zl
