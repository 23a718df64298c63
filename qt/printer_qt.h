// The printer on Qt's print support: Qt's own print dialog (which offers
// printing to a PDF file also where no printer is set up) without its choice
// of pages and copies, a QPrinter made anew for every printout so that it
// starts from the defaults (one copy of all pages, no file chosen before),
// and a QPainter while a document is open.
//
// The help printout lays out a copy of the help viewer's document page by
// page itself: QTextDocument::print would add page numbers and margins of
// its own. Tests and benchmarks give a PDF file instead of the dialog.
#pragma once

#include <QFont>
#include <QString>
#include <memory>
#include <vector>

#include "platform/printer.h"

class QPainter;
class QPrinter;

namespace zl {

class QtUi;

class QtPrinter : public Printer {
 public:
  // Prints to the printer chosen in the dialog over `ui`'s window.
  explicit QtPrinter(QtUi& ui);
  // Prints to the PDF file `pdfPath` without asking; the dialog is never
  // shown.
  QtPrinter(QtUi& ui, const QString& pdfPath);
  ~QtPrinter() override;

  bool showPrintDialog(const std::string& name) override;
  bool beginDocument() override;
  void newPage() override;
  void endDocument() override;
  int pageWidth() const override;
  int pageHeight() const override;
  double screenDotsPerInch() const override;
  PrinterFont createFont(const std::string& face, int height, int weight) override;
  void selectFont(PrinterFont font) override;
  int textWidth(const std::string& text) override;
  int textHeight() override;
  void drawText(int x, int y, const std::string& text, std::uint32_t textRgb, std::uint32_t backgroundRgb) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  void printHelpDocument() override;

 private:
  // Made by the dialog of every printout, or at the first use before one:
  // asking the system for its printers takes time that start-up should not
  // spend.
  QPrinter& printer() const;

  QtUi& ui_;
  QString pdfPath_;
  mutable std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;  // while a document is open
  std::vector<QFont> fonts_;
};

}  // namespace zl
