// A printer for tests: it answers the dialog and the start of a document as
// told, measures text by a fixed rule and records every page it is given.
//
// The page is the worked example's printable area (4760 x 6814 pixels) on a
// screen of 96 dots per inch unless a test says otherwise. A character (a
// code point of the UTF-8 text) is half as wide as its font is high, unless
// `advance` says otherwise, so a test can work out every width by hand.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace zl {

struct FakeFont {
  std::string face;
  int height = 0;
  int weight = 0;
};

struct PrintedText {
  int x = 0, y = 0;
  std::string text;
  PrinterFont font = -1;
  std::uint32_t textRgb = 0, backgroundRgb = 0;
};

struct PrintedLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct PrintedPage {
  std::vector<PrintedText> texts;
  std::vector<PrintedLine> lines;
};

class FakePrinter : public Printer {
 public:
  // --- script ---
  bool dialogAccepted = true;
  bool documentStarts = true;
  int width = 4760;
  int height = 6814;
  double dotsPerInch = 96;
  // The width of character `c` in a font `fontHeight` pixels high.
  std::function<int(char32_t c, int fontHeight)> advance;

  // --- record ---
  // What was asked, in order: "dialog NAME", "begin", "newPage", "end", "help".
  std::vector<std::string> calls;
  std::vector<FakeFont> fonts;
  std::vector<PrintedPage> pages;  // of the last document

  // --- Printer ---
  bool showPrintDialog(const std::string& name) override;
  bool beginDocument() override;
  void newPage() override;
  void endDocument() override { calls.push_back("end"); }
  int pageWidth() const override { return width; }
  int pageHeight() const override { return height; }
  double screenDotsPerInch() const override { return dotsPerInch; }
  PrinterFont createFont(const std::string& face, int fontHeight, int weight) override;
  void selectFont(PrinterFont font) override { selected_ = font; }
  int textWidth(const std::string& text) override;
  int textHeight() override;
  void drawText(int x, int y, const std::string& text, std::uint32_t textRgb, std::uint32_t backgroundRgb) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  void printHelpDocument() override { calls.push_back("help"); }

 private:
  int selectedHeight() const;
  PrinterFont selected_ = -1;
};

}  // namespace zl
