// The real main window, offscreen: what only the toolkit can show.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>
#include <csignal>

#include "app/dispatch.h"
#include "app/icons.h"
#include "app/interface_state.h"
#include "files/file_commands.h"
#include "qt/cp1252_qt.h"
#include "qt/qt_ui.h"
#include "state/program.h"
#include "test_support/fake_platform.h"

namespace zl {

// Hands events to the program and keeps a record of them.
class RecordingSink : public EventSink {
 public:
  explicit RecordingSink(Program& program) : program_(program) {}
  void handleEvent(Event event) override {
    events.push_back(event);
    dispatchEvent(program_, event);
  }
  bool quitRequested() const override { return program_.quitRequested; }
  int count(EventKind kind, int id) const {
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [&](const Event& e) { return e.kind == kind && e.id == id; }));
  }
  std::vector<Event> events;

 private:
  Program& program_;
};

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QtUi* ui = nullptr;
  FakeSystem system;
  FakeDesktop desktop;
  PosixFileSystem files;
  FakePrinter printer;
  FaultyNetwork network;
  SodiumSignatureVerifier signatures;
  Program* program = nullptr;
  RecordingSink* sink = nullptr;

  template <typename T = QWidget>
  T* find(const char* name) const {
    T* widget = ui->window()->findChild<T*>(QString::fromLatin1(name));
    if (!widget) qWarning("no control %s", name);
    return widget;
  }
  QAction* action(const char* name) const { return find<QAction>(name); }

  // Clicks `button` in the next message box once it shows; its title and
  // text go to `seen`. Arm it before the step that opens the box.
  static void answerNextBox(const QString& button, QString* seen) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [=] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      *seen = box->windowTitle() + QLatin1Char('|') + box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == button) b->click();
      poll->deleteLater();
      poll->stop();
    });
    QTimer::singleShot(3000, poll, &QObject::deleteLater);  // give up on a box that never comes
    poll->start();
  }

  // Types any characters, as a keyboard layout or input method would deliver them.
  static void typeText(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(widget, &press);
      QApplication::sendEvent(widget, &release);
    }
  }

 private slots:
  void init() {
    ui = new QtUi;
    program =
        new Program(Platform{*ui, *ui, *ui, *ui, system, desktop, files, printer, network, signatures}, clearTestPage);
    program->constants = buildConstants();
    program->constants.workingDirectory = "/opt/zelvo/";
    ui->createFonts();
    ui->setIcons(decodeEmbeddedIcons());
    QVERIFY(ui->buildMainWindow(program->list));
    ui->showPage(EntryPage);
    ui->setFocus(EntryVocabularyField);
    updateInterfaceState(*program);
    ui->showMainWindow();
    sink = new RecordingSink(*program);
    ui->deliverEventsTo(sink);
    QVERIFY(QTest::qWaitForWindowExposed(ui->window()));
    ui->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ui->window()));
  }

  void cleanup() {
    ui->deliverEventsTo(nullptr);
    delete sink;
    delete program;
    delete ui;
  }

  void windowHasItsTitleAndFixedInnerSize() {
    MainWindow* w = ui->window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Zelvo Lingotak"));
    QCOMPARE(w->size(), QSize(600, 450));
    QCOMPARE(w->minimumSize(), QSize(600, 450));
    QCOMPARE(w->maximumSize(), QSize(600, 450));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    // The menu bar is inside the 450 pixels.
    QCOMPARE(w->menuBar()->geometry().top(), 0);
    QCOMPARE(w->statusBar()->geometry().bottom(), 449);
  }

  void tabsCarryTheirCaptionsAndPagesAreBigEnough() {
    auto* pages = find<QTabWidget>("PagePanel");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QStringLiteral("          Vokabeln Eingeben          "));
    QCOMPARE(pages->tabText(1), QStringLiteral("          Vokabeln Abfragen          "));
    QCOMPARE(pages->tabText(2), QStringLiteral("                    Hilfe                    "));
    const QSize page = pages->widget(0)->size();
    QVERIFY2(page.width() >= 596 && page.height() >= 350,
             qPrintable(QStringLiteral("page %1 x %2").arg(page.width()).arg(page.height())));
    QCOMPARE(pages->currentIndex(), 0);
  }

  void everyControlIsWhereTheLayoutPutsIt() {
    struct Expected {
      const char* name;
      int x, y, w, h;  // h -1: down to 3 pixels above the page bottom
      const char* text;
      const char* tooltip;
      bool enabled;
    };
    const Expected all[] = {
        {"EntryVocabularyField", 3, 28, 590, 35, "", "", true},
        {"EntryTranslationField", 3, 93, 590, 35, "", "", true},
        {"EntryVocabularyLabel", 8, 8, 90, 20, "Vokabel:", "", true},
        {"EntryTranslationLabel", 8, 73, 130, 20, "Übersetzung:", "", true},
        {"MergeButton", 483, 138, 110, 35, "Verbinden", "Verbindet zwei Vokabeldateien miteinander", false},
        {"DeleteButton", 323, 138, 110, 35, "Löschen", "Löscht den markierten Datensatz", false},
        {"AcceptEntryButton", 3, 138, 110, 35, "Übernehmen", "Eingabe Übernehmen", true},
        {"EditButton", 163, 138, 110, 35, "Bearbeiten", "Öffnet den markierten Datensatz zur Bearbeitung", false},
        {"EntryCountValue", 323, 183, 270, 35, "", "", true},
        {"EntryCountLabel", 8, 183, 310, 35, "Eingegebene Vokabeln:", "", true},
        {"VocabListView", 3, 228, 590, -1, "", "", true},
        {"TestTranslationField", 3, 28, 590, 35, "", "", true},
        {"TestVocabularyField", 3, 93, 590, 35, "", "", true},
        {"TestTranslationLabel", 8, 8, 150, 20, "Übersetzung:", "", true},
        {"TestVocabularyLabel", 8, 73, 95, 20, "Vokabel:", "", true},
        {"NewTestButton", 483, 138, 110, 35, "Neuer Test", "Startet einen neuen Test", true},
        {"SkipButton", 323, 138, 110, 35, "Überspringen", "Springt zur nächsten Vokabel im Test", false},
        {"AcceptAnswerButton", 3, 138, 110, 35, "Übernehmen", "Eingabe Übernehmen", false},
        {"TipButton", 163, 138, 110, 35, "Tip", "Zeigt die gesuchte Lösung", false},
        {"RemainingValue", 323, 183, 270, 35, "", "", true},
        {"RemainingLabel", 8, 183, 310, 35, "Verbleibende Vokabeln:", "", true},
        {"OptionsFrame", 3, 228, 180, -1, "Abfrage Optionen", "", true},
        {"PairStatisticsFrame", 208, 228, 180, -1, "Statistik der Vokabel", "", true},
        {"EvaluationFrame", 413, 228, 180, -1, "Test Auswertung", "", true},
        {"Test20Option", 18, 253, 130, 15, "Test (20 Vokabeln)", "", true},
        {"AllVocabOption", 18, 278, 130, 15, "Alle Vokbeln", "", true},
        {"AskForeignCheck", 18, 303, 135, 15, "Fremdsprache abfragen", "", true},
        {"IgnoreCaseCheck", 18, 328, 135, 15, "GROSS/klein ignorieren", "", true},
        {"RightCountValue", 223, 268, 45, 20, "", "", true},
        {"WrongCountValue", 223, 308, 45, 20, "", "", true},
        {"RightCountLabel", 278, 268, 100, 20, "Richtig", "", true},
        {"WrongCountLabel", 278, 308, 100, 20, "Falsch", "", true},
        {"RateLabel", 428, 268, 115, 20, "Quote Richtig:", "", true},
        {"GradeLabel", 428, 308, 115, 20, "Note:", "", true},
        {"RateValue", 543, 268, 45, 20, "", "", true},
        {"GradeValue", 543, 308, 45, 20, "", "", true},
    };
    const int pageHeight = find<QTabWidget>("PagePanel")->widget(0)->height();
    for (const Expected& e : all) {
      QWidget* w = find(e.name);
      QVERIFY2(w, e.name);
      const int h = e.h >= 0 ? e.h : pageHeight - 231;
      QVERIFY2(w->geometry() == QRect(e.x, e.y, e.w, h), e.name);
      QString text;
      if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
      if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
      if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
      if (auto* f = qobject_cast<QLineEdit*>(w)) text = f->text();
      QVERIFY2(text == QString::fromUtf8(e.text), e.name);
      QVERIFY2(w->toolTip() == QString::fromUtf8(e.tooltip), e.name);
      QVERIFY2(w->isEnabled() == e.enabled, e.name);
    }
    auto* viewer = find<QTextBrowser>("HelpViewer");
    QCOMPARE(viewer->geometry(), QRect(QPoint(0, 0), find<QTabWidget>("PagePanel")->widget(0)->size()));
  }

  void controlsStartInTheirStates() {
    QVERIFY(find<QPushButton>("AcceptEntryButton")->isDefault());
    QVERIFY(find<QPushButton>("AcceptAnswerButton")->isDefault());
    QVERIFY(!find<QPushButton>("NewTestButton")->isDefault());
    QVERIFY(find<QRadioButton>("Test20Option")->isChecked());
    QVERIFY(!find<QRadioButton>("AllVocabOption")->isChecked());
    QVERIFY(find<QCheckBox>("AskForeignCheck")->isChecked());
    QVERIFY(find<QCheckBox>("IgnoreCaseCheck")->isChecked());
    QVERIFY(!find<QLineEdit>("EntryVocabularyField")->isReadOnly());
    QVERIFY(find<QLineEdit>("TestTranslationField")->isReadOnly());
    QVERIFY(find<QLineEdit>("TestVocabularyField")->isReadOnly());
    QCOMPARE(ui->window()->focusWidget(), find("EntryVocabularyField"));
    QCOMPARE(find<QLabel>("EntryCountValue")->frameShadow(), QFrame::Sunken);
    QCOMPARE(find<QLabel>("EntryCountValue")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(find<QLabel>("RateValue")->frameShape(), QFrame::NoFrame);
    // Clicking one option clears the other.
    QTest::mouseClick(find<QRadioButton>("AllVocabOption"), Qt::LeftButton, {}, QPoint(5, 7));
    QVERIFY(!find<QRadioButton>("Test20Option")->isChecked());
  }

  void fieldsAndLabelsUseTheFourFonts() {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    struct Expected {
      const char* name;
      double points;
      bool bold;
    };
    const Expected fonts[] = {
        {"EntryCountValue", 20, false},
        {"EntryCountLabel", 20, false},
        {"RemainingValue", 20, false},
        {"EntryVocabularyField", 19, false},
        {"TestTranslationField", 19, false},
        {"EntryVocabularyLabel", 12, true},
        {"RateValue", 12, true},
        {"GradeLabel", 12, true},
        {"RightCountValue", 10, true},
        {"WrongCountValue", 10, true},
    };
    for (const Expected& e : fonts) {
      const QFont font = find(e.name)->font();
      QVERIFY2(font.pixelSize() == pixelHeightOf(e.points, dpi), e.name);
      QVERIFY2(font.bold() == e.bold, e.name);
      QVERIFY2(QFontInfo(font).family() == QStringLiteral("Liberation Sans"), e.name);
    }
    QCOMPARE(pixelHeightOf(20, 96), 27);
    QCOMPARE(pixelHeightOf(19, 96), 25);
    QCOMPARE(pixelHeightOf(12, 96), 16);
    QCOMPARE(pixelHeightOf(10, 96), 13);
    QCOMPARE(find("MergeButton")->font(), ui->fonts().dialog);
    QCOMPARE(find("IgnoreCaseCheck")->font().pixelSize(), pixelHeightOf(7.5, dpi));
  }

  void everyTextFitsItsControl() {
    for (QWidget* w : ui->window()->findChildren<QWidget*>()) {
      const QString name = w->objectName();
      if (qobject_cast<QAbstractButton*>(w)) {
        QVERIFY2(w->sizeHint().width() <= w->width(), qPrintable(name + QString::number(w->sizeHint().width())));
      } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(name));
        QVERIFY2(label->fontMetrics().height() <= label->contentsRect().height(), qPrintable(name));
      }
    }
  }

  void menusHoldTheirEntriesInOrder() {
    const QList<QAction*> menus = ui->window()->menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QStringList datei;
    for (QAction* a : menus[0]->menu()->actions()) datei << (a->isSeparator() ? QStringLiteral("—") : a->text());
    QCOMPARE(datei.join('|'), QStringLiteral("Neu|Öffnen|Schließen|—|Speichern|Speichern unter...|—|Suchen|"
                                             "Vokabeln Sortieren|Vokabeln Mischen|—|Drucken|—|Restore|"
                                             "Vokabeldatei teilen|—|Beenden"));
    QStringList hilfe;
    for (QAction* a : menus[2]->menu()->actions()) hilfe << (a->isSeparator() ? QStringLiteral("—") : a->text());
    QCOMPARE(hilfe.join('|'),
             QStringLiteral("Hilfe|—|Desktop Verknüpfung erstellen...|—|"
                            "Dateiendung .LTK registrieren...|Registrierung .LTK entfernen...|—|Info"));
    QCOMPARE(menus[1]->text(), QStringLiteral("Vokabeln"));
    for (const char* withIcon : {"CmdNew", "CmdOpen", "CmdSave", "CmdSearch", "CmdSort", "CmdPrint", "CmdRestore",
                                 "CmdShortcut", "CmdRegister", "CmdAbout"})
      QVERIFY2(!action(withIcon)->icon().isNull(), withIcon);
    for (const char* without : {"CmdClose", "CmdSaveAs", "CmdShuffle", "CmdSplit", "CmdQuit", "CmdUnregister"})
      QVERIFY2(action(without)->icon().isNull(), without);
    QCOMPARE(action("CmdStatistics")->text(), QStringLiteral("Statistik der Vokabel"));
  }

  void toolbarAndStatusBar() {
    auto* bar = find<QToolBar>("MainToolBar");
    QStringList tips;
    for (QAction* a : bar->actions()) tips << (a->isSeparator() ? QStringLiteral("—") : a->toolTip());
    QCOMPARE(tips.join('|'), QStringLiteral("Neu|Öffnen|Speichern|—|Suchen|Vokabeln Sortieren|—|Drucken|—|"
                                            "Internet Update|—|Homepage|—|Info"));
    for (QAction* a : bar->actions()) QVERIFY(a->isSeparator() || !a->icon().isNull());
    QCOMPARE(find<QLabel>("StatusStateField")->width(), 100);
    QCOMPARE(find<QLabel>("StatusFileField")->width(), 500);
    QCOMPARE(ui->statusText(StatusFileField), program->controls.statusText(StatusFileField));
    QCOMPARE(find<QLabel>("StatusFileField")->text(),
             QStringLiteral(" Arbeitsverzeichnis: /opt/zelvo/     (Es ist keine Datei geöffnet)"));
  }

  void theListShowsTwoColumnsWithoutHeader() {
    auto* view = find<QTableView>("VocabListView");
    QVERIFY(view->horizontalHeader()->isHidden());
    QVERIFY(view->verticalHeader()->isHidden());
    QCOMPARE(view->model()->columnCount(), 2);
    QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Übersetzung"));
    QCOMPARE(view->columnWidth(0), 284);
    QCOMPARE(view->columnWidth(1), 285);
    QVERIFY(view->showGrid());
    QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(view->palette().color(QPalette::Inactive, QPalette::Highlight),
             view->palette().color(QPalette::Active, QPalette::Highlight));
  }

  void helpViewerIsReadOnlyOnPaleYellow() {
    auto* viewer = find<QTextBrowser>("HelpViewer");
    QVERIFY(viewer->isReadOnly());
    QVERIFY(!(viewer->textInteractionFlags() & Qt::TextSelectableByKeyboard));  // no caret
    QCOMPARE(viewer->palette().color(QPalette::Base), QColor(255, 255, 223));
  }

  void returnRaisesAcceptEvenOnAFocusedButton() {
    ui->showPage(TestPage);
    auto* button = find<QPushButton>("NewTestButton");
    button->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), button);
    sink->events.clear();
    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(sink->count(EventKind::Menu, CmdAccept), 1);
    QCOMPARE(sink->count(EventKind::Control, NewTestButton), 0);
    QTest::keyClick(find("EntryVocabularyField"), Qt::Key_Enter);
    QCOMPARE(sink->count(EventKind::Menu, CmdAccept), 2);
  }

  void focusSelectsAllAndLeavingPutsTheCaretAtTheEnd() {
    auto* vocabulary = find<QLineEdit>("EntryVocabularyField");
    auto* translation = find<QLineEdit>("EntryTranslationField");
    vocabulary->setFocus();
    QTRY_VERIFY(vocabulary->hasFocus());
    QTest::keyClicks(vocabulary, "house");
    translation->setText(QStringLiteral("Haus"));
    translation->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(translation->hasFocus());
    QCOMPARE(translation->selectedText(), QStringLiteral("Haus"));
    QVERIFY(!vocabulary->hasSelectedText());
    QCOMPARE(vocabulary->cursorPosition(), 5);
    vocabulary->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(vocabulary->hasFocus());
    QCOMPARE(vocabulary->selectedText(), QStringLiteral("house"));
    QCOMPARE(translation->cursorPosition(), 4);
  }

  void charactersWindows1252CannotHoldAreRefused() {
    auto* field = find<QLineEdit>("EntryVocabularyField");
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    typeText(field, QStringLiteral("Stra\u00DFe\u0416\u20AC"));  // Ж refused, € kept
    QCOMPARE(field->text(), QStringLiteral("Straße€"));
    QApplication::clipboard()->setText(QStringLiteral("zwei\nZeilen"));
    field->paste();
    QCOMPARE(field->text(), QStringLiteral("Straße€"));
    QApplication::clipboard()->setText(QStringLiteral(" Ž"));
    field->paste();
    QCOMPARE(field->text(), QStringLiteral("Straße€ Ž"));
    QCOMPARE(ui->text(EntryVocabularyField), std::string("Stra\xDF"
                                                         "e\x80 \x8E"));
  }

  void typingRaisesTextEventsThatUpdateTheRules() {
    program->list.append(VocabEntry{"house", "Haus", 0, 0});
    QTest::keyClicks(find("EntryVocabularyField"), "ho");
    QVERIFY(action("CmdSearch")->isEnabled());
    QVERIFY(action("TbSearch")->isEnabled());
    QTest::keyClicks(find("EntryTranslationField"), "H");
    QVERIFY(!action("CmdSearch")->isEnabled());
  }

  void pageCommandsSwitchTabsAndHelpTakesTheFocus() {
    action("CmdHelpPage")->trigger();
    QCOMPARE(find<QTabWidget>("PagePanel")->currentIndex(), 2);
    QCOMPARE(ui->window()->focusWidget(), find("HelpViewer"));
    QVERIFY(!action("CmdOpen")->isEnabled());
    find<QTabWidget>("PagePanel")->setCurrentIndex(1);  // as a tab click does
    QVERIFY(action("CmdOpen")->isEnabled());
    QVERIFY(!action("CmdTestPage")->isEnabled());
  }

  void closingGoesThroughTheProgram() {
    program->file.unsaved = 1;
    QString seen;
    answerNextBox(QStringLiteral("Abbrechen"), &seen);
    ui->window()->close();
    QCOMPARE(seen, QStringLiteral("Ungesicherte Daten|Es gibt noch ungesicherte Daten,\n"
                                  "sollen diese jetzt gespeichert werden?"));
    QCOMPARE(sink->count(EventKind::Close, 0), 1);
    QVERIFY(ui->window()->isVisible());  // Cancel keeps it open
    QCOMPARE(find<QLabel>("StatusStateField")->text(), QStringLiteral("Geändert"));
    program->file.unsaved = 0;
    action("CmdQuit")->trigger();
    QVERIFY(program->quitRequested);
    QVERIFY(!ui->window()->isVisible());
  }

  // Regression: SIGTERM and SIGHUP ended the program without the
  // unsaved-data question, losing the pairs typed since the last save.
  void endSignalsAskAboutUnsavedPairsFirst() {
    program->file.unsaved = 1;
    QString seen;
    QTimer::singleShot(0, [&] {
      answerNextBox(QStringLiteral("Abbrechen"), &seen);
      ::raise(SIGTERM);
    });
    // Once Cancel has kept the program running, a hang-up with nothing
    // unsaved ends it.
    QTimer step;
    step.setInterval(10);
    connect(&step, &QTimer::timeout, [&] {
      if (seen.isEmpty() || QApplication::activeModalWidget()) return;
      step.stop();
      QVERIFY(!program->quitRequested);
      program->file.unsaved = 0;
      ::raise(SIGHUP);
    });
    step.start();
    QTimer::singleShot(10000, [] { QApplication::exit(1); });  // never hang the test run
    ui->runEventLoop(*sink);
    QCOMPARE(seen, QStringLiteral("Ungesicherte Daten|Es gibt noch ungesicherte Daten,\n"
                                  "sollen diese jetzt gespeichert werden?"));
    QCOMPARE(sink->count(EventKind::Close, 0), 2);
    QVERIFY(program->quitRequested);
  }

  // Regression: the end of the desktop session did not ask either.
  void theSessionEndsOnlyWhenTheUnsavedQuestionAllows() {
    program->file.unsaved = 1;
    QString seen;
    answerNextBox(QStringLiteral("Abbrechen"), &seen);
    QVERIFY(!ui->agreeToEnd());
    QVERIFY(seen.startsWith(QStringLiteral("Ungesicherte Daten|")));
    QVERIFY(ui->window()->isVisible());
    answerNextBox(QStringLiteral("Nein"), &seen);
    QVERIFY(ui->agreeToEnd());
    QVERIFY(program->quitRequested);
  }

  void openingAFileFillsTheListInOnePass() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("englisch.ltk"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(
        "street\r\nStra\xDF"
        "e\r\n1\r\n0\r\nthe quote\r\n\x84Zitat\x93\r\n0\r\n0\r\n");
    out.close();
    openFile(*program, QFile::encodeName(file).toStdString());
    updateInterfaceState(*program);
    auto* view = find<QTableView>("VocabListView");
    QVERIFY(view->isVisible());
    QCOMPARE(view->model()->rowCount(), 2);
    QCOMPARE(view->model()->index(0, 1).data().toString(), QStringLiteral("Straße"));
    QCOMPARE(view->model()->index(1, 1).data().toString(), QStringLiteral("„Zitat“"));
    QCOMPARE(find<QLabel>("EntryCountValue")->text(), QStringLiteral("2"));
    QCOMPARE(find<QLabel>("StatusFileField")->text(), QLatin1Char(' ') + file);
    // A click on a row offers "Bearbeiten" and "Löschen".
    const QRect row = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(ui->selectedRow(), 1);
    QVERIFY(find("EditButton")->isEnabled());
    QVERIFY(find("DeleteButton")->isEnabled());
    // Closing the file empties the list.
    action("CmdClose")->trigger();
    QCOMPARE(view->model()->rowCount(), 0);
    QVERIFY(!find("EditButton")->isEnabled());
  }

  void fileDialogFiltersMatchInAnyLetterCase() {
    QTemporaryDir folder;
    for (const char* name : {"a.ltk", "b.LTK", "c.Ltk", "d.txt", "noextension"}) {
      QFile f(folder.filePath(QString::fromLatin1(name)));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const auto patternOf = [](const QString& filter) {
      return filter.mid(filter.lastIndexOf(QLatin1Char('(')) + 1).chopped(1);
    };
    const QString vocabulary = qtFileFilter({"Vokabeldatei (*.LTK)", "*.LTK"});
    QVERIFY(vocabulary.startsWith(QStringLiteral("Vokabeldatei (*.LTK) (")));
    QDir dir(folder.path());
    QCOMPARE(dir.entryList({patternOf(vocabulary)}, QDir::Files, QDir::Name), (QStringList{"a.ltk", "b.LTK", "c.Ltk"}));
    QCOMPARE(dir.entryList({patternOf(qtFileFilter({"Alle Dateien (*.*)", "*.*"}))}, QDir::Files).size(), 5);
  }

  void playsAWholeTwentyPairTestFromTheKeyboard() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zwanzig.ltk"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    for (int i = 0; i < 20; ++i) out.write(QStringLiteral("Wort%1\r\nword%1\r\n0\r\n0\r\n").arg(i).toLatin1());
    out.close();
    openFile(*program, QFile::encodeName(file).toStdString());
    action("CmdTestPage")->trigger();
    QTest::mouseClick(find("NewTestButton"), Qt::LeftButton);
    auto* question = find<QLineEdit>("TestTranslationField");
    auto* answer = find<QLineEdit>("TestVocabularyField");
    QCOMPARE(find<QLabel>("RemainingValue")->text(), QStringLiteral("20"));
    QString seen;
    QTest::keyClicks(answer, "falsch");
    answerNextBox(QStringLiteral("OK"), &seen);
    QTest::keyClick(answer, Qt::Key_Return);
    QCOMPARE(seen, QStringLiteral("Eingabefehler|Das war leider falsch!"));
    QCOMPARE(find<QLabel>("WrongCountValue")->text(), QStringLiteral("1"));
    for (int asked = 0; asked < 20; ++asked) {
      // After a message box the window is active again, with the focus where
      // the program put it, so Return keeps working.
      QTRY_VERIFY(answer->hasFocus());
      QVERIFY(question->isReadOnly() && !answer->isReadOnly());
      QTest::keyClicks(answer, question->text().replace(QStringLiteral("word"), QStringLiteral("Wort")));
      QTest::keyClick(answer, Qt::Key_Return);
    }
    QCOMPARE(find<QLabel>("RateValue")->text(), QStringLiteral("95%"));
    QCOMPARE(find<QLabel>("GradeValue")->text(), QStringLiteral("1"));
    QCOMPARE(find<QLabel>("RemainingValue")->text(), QString());
    QCOMPARE(find<QLabel>("StatusStateField")->text(), QString());  // saved
    QVERIFY(!find("AcceptAnswerButton")->isEnabled());
  }

  // Regression: the space key or a screen reader's toggle flipped the
  // direction of a running test without ending it.
  void testOptionsEndTheTestHoweverTheyChange() {
    for (int i = 0; i < 3; ++i) program->list.append(VocabEntry{"w" + std::to_string(i), "t", 0, 0});
    program->file.currentPath = "/v/drei.ltk";
    action("CmdTestPage")->trigger();
    const auto startTest = [&] {
      QTest::mouseClick(find("NewTestButton"), Qt::LeftButton);
      // Its own choice of "Alle Vokbeln" for three pairs does not end it.
      QVERIFY(find<QRadioButton>("AllVocabOption")->isChecked());
      QVERIFY(program->test.lastIndex() >= 0);
    };
    auto* askForeign = find<QCheckBox>("AskForeignCheck");
    startTest();
    askForeign->setFocus();
    QTest::keyClick(askForeign, Qt::Key_Space);
    QVERIFY(!askForeign->isChecked());
    QCOMPARE(program->test.lastIndex(), -1);

    startTest();
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(askForeign);
    QVERIFY(reader && reader->actionInterface());
    reader->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(askForeign->isChecked());
    QCOMPARE(program->test.lastIndex(), -1);

    startTest();
    auto* allVocab = find<QRadioButton>("AllVocabOption");
    allVocab->setFocus();
    QTest::keyClick(allVocab, Qt::Key_Up);  // the arrow keys choose within the group
    QVERIFY(find<QRadioButton>("Test20Option")->isChecked());
    QCOMPARE(program->test.lastIndex(), -1);

    startTest();
    auto* ignoreCase = find<QCheckBox>("IgnoreCaseCheck");
    ignoreCase->setFocus();
    QTest::keyClick(ignoreCase, Qt::Key_Space);
    QVERIFY(!ignoreCase->isChecked());
    QVERIFY(program->test.lastIndex() >= 0);
  }

  void typesEditsDeletesAndSearchesWithTheKeyboardAndMouse() {
    auto* vocabulary = find<QLineEdit>("EntryVocabularyField");
    auto* view = find<QTableView>("VocabListView");
    QTRY_VERIFY(vocabulary->hasFocus());
    const char* words[10][2] = {{"house", "Haus"},    {"tree", "Baum"},  {"street", "Straße"},     {"door", "Tür"},
                                {"key", "Schlüssel"}, {"bird", "Vogel"}, {"town hall", "Rathaus"}, {"cheese", "Käse"},
                                {"bread", "Brot"},    {"milk", "Milch"}};
    for (const auto& pair : words) {
      typeText(QApplication::focusWidget(), QString::fromUtf8(pair[0]));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      typeText(QApplication::focusWidget(), QString::fromUtf8(pair[1]));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(view->model()->rowCount(), 10);
    QCOMPARE(find<QLabel>("EntryCountValue")->text(), QStringLiteral("10"));
    QCOMPARE(view->model()->index(2, 1).data().toString(), QStringLiteral("Straße"));
    QCOMPARE(ui->selectedRow(), 9);
    QVERIFY(vocabulary->hasFocus());
    QVERIFY(vocabulary->text().isEmpty());

    // Edit "key" through a click on its row and "Bearbeiten".
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(4, 0)).center());
    QTest::mouseClick(find("EditButton"), Qt::LeftButton);
    QCOMPARE(vocabulary->text(), QStringLiteral("key"));
    vocabulary->selectAll();
    QTest::keyClicks(vocabulary, "the key");
    QTest::keyClick(vocabulary, Qt::Key_Return);
    QCOMPARE(view->model()->index(4, 0).data().toString(), QStringLiteral("the key"));
    QCOMPARE(view->model()->rowCount(), 10);

    // Delete "bird", confirming with "Ja".
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(5, 0)).center());
    QVERIFY(find("DeleteButton")->isEnabled());
    QString seen;
    answerNextBox(QStringLiteral("Ja"), &seen);
    QTest::mouseClick(find("DeleteButton"), Qt::LeftButton);
    QVERIFY(seen.startsWith(QStringLiteral("Löschen bestätigen|")));
    QCOMPARE(view->model()->rowCount(), 9);
    QCOMPARE(view->model()->index(5, 0).data().toString(), QStringLiteral("town hall"));
    QCOMPARE(find<QLabel>("EntryCountValue")->text(), QStringLiteral("9"));

    // Search "haus" from the translation field: house, then town hall.
    find("EntryTranslationField")->setFocus();
    QTest::keyClicks(find("EntryTranslationField"), "haus");
    QVERIFY(action("TbSearch")->isEnabled());
    action("TbSearch")->trigger();
    QCOMPARE(ui->selectedRow(), 0);
    action("CmdSearch")->trigger();
    QCOMPARE(ui->selectedRow(), 5);

    // A right click on a row opens the popup with "Statistik der Vokabel".
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    QTRY_VERIFY(ui->window()->statisticsPopup()->isVisible());
    ui->window()->statisticsPopup()->close();
  }

  void rightClickOnARowOpensThePopup() {
    // Without pairs a right click selects nothing and opens nothing.
    auto* view = find<QTableView>("VocabListView");
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(20, 5));
    QCOMPARE(sink->count(EventKind::Control, VocabListView), 1);
    QVERIFY(!ui->window()->statisticsPopup()->isVisible());
  }

  // Regression: a pair with a text of megabytes froze the window for seconds
  // whenever its row was painted (one of a gigabyte crashed it), and a field
  // showed the start of such a text with nothing to say it goes on.
  // Regression: on a bare system Qt's default font was monospaced, and the
  // menus and message boxes looked like a terminal.
  void theDefaultFontIsProportionalEvenWhereTheSystemsIsNot() {
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Liberation Mono")));
    QVERIFY(QFontInfo(QApplication::font()).fixedPitch());
    useProportionalDefaultFont();
    QVERIFY(!QFontInfo(QApplication::font()).fixedPitch());
    QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("Liberation Sans"));
    QApplication::setFont(before);
  }

  // Return takes a question's default answer: Yes, but No where the
  // question asks to give up something (a file changed since its save).
  void returnTakesTheDefaultAnswer() {
    for (const auto& [buttons, expected] :
         {std::pair{MessageButtons::YesNo, Answer::Yes}, std::pair{MessageButtons::YesNoDefaultNo, Answer::No}}) {
      QTimer poll;
      poll.setInterval(10);
      QObject::connect(&poll, &QTimer::timeout, [&poll] {
        if (QWidget* box = QApplication::activeModalWidget()) {
          poll.stop();
          QTest::keyClick(box, Qt::Key_Return);
        }
      });
      poll.start();
      QCOMPARE(ui->messageBox("Titel", "Frage?", buttons, MessageIcon::Warning), expected);
    }
  }

  void aHugeTextShowsItsStartAndAMark() {
    const std::string huge = "Haus" + std::string(4 << 20, 'x');
    program->list.append(VocabEntry{huge, "house", 3, 1});
    ui->appendRows(1);
    const QString cell = find<QTableView>("VocabListView")->model()->index(0, 0).data().toString();
    QCOMPARE(cell.size(), qsizetype{ShownLineLength});
    QVERIFY(cell.startsWith(QStringLiteral("Haus")) && cell.endsWith(QChar(0x2026)));
    ui->setText(TestTranslationField, huge);
    QCOMPARE(ui->text(TestTranslationField), huge.substr(0, MaxFieldText - 1) + '\x85');
    ui->setText(TestTranslationField, huge.substr(0, MaxFieldText));  // what a field holds comes back whole
    QCOMPARE(ui->text(TestTranslationField), huge.substr(0, MaxFieldText));
    // The counts below the long word in the statistics box still show.
    ui->revealListRow(0, true);
    QString seen;
    answerNextBox(QStringLiteral("OK"), &seen);
    action("CmdStatistics")->trigger();
    const QStringList lines = seen.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].endsWith(QChar(0x2026)));
    QCOMPARE(lines[4], QStringLiteral("Anzahl Falsch: \t1"));
  }
};

}  // namespace zl

QTEST_MAIN(zl::MainWindowTest)
#include "main_window_test.moc"
#include "state/window_rules.h"
