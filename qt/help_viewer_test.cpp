// The help page of the real window, offscreen: the shipped help text as the
// viewer shows it.
#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextList>
#include <QtTest>

#include "app/help_document.h"
#include "app/rtf_reader.h"
#include "qt/qt_ui.h"
#include "state/controls.h"
#include "store/vocab_store.h"

namespace zl {

class HelpViewerTest : public QObject {
  Q_OBJECT

 private:
  QtUi* ui = nullptr;
  VocabList list;
  QTextBrowser* viewer = nullptr;

  QTextBlock blockWith(const QString& text) const {
    const QTextCursor found = viewer->document()->find(text);
    if (found.isNull()) qWarning("no block with \"%s\"", qPrintable(text));
    return found.block();
  }
  static QTextCharFormat formatOf(const QTextBlock& block) { return block.begin().fragment().charFormat(); }

 private slots:
  void init() {
    ui = new QtUi;
    ui->createFonts();
    QVERIFY(ui->buildMainWindow(list));
    ui->setHelpDocument(readRtf(helpDocumentRtf()));
    ui->showPage(EntryPage);  // as start-up leaves it; the user turns to the help page
    ui->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(ui->window()));
    ui->showPage(HelpPage);
    viewer = ui->window()->findChild<QTextBrowser*>(QStringLiteral("HelpViewer"));
    QVERIFY(viewer);
  }

  void cleanup() { delete ui; }

  void showsTheDocumentFormattedOnTheText() {
    const QTextBlock heading = viewer->document()->firstBlock();
    QCOMPARE(heading.text(), QStringLiteral("Hilfe zum Zelvo Lingotak"));
    QCOMPARE(heading.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat title = formatOf(heading);
    QCOMPARE(title.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(title.fontPointSize(), 14.0);
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    QVERIFY(title.fontUnderline());

    const QTextCharFormat text = formatOf(blockWith(QStringLiteral("Herzlich willkommen")));
    QCOMPARE(text.fontPointSize(), 10.0);
    QCOMPARE(text.fontWeight(), int(QFont::Normal));
    QCOMPARE(text.foreground().color(), QColor(0, 0, 0));
    // Arial, as the document asks, is drawn with its metric twin.
    QCOMPARE(QFontInfo(text.font()).family(), QStringLiteral("Liberation Sans"));

    // Bulleted items form one disc list; an item of two lines is one block
    // whose text starts, in both lines, right of the hanging bullet.
    const QTextBlock first = blockWith(QStringLiteral("Die Hilfe erscheint formatiert"));
    const QTextBlock twoLines = blockWith(QStringLiteral("Beim Speichern wird die neue Datei"));
    QVERIFY(first.textList());
    QCOMPARE(first.textList()->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(twoLines.textList(), first.textList());
    QCOMPARE(twoLines.text().count(QChar::LineSeparator), 1);
    QVERIFY(first.blockFormat().leftMargin() > 20);
    QCOMPARE(first.blockFormat().textIndent(), 0.0);
    QVERIFY(!blockWith(QStringLiteral("Version: " ZL_PROJECT_VERSION)).textList());
  }

  // The text is broken into lines by hand; the viewer must not break them
  // again, or every long line would end in a short one.
  void everyLineFitsTheViewer() {
    QTextDocument* document = viewer->document();
    document->documentLayout()->documentSize();  // lays out the whole document
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      const int lines = static_cast<int>(block.text().count(QChar::LineSeparator)) + 1;
      QVERIFY2(block.layout()->lineCount() == lines, qPrintable(block.text().left(60)));
    }
  }

  void typingChangesNothingAndTheKeysScroll() {
    viewer->setFocus();
    QTRY_VERIFY(viewer->hasFocus());
    QVERIFY(!(viewer->textInteractionFlags() & (Qt::TextEditable | Qt::TextSelectableByKeyboard)));  // no caret
    const QString before = viewer->document()->toPlainText();
    QTest::keyClicks(viewer, QStringLiteral("abc"));
    QTest::keyClick(viewer, Qt::Key_Backspace);
    QTest::keyClick(viewer, Qt::Key_Delete);
    QCOMPARE(viewer->document()->toPlainText(), before);
    QCOMPARE(viewer->verticalScrollBar()->value(), 0);  // it opens at the top
    QTest::keyClick(viewer, Qt::Key_PageDown);
    QVERIFY(viewer->verticalScrollBar()->value() > 0);
  }
};

}  // namespace zl

QTEST_MAIN(zl::HelpViewerTest)
#include "help_viewer_test.moc"
