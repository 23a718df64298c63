// Printing to PDF files through the real window (offscreen), read back with
// poppler's pdftotext and pdfinfo.
#include "qt/printer_qt.h"

#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include "app/dispatch.h"
#include "app/help_document.h"
#include "app/icons.h"
#include "app/interface_state.h"
#include "app/rtf_reader.h"
#include "qt/qt_ui.h"
#include "state/program.h"
#include "test_support/fake_platform.h"

namespace zl {

class PrinterQtTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder;
  QString pdf;
  QtUi* ui = nullptr;
  QtPrinter* printer = nullptr;
  FakeSystem system;
  FakeDesktop desktop;
  PosixFileSystem files;
  FaultyNetwork network;
  SodiumSignatureVerifier signatures;
  Program* program = nullptr;

  void print(Page page) {
    ui->showPage(page);
    dispatchEvent(*program, Event{EventKind::Menu, CmdPrint, EventSubtype::None});
  }
  static QString run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
      qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  // The text of every page, laid out as printed.
  QStringList pagesOf(const QString& file) const {
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
  }
  QString infoOf(const QString& file, const char* field) const {
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    return line.match(run(QStringLiteral("pdfinfo"), {file})).captured(1).trimmed();
  }
  // Where the words of the file stand, on all pages together, in points.
  QRectF wordBounds(const QString& file) const {
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\""));
    QRectF bounds;
    for (const QRegularExpressionMatch& m :
         word.globalMatch(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")})))
      bounds |= QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    return bounds;
  }
  QTextBrowser* viewer() const { return qobject_cast<QTextBrowser*>(ui->window()->control(HelpViewer)); }

  // Runs `step` on the print dialog that the next call shows, then accepts
  // it when `step` says so, else cancels it.
  static void onNextPrintDialog(const std::function<bool(QPrintDialog&)>& step) {
    QTimer::singleShot(0, [step] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      step(*dialog) ? dialog->accept() : dialog->reject();
    });
  }

 private slots:
  void init() {
    QVERIFY(folder.isValid());
    pdf = folder.filePath(QStringLiteral("printout.pdf"));
    QFile::remove(pdf);
    ui = new QtUi;
    printer = new QtPrinter(*ui, pdf);
    program =
        new Program(Platform{*ui, *ui, *ui, *ui, system, desktop, files, *printer, network, signatures}, clearTestPage);
    ui->createFonts();
    ui->setIcons(decodeEmbeddedIcons());
    QVERIFY(ui->buildMainWindow(program->list));
    updateInterfaceState(*program);
  }

  void cleanup() {
    delete program;
    delete printer;
    delete ui;
  }

  void listPrintsItsRowsOnPagesWithHeadAndFooter() {
    const auto pairs = 130;
    for (int i = 1; i <= pairs; ++i)
      program->list.append({"B\xE4r" + std::to_string(i),
                            "Stra\xDF"
                            "e" +
                                std::to_string(i),
                            static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
    ui->appendRows(pairs);
    program->file.currentPath = "/home/anna/Wörter Русский.ltk";  // the system's UTF-8
    print(EntryPage);

    QCOMPARE(infoOf(pdf, "Title"), QStringLiteral("Vokabelliste"));
    const QStringList pages = pagesOf(pdf);
    QCOMPARE(pages.size(), 3);
    const QRegularExpression row(QStringLiteral("^\\s*(\\S+)\\s+(\\S+)\\s+(-?\\d+)\\s+(-?\\d+)\\s*$"));
    int next = 1;
    for (int page = 0; page < pages.size(); ++page) {
      const QString& text = pages[page];
      QVERIFY(text.contains(QRegularExpression(QStringLiteral("Vokabeldatei\\s+: Wörter Русский\\.ltk"))));
      QVERIFY(text.contains(QRegularExpression(QStringLiteral("Anzahl der Vokabeln\\s+: 130"))));
      QVERIFY(text.contains(QRegularExpression(QStringLiteral("Vokabel\\s+Übersetzung\\s+Richtig\\s+Falsch"))));
      QVERIFY(text.contains(QRegularExpression(QStringLiteral("^\\s*Seite: %1 von 3\\s*$").arg(page + 1),
                                               QRegularExpression::MultilineOption)));
      for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch()) continue;
        QCOMPARE(m.captured(1), QStringLiteral("Bär%1").arg(next));
        QCOMPARE(m.captured(2), QStringLiteral("Straße%1").arg(next));
        QCOMPARE(m.captured(3).toInt(), next);
        QCOMPARE(m.captured(4).toInt(), -next);
        ++next;
      }
      QCOMPARE(next - 1, std::min(130, 60 * (page + 1)));
    }
  }

  // Whatever the dialog is given, the job is one copy of every page, and the
  // next dialog starts afresh.
  void dialogSendsOneCopyOfEveryPageAndForgetsItsChoices() {
    QtPrinter dialogPrinter(*ui);
    const QString chosen = folder.filePath(QStringLiteral("chosen.pdf"));
    QPrinter* returned = nullptr;
    onNextPrintDialog([&](QPrintDialog& dialog) {
      returned = dialog.printer();
      // Three copies of pages 2 to 3 into a file, as the dialog could return them.
      dialog.setOptions(dialog.options() | QAbstractPrintDialog::PrintPageRange);
      dialog.findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
      dialog.findChild<QSpinBox*>(QStringLiteral("from"))->setValue(2);
      dialog.findChild<QSpinBox*>(QStringLiteral("to"))->setValue(3);
      dialog.findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(3);
      dialog.findChild<QLineEdit*>(QStringLiteral("filename"))->setText(chosen);
      return true;
    });
    QVERIFY(dialogPrinter.showPrintDialog("Vokabelliste") && returned);
    QCOMPARE(returned->outputFileName(), chosen);
    QCOMPARE(returned->copyCount(), 1);
    QCOMPARE(returned->printRange(), QPrinter::AllPages);
    QVERIFY(returned->pageRanges().isEmpty());

    QString proposed;
    onNextPrintDialog([&](QPrintDialog& dialog) {
      proposed = dialog.findChild<QLineEdit*>(QStringLiteral("filename"))->text();
      return false;
    });
    QVERIFY(!dialogPrinter.showPrintDialog("Vokabelliste"));
    QVERIFY2(proposed != chosen, qPrintable(proposed));
  }

  void helpPrintsEveryLineOnceOnPagesOfItsOwn() {
    // A text of its own, longer than a page: short paragraphs and one paragraph
    // that runs over more than a page by itself.
    QString html = QStringLiteral("<h1>Hilfe zum Zelvo Lingotak</h1>");
    for (int i = 1; i <= 40; ++i) html += QStringLiteral("<p>Absatz %1 der Hilfe</p>").arg(i);
    html += QStringLiteral("<p>");
    for (int i = 1; i <= 4000; ++i) html += QStringLiteral("w%1 ").arg(i);
    html += QStringLiteral("</p><h2>Lizenz</h2><p>Ende</p>");
    viewer()->setHtml(html);
    print(HelpPage);

    QCOMPARE(infoOf(pdf, "Title"), QStringLiteral("Zelvo Lingotak Hilfe"));
    const QStringList pages = pagesOf(pdf);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    QVERIFY(pages.first().contains(QStringLiteral("Hilfe zum Zelvo Lingotak")));
    QVERIFY(pages.last().contains(QStringLiteral("Lizenz")));
    QVERIFY(!pages.first().contains(QStringLiteral("Lizenz")));

    // Every paragraph and every word once, in order: none lost or doubled
    // where a page ends; no page number.
    const QStringList words =
        pages.join(QLatin1Char(' ')).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    int paragraph = 0, word = 0;
    for (int i = 0; i < words.size(); ++i) {
      if (words[i] == QStringLiteral("Absatz")) QCOMPARE(words[i + 1].toInt(), ++paragraph);
      if (words[i].startsWith(QLatin1Char('w')) && words[i].mid(1).toInt() > 0)
        QCOMPARE(words[i], QStringLiteral("w%1").arg(++word));
      QVERIFY2(words[i].toInt() == 0 || (i > 0 && words[i - 1] == QStringLiteral("Absatz")), qPrintable(words[i]));
    }
    QCOMPARE(paragraph, 40);
    QCOMPARE(word, 4000);

    // The text starts inside the printer's unprintable margins counted twice
    // and ends within the printable area.
    QPrinter pdfPrinter(QPrinter::HighResolution);
    pdfPrinter.setOutputFormat(QPrinter::PdfFormat);
    const QMarginsF margins = pdfPrinter.pageLayout().margins(QPageLayout::Point);
    const QRectF paper = pdfPrinter.pageLayout().fullRect(QPageLayout::Point);
    const QRectF text = wordBounds(pdf);
    QVERIFY2(qAbs(text.left() - 2 * margins.left()) < 1, qPrintable(QString::number(text.left())));
    QVERIFY2(text.top() > 2 * margins.top(), qPrintable(QString::number(text.top())));
    QVERIFY(text.right() <= paper.width() - margins.right());
    QVERIFY(text.bottom() <= paper.height() - margins.bottom());
  }

  // The help text the program ships: its first heading on the first page, its
  // last topic on the last.
  void shippedHelpPrintsFromItsFirstHeadingToItsLastTopic() {
    ui->setHelpDocument(readRtf(helpDocumentRtf()));
    print(HelpPage);
    QCOMPARE(infoOf(pdf, "Title"), QStringLiteral("Zelvo Lingotak Hilfe"));
    const QStringList pages = pagesOf(pdf);
    QVERIFY2(pages.size() > 1, qPrintable(QString::number(pages.size())));
    QVERIFY(pages.first().contains(QStringLiteral("Hilfe zum Zelvo Lingotak")));
    QVERIFY(pages.last().contains(QStringLiteral("Lizenz")));
  }

  void helpPrintsOnOnePageWhenItFits() {
    viewer()->setHtml(QStringLiteral("<h1>Hilfe zum Zelvo Lingotak</h1><p>Kurz.</p>"));
    print(HelpPage);
    QCOMPARE(infoOf(pdf, "Pages"), QStringLiteral("1"));
  }
};

}  // namespace zl

QTEST_MAIN(zl::PrinterQtTest)
#include "printer_qt_test.moc"
