#include "test_support/fake_printer.h"

#include <gtest/gtest.h>

#include "store/cp1252.h"
#include "store/utf8.h"

namespace zl {

bool FakePrinter::showPrintDialog(const std::string& name) {
  calls.push_back("dialog " + name);
  return dialogAccepted;
}

bool FakePrinter::beginDocument() {
  calls.push_back("begin");
  pages.clear();
  if (documentStarts) pages.emplace_back();
  return documentStarts;
}

void FakePrinter::newPage() {
  calls.push_back("newPage");
  pages.emplace_back();
}

PrinterFont FakePrinter::createFont(const std::string& face, int fontHeight, int weight) {
  fonts.push_back({face, fontHeight, weight});
  return static_cast<PrinterFont>(fonts.size() - 1);
}

int FakePrinter::selectedHeight() const {
  if (selected_ < 0 || static_cast<std::size_t>(selected_) >= fonts.size()) {
    ADD_FAILURE() << "text measured or drawn without a font";
    return 0;
  }
  return fonts[static_cast<std::size_t>(selected_)].height;
}

int FakePrinter::textWidth(const std::string& text) {
  const int fontHeight = selectedHeight();
  int total = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = nextCodePoint(text, i);
    total += advance ? advance(c, fontHeight) : fontHeight / 2;
  }
  return total;
}

int FakePrinter::textHeight() { return selectedHeight(); }

void FakePrinter::drawText(int x, int y, const std::string& text, std::uint32_t textRgb, std::uint32_t backgroundRgb) {
  if (pages.empty()) {
    ADD_FAILURE() << "text drawn outside a document";
    return;
  }
  pages.back().texts.push_back({x, y, text, selected_, textRgb, backgroundRgb});
}

void FakePrinter::drawLine(int x1, int y1, int x2, int y2) {
  if (pages.empty()) {
    ADD_FAILURE() << "line drawn outside a document";
    return;
  }
  pages.back().lines.push_back({x1, y1, x2, y2});
}

}  // namespace zl
