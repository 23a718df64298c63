#include "qt/printer_qt.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "qt/qt_ui.h"

namespace zl {

namespace {

// Qt's print dialog without what the printouts do not apply: its tab of
// copies and pages (all, a range, odd or even ones, the current page, a
// selection, the order). The dialog shows its page choices whenever it is
// shown, so the tab goes after that. It is found by the name Qt gives it;
// where it is missing, it stays, and `printOnceWhole` still applies.
class WholeDocumentPrintDialog : public QPrintDialog {
 public:
  using QPrintDialog::QPrintDialog;
  void setVisible(bool visible) override {
    QPrintDialog::setVisible(visible);
    auto* copiesAndPages = findChild<QWidget*>(QStringLiteral("copiesTab"));
    if (!visible || !copiesAndPages) return;
    for (QTabWidget* tabs : findChildren<QTabWidget*>())
      if (const int index = tabs->indexOf(copiesAndPages); index >= 0) tabs->removeTab(index);
  }
};

// The print server's own options for which pages and how many (the dialog
// hands a range it cannot give the printer, and odd or even pages, to the
// server this way), as Qt's CUPS support names its option list.
constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
constexpr std::array<QLatin1StringView, 3> CupsPageOptions = {
    QLatin1StringView("page-ranges"), QLatin1StringView("page-set"), QLatin1StringView("copies")};

// Makes `printer` print one copy of every page, whatever the dialog set.
void printOnceWhole(QPrinter& printer) {
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setPageRanges(QPageRanges());
  QPrintEngine* engine = printer.printEngine();
  const QStringList options = engine->property(CupsOptions).toStringList();
  QStringList kept;
  for (qsizetype i = 0; i + 1 < options.size(); i += 2)  // name, value, name, value, ...
    if (std::find(CupsPageOptions.begin(), CupsPageOptions.end(), options[i]) == CupsPageOptions.end())
      kept << options[i] << options[i + 1];
  if (kept != options) engine->setProperty(CupsOptions, kept);
}

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
  printer_.reset();  // what the last printout chose (copies, pages, a file) does not carry over
  QPrinter& target = printer();
  target.setDocName(QString::fromStdString(name));
  if (!pdfPath_.isEmpty()) {
    target.setOutputFormat(QPrinter::PdfFormat);
    target.setOutputFileName(pdfPath_);
    return true;
  }
  WholeDocumentPrintDialog dialog(&target, ui_.window());
  // Printing to a file stays offered: on a machine without a printer it is
  // the only way to print.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (ui_.execDialog(dialog) != QDialog::Accepted) return false;
  printOnceWhole(target);
  return true;
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
  QFont font(QString::fromStdString(face));
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
  return painter_ ? painter_->fontMetrics().horizontalAdvance(QString::fromStdString(text)) : 0;
}

int QtPrinter::textHeight() { return painter_ ? painter_->fontMetrics().height() : 0; }

void QtPrinter::drawText(int x, int y, const std::string& text, std::uint32_t textRgb, std::uint32_t backgroundRgb) {
  if (!painter_) return;
  painter_->setPen(QColor(QRgb{textRgb}));
  painter_->setBackground(QColor(QRgb{backgroundRgb}));
  painter_->setBackgroundMode(Qt::OpaqueMode);
  painter_->drawText(QPoint(x, y + painter_->fontMetrics().ascent()), QString::fromStdString(text));
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
