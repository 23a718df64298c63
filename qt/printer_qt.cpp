#include "qt/printer_qt.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "qt/cp1252_qt.h"
#include "qt/qt_ui.h"

namespace zl {

namespace {

// Where the help text goes on every page, in the painter's coordinates (the
// printable area's): from the printer's unprintable margins, counted once
// more inside the printable area, to its right and bottom edges.
QRect helpTextArea(const QPrinter& printer) {
  const QPoint offset = printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
  return QRect(offset, QSize(printer.width() - offset.x(), printer.height() - offset.y()));
}

// Draws the part of the laid-out `document` that lies in `view`, one page.
void drawHelpPage(QPainter& painter, QTextDocument& document, const QRectF& view) {
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Qt::black);
  // The layout draws every line that touches the clip, and of a paragraph
  // begun on an earlier page also its last line there: clipped, unseen, but
  // in the file, where a search or a copy would find it twice. So the clip
  // stays inside the page, and the lines of such a paragraph on this page
  // are drawn one by one, while the layout draws the rest.
  context.clip = view.adjusted(0, 1, 0, -1);
  // A line pushed to this page may start a hair above it.
  const auto onEarlierPage = [&](const QTextLayout* lines, int i) {
    return lines->position().y() + lines->lineAt(i).y() <= view.top() - 1;
  };
  std::vector<QTextBlock> continued;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* lines = block.layout();
    const int count = lines->lineCount();
    if (block.isVisible() && count > 0 && onEarlierPage(lines, 0) && !onEarlierPage(lines, count - 1)) {
      continued.push_back(block);
      block.setVisible(false);  // skipped in drawing only: the layout stays as it is
    }
  }
  document.documentLayout()->draw(&painter, context);
  painter.setPen(Qt::black);
  for (QTextBlock& block : continued) {
    block.setVisible(true);
    const QTextLayout* lines = block.layout();
    for (int i = 0; i < lines->lineCount(); ++i) {
      const QTextLine line = lines->lineAt(i);
      if (!onEarlierPage(lines, i) && lines->position().y() + line.y() <= context.clip.bottom())
        line.draw(&painter, lines->position());
    }
  }
}

}  // namespace

QtPrinter::QtPrinter(QtUi& ui) : ui_(ui) {}

QtPrinter::QtPrinter(QtUi& ui, const QString& pdfPath) : ui_(ui), pdfPath_(pdfPath) {}

QtPrinter::~QtPrinter() = default;

QPrinter& QtPrinter::printer() const {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool QtPrinter::showPrintDialog(const std::string& name) {
  QPrinter& target = printer();
  const QString docName = toQString(name);
  // A file chosen for the list should not be offered for the help, nor the
  // other way round: another document is proposed under its own name, in the
  // folder chosen last.
  if (target.docName() != docName && !target.outputFileName().isEmpty())
    target.setOutputFileName(QFileInfo(target.outputFileName()).dir().filePath(docName + QStringLiteral(".pdf")));
  target.setDocName(docName);
  if (!pdfPath_.isEmpty()) {
    target.setOutputFormat(QPrinter::PdfFormat);
    target.setOutputFileName(pdfPath_);
    return true;
  }
  QPrintDialog dialog(&target, ui_.window());
  // Printing to a file stays offered: on a machine without a printer it is
  // the only way to print. Copies go to the printer; every page is printed.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                    QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
  dialog.setMinMax(1, 65535);
  return ui_.execDialog(dialog) == QDialog::Accepted;
}

bool QtPrinter::beginDocument() {
  painter_ = std::make_unique<QPainter>();
  if (painter_->begin(&printer())) return true;
  painter_.reset();
  return false;
}

void QtPrinter::newPage() { printer().newPage(); }

void QtPrinter::endDocument() {
  if (painter_) painter_->end();
  painter_.reset();
  fonts_.clear();
}

int QtPrinter::pageWidth() const { return printer().width(); }

int QtPrinter::pageHeight() const { return printer().height(); }

double QtPrinter::screenDotsPerInch() const { return zl::screenDotsPerInch(Qt::Vertical); }

PrinterFont QtPrinter::createFont(const std::string& face, int height, int weight) {
  QFont font(toQString(face));
  font.setPixelSize(std::max(1, height));  // a character height, as the pixel size is
  font.setWeight(static_cast<QFont::Weight>(weight));
  fonts_.push_back(font);
  return static_cast<PrinterFont>(fonts_.size() - 1);
}

void QtPrinter::selectFont(PrinterFont font) {
  if (painter_ && font >= 0 && static_cast<std::size_t>(font) < fonts_.size())
    painter_->setFont(fonts_[static_cast<std::size_t>(font)]);
}

int QtPrinter::textWidth(const std::string& text) {
  return painter_ ? painter_->fontMetrics().horizontalAdvance(toQString(text)) : 0;
}

int QtPrinter::textHeight() { return painter_ ? painter_->fontMetrics().height() : 0; }

void QtPrinter::drawText(int x, int y, const std::string& text, std::uint32_t textRgb, std::uint32_t backgroundRgb) {
  if (!painter_) return;
  painter_->setPen(QColor(QRgb{textRgb}));
  painter_->setBackground(QColor(QRgb{backgroundRgb}));
  painter_->setBackgroundMode(Qt::OpaqueMode);
  painter_->drawText(QPoint(x, y + painter_->fontMetrics().ascent()), toQString(text));
}

void QtPrinter::drawLine(int x1, int y1, int x2, int y2) {
  if (!painter_) return;
  painter_->setPen(QPen(Qt::black, 1));
  painter_->drawLine(x1, y1, x2, y2);
}

void QtPrinter::printHelpDocument() {
  const auto* viewer = ui_.window() ? qobject_cast<const QTextEdit*>(ui_.window()->control(HelpViewer)) : nullptr;
  if (!viewer) return;
  QPrinter& target = printer();
  if (!beginDocument()) return;
  QPainter& painter = *painter_;

  // A copy laid out as the viewer lays it out, at the screen's resolution
  // (so fonts given in pixels keep their size too), in pages of the text
  // area; the painter scales it to the printer's. The layout moves a line
  // that would cross a page's bottom to the next page, so every page starts
  // with the first line the one before left out.
  const QRect area = helpTextArea(target);
  const double scaleX = target.logicalDpiX() / zl::screenDotsPerInch(Qt::Horizontal);
  const double scaleY = target.logicalDpiY() / zl::screenDotsPerInch(Qt::Vertical);
  const std::unique_ptr<QTextDocument> document(viewer->document()->clone());
  QTextFrameFormat frame = document->rootFrame()->frameFormat();
  frame.setMargin(0);
  document->rootFrame()->setFrameFormat(frame);
  const QSizeF page(area.width() / scaleX, area.height() / scaleY);
  document->setPageSize(page);

  for (int number = 0; number < document->pageCount(); ++number) {
    if (number > 0) newPage();
    const QRectF view(QPointF(0, number * page.height()), page);
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scaleX, scaleY);
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    drawHelpPage(painter, *document, view);
    painter.restore();
  }
  endDocument();
}

}  // namespace zl
