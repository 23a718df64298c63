// The printer as the printouts see it: the print dialog, a document of
// pages, fonts, measured and drawn text, lines, and the help viewer's own
// page layout.
//
// Abstract so tests can fake it: the real version is Qt's print support
// (qt/printer_qt.h), the fake records every page and measures text
// by a fixed rule. Coordinates are device pixels of the printable area, its
// top-left corner at (0, 0). Texts are UTF-8, so that a file name the
// system gives in any script prints as it is; a printout converts its
// Windows-1252 texts. Measuring and drawing need a started document; nothing
// reports an error except the dialog and the start of a document.
#pragma once

#include <cstdint>
#include <string>

namespace zl {

// A font made by `createFont`, valid until the document ends.
using PrinterFont = int;

class Printer {
 public:
  virtual ~Printer() = default;

  // Shows the print dialog over the window for a document named `name`,
  // which the printer shows in its queue (a PDF file as its title). Every
  // printout starts from the printer's defaults, and whatever is chosen in
  // the dialog, the document goes out once, with all its pages: the dialog
  // offers no choice of pages. False when the user cancels it; then nothing
  // else has changed.
  virtual bool showPrintDialog(const std::string& name) = 0;
  // Starts the document on the printer chosen in the dialog, with its first
  // page. False when it cannot be started; nothing is printed then.
  virtual bool beginDocument() = 0;
  // Ends the current page and starts the next.
  virtual void newPage() = 0;
  // Ends the last page and the document; it goes to the printer.
  virtual void endDocument() = 0;

  // The printable area of a page, in device pixels.
  virtual int pageWidth() const = 0;
  virtual int pageHeight() const = 0;
  // The screen's vertical resolution, against which font sizes are given.
  virtual double screenDotsPerInch() const = 0;

  // A font of `face` whose characters are `height` device pixels high (a
  // character height, not a cell height); `weight` 400 is normal, 700 bold.
  virtual PrinterFont createFont(const std::string& face, int height, int weight) = 0;
  // Measuring and drawing use this font from now on.
  virtual void selectFont(PrinterFont font) = 0;
  virtual int textWidth(const std::string& text) = 0;
  virtual int textHeight() = 0;  // of the selected font
  // Draws `text` with the top-left corner of its cell at (x, y); the colours
  // are 0xRRGGBB.
  virtual void drawText(int x, int y, const std::string& text, std::uint32_t textRgb, std::uint32_t backgroundRgb) = 0;
  // A black line one device pixel thick.
  virtual void drawLine(int x1, int y1, int x2, int y2) = 0;

  // Prints the help viewer's text as it is formatted there, page after page,
  // as the document on the printer chosen in the dialog. Without a help
  // viewer, or when the document cannot be started, nothing is printed.
  virtual void printHelpDocument() = 0;
};

}  // namespace zl
