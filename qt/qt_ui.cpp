#include "qt/qt_ui.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <new>
#include <string_view>

#include "qt/cp1252_qt.h"
#include "qt/end_requests.h"
#include "qt/rich_text_qt.h"
#include "qt/vocab_table_model.h"
#include "state/window_rules.h"

namespace zl {

namespace {

QFont arial(double points, bool bold, double dpi) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixelHeightOf(points, dpi));  // a character height, as the pixel size is
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

// A message box wraps its lines only between words and clips a longer word
// at its edge; break chances (zero-width spaces) in long runs keep the end
// of a cut line, its "…", in sight.
QString withBreakChances(const QString& line) {
  constexpr int kLongestRun = 40;
  QString result;
  int run = 0;
  for (QChar ch : line) {
    run = ch.isSpace() ? 0 : run + 1;
    if (run > kLongestRun) {
      result += QChar(0x200B);
      run = 1;
    }
    result += ch;
  }
  return result;
}

// Message texts use CR LF or LF for their line breaks; Qt wants LF. A line
// may carry a whole stored text (the tip, the statistics), so each is cut
// on its own and the lines after a long one still show.
QString messageText(std::string_view text) {
  QString result;
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const QString shown = toShownQString(line, ShownLineLength);
    result += line.size() > ShownLineLength ? withBreakChances(shown) : shown;
    if (end == text.size()) return result;
    result += QLatin1Char('\n');
    start = end + 1;
  }
}

}  // namespace

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Qt would match "*.LTK" case-sensitively on Linux, and "*.*" only names
// with a point; the pattern it is given shows nowhere, as the dialog hides
// filter details and the description names the pattern itself.
QString qtFileFilter(const FileFilter& filter) {
  QString pattern;
  if (filter.pattern == "*.*") {
    pattern = QStringLiteral("*");
  } else {
    for (QChar c : QString::fromStdString(filter.pattern))
      pattern += c.isLetter() ? QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper()) : QString(c);
  }
  return toQString(filter.description) + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

void useProportionalDefaultFont() {
  QFont font = QApplication::font();
  if (!QFontInfo(font).fixedPitch()) return;
  font.setFamilies({QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
}

void useGermanEverywhere() {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  static QTranslator* qtTexts = nullptr;
  if (qtTexts) return;
  qtTexts = new QTranslator(QCoreApplication::instance());
  if (qtTexts->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qtTexts);
}

double screenDotsPerInch(Qt::Orientation orientation) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 96.0;
  return orientation == Qt::Horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

int pixelHeightOf(double points, double dotsPerInch) {
  return static_cast<int>(std::lround(points * dotsPerInch / 72.0));
}

QtUi::QtUi() = default;

QtUi::~QtUi() { endBusy(); }

void QtUi::createFonts() {
  const double dpi = screenDotsPerInch(Qt::Vertical);
  fonts_.large = arial(20, false, dpi);
  fonts_.field = arial(19, false, dpi);
  fonts_.label = arial(12, true, dpi);
  fonts_.small = arial(10, true, dpi);
  // The fixed layout was drawn for a compact dialog font: the desktop's usual
  // 9 or 10 point sans, or even Arial at 8 points, would not fit the option
  // texts into their 130 and 135 pixels.
  fonts_.dialog = arial(7.5, false, dpi);
}

void QtUi::setIcons(const std::vector<IconImage>& icons) {
  icons_.clear();
  for (const IconImage& icon : icons) {
    QImage image(IconSide, IconSide, QImage::Format_ARGB32);
    for (int y = 0; y < IconSide; ++y)
      for (int x = 0; x < IconSide; ++x) image.setPixel(x, y, icon.argb[static_cast<std::size_t>(y * IconSide + x)]);
    icons_.emplace_back(QPixmap::fromImage(image));
  }
}

bool QtUi::buildMainWindow(const ListRows& list) {
  try {
    window_ = std::make_unique<MainWindow>(list, fonts_, icons_, [this](const Event& event) { deliver(event); });
  } catch (const std::bad_alloc&) {  // what there is of the window has gone with the unwinding
    window_.reset();
  }
  return window_ != nullptr;
}

void QtUi::setHelpDocument(const RichDocument& document) {
  auto* viewer = static_cast<QTextBrowser*>(window_->control(HelpViewer));
  fillTextDocument(*viewer->document(), document, viewer->logicalDpiX());
  viewer->moveCursor(QTextCursor::Start);  // the page opens at the top
}

void QtUi::showMainWindow() { window_->showCentred(); }

void QtUi::runEventLoop(EventSink& sink) {
  deliverEventsTo(&sink);
  loopRunning_ = true;
  EndRequests endRequests([this] { window_->close(); }, [this] { return agreeToEnd(); });
  if (!sink.quitRequested()) QApplication::exec();
  loopRunning_ = false;
  deliverEventsTo(nullptr);
}

bool QtUi::agreeToEnd() {
  if (!sink_) return true;
  if (delivering_) return false;
  deliver(Event{EventKind::Close, 0, EventSubtype::None});
  return sink_->quitRequested();
}

void QtUi::deliver(const Event& event) {
  if (!sink_) return;
  queue_.push_back(event);
  if (delivering_) return;
  delivering_ = true;
  while (!queue_.empty() && sink_) {
    const Event next = queue_.front();
    queue_.pop_front();
    sink_->handleEvent(next);
    if (sink_->quitRequested()) {
      queue_.clear();
      window_->allowClose();
      window_->close();
      // Only our own loop is ended: exiting Qt's would also end every
      // dialog loop started later in this process.
      if (loopRunning_) QApplication::exit(0);
    }
  }
  delivering_ = false;
}

void QtUi::setText(ControlId id, const std::string& text) {
  QWidget* widget = window_->control(id);
  const QString value = toShownQString(text, MaxFieldText);
  if (auto* field = qobject_cast<QLineEdit*>(widget)) {
    if (field->text() == value) return;
    field->setText(value);
    if (field->isReadOnly()) field->setCursorPosition(0);  // a question longer than the field shows its start
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (label->text() != value) label->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(value);
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(value);
  }
}

std::string QtUi::text(ControlId id) const {
  QWidget* widget = window_->control(id);
  if (auto* field = qobject_cast<QLineEdit*>(widget)) return toCp1252(field->text());
  if (auto* label = qobject_cast<QLabel*>(widget)) return toCp1252(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return toCp1252(button->text());
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return toCp1252(frame->title());
  return std::string();
}

void QtUi::setEnabled(ControlId id, bool enabled) {
  if (QWidget* widget = window_->control(id)) widget->setEnabled(enabled);
}

bool QtUi::isEnabled(ControlId id) const {
  const QWidget* widget = window_->control(id);
  return widget && widget->isEnabled();
}

void QtUi::setCommandEnabled(CommandId id, bool enabled) {
  if (QAction* action = window_->command(id)) action->setEnabled(enabled);
}

bool QtUi::isCommandEnabled(CommandId id) const {
  const QAction* action = window_->command(id);
  return action && action->isEnabled();
}

void QtUi::setFieldReadOnly(ControlId id, bool readOnly) {
  if (auto* field = qobject_cast<QLineEdit*>(window_->control(id))) field->setReadOnly(readOnly);
}

bool QtUi::isReadOnly(ControlId id) const {
  const auto* field = qobject_cast<QLineEdit*>(window_->control(id));
  return field && field->isReadOnly();
}

void QtUi::setChecked(ControlId id, bool checked) { window_->setChecked(id, checked); }

bool QtUi::isChecked(ControlId id) const {
  const auto* button = qobject_cast<QAbstractButton*>(window_->control(id));
  return button && button->isChecked();
}

void QtUi::setFocus(ControlId id) {
  if (QWidget* widget = window_->control(id)) widget->setFocus(Qt::OtherFocusReason);
}

ControlId QtUi::focusedControl() const { return window_->idOf(window_->focusWidget()); }

void QtUi::selectText(ControlId id, int start, int end) {
  auto* field = qobject_cast<QLineEdit*>(window_->control(id));
  if (!field) return;
  if (start == end)
    field->setCursorPosition(start);
  else
    field->setSelection(start, end - start);
}

Page QtUi::currentPage() const { return static_cast<Page>(window_->pagePanel()->currentIndex()); }

void QtUi::showPage(Page page) { window_->pagePanel()->setCurrentIndex(page); }

void QtUi::setStatusText(StatusField field, const std::string& text, bool centred) {
  QLabel* label = window_->statusField(field);
  const QString value = toQString(text);
  if (label->text() != value) label->setText(value);
  label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
}

std::string QtUi::statusText(StatusField field) const { return toCp1252(window_->statusField(field)->text()); }

void QtUi::showStatusMessage(const std::string& text) {
  setStatusText(StatusStateField, text, true);
  window_->statusField(StatusStateField)->repaint();  // now: the work starts before the loop runs again
  if (!busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
  busy_ = true;
}

void QtUi::endBusy() {
  if (busy_) QApplication::restoreOverrideCursor();
  busy_ = false;
}

bool QtUi::pollEndRequest() {
  // Input stays queued for after the action; a close (the button, an end
  // signal) waits in line as every event during an action does.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return std::any_of(queue_.begin(), queue_.end(), [](const Event& event) { return event.kind == EventKind::Close; });
}

void QtUi::removeAllRows() { window_->listModel()->removeAllRows(); }

void QtUi::appendRows(int count) { window_->listModel()->appendRows(count); }

void QtUi::updateRow(int row) { window_->listModel()->updateRow(row); }

void QtUi::removeRow(int row) { window_->listModel()->removeRow(row); }

void QtUi::revealListRow(int row, bool select) {
  QTableView* view = window_->listView();
  const QModelIndex index = view->model()->index(row, 0);
  if (!index.isValid()) return;
  view->scrollTo(index, QAbstractItemView::EnsureVisible);
  if (select) view->selectRow(row);
}

void QtUi::clearSelection() { window_->listView()->clearSelection(); }

void QtUi::setListVisible(bool visible) { window_->listView()->setVisible(visible); }

int QtUi::rowCount() const { return window_->listModel()->rowCount(); }

int QtUi::selectedRow() const {
  const QModelIndexList rows = window_->listView()->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void QtUi::showStatisticsPopup() { window_->statisticsPopup()->popup(QCursor::pos()); }

Answer QtUi::messageBox(const std::string& title, const std::string& text, MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(qtIcon(icon), toQString(title), messageText(text), QMessageBox::NoButton, window_.get());
  box.setTextFormat(Qt::PlainText);
  std::vector<std::pair<QAbstractButton*, Answer>> answers;
  auto add = [&](const char* label, QMessageBox::ButtonRole role, Answer answer) {
    answers.emplace_back(box.addButton(QString::fromUtf8(label), role), answer);
  };
  switch (buttons) {
    case MessageButtons::Ok:
      add("OK", QMessageBox::AcceptRole, Answer::Ok);
      break;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
      add("Ja", QMessageBox::YesRole, Answer::Yes);
      add("Nein", QMessageBox::NoRole, Answer::No);
      break;
    case MessageButtons::YesNoCancel:
      add("Ja", QMessageBox::YesRole, Answer::Yes);
      add("Nein", QMessageBox::NoRole, Answer::No);
      add("Abbrechen", QMessageBox::RejectRole, Answer::Cancel);
      break;
  }
  const bool firstIsDefault = buttons != MessageButtons::YesNoDefaultNo;
  box.setDefaultButton(static_cast<QPushButton*>((firstIsDefault ? answers.front() : answers.back()).first));
  // Escape and the close button give the last answer: OK, No or Cancel.
  box.setEscapeButton(answers.back().first);
  execDialog(box);
  for (const auto& [button, answer] : answers)
    if (box.clickedButton() == button) return answer;
  return answers.back().second;
}

int QtUi::execDialog(QDialog& dialog) {
  // A question in the middle of a long action waits for the user, not for us.
  const bool wasBusy = busy_;
  endBusy();
  const int result = dialog.exec();
  // Give the window back its activation (a desktop without a window manager
  // would not), or Return would no longer reach the program.
  if (window_) window_->activateWindow();
  if (wasBusy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
  }
  return result;
}

std::string QtUi::fileDialog(bool save, const std::string& title, const std::string& folder,
                             const std::vector<FileFilter>& filters) {
  QFileDialog dialog(window_.get(), toQString(title), QFile::decodeName(folder.c_str()));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                    QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a name that does not exist yet may be typed
  QStringList names;
  for (const FileFilter& filter : filters) names << qtFileFilter(filter);
  dialog.setNameFilters(names);
  if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
  return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

std::string QtUi::openFileDialog(const std::string& title, const std::string& folder,
                                 const std::vector<FileFilter>& filters) {
  return fileDialog(false, title, folder, filters);
}

std::string QtUi::saveFileDialog(const std::string& title, const std::string& folder,
                                 const std::vector<FileFilter>& filters) {
  return fileDialog(true, title, folder, filters);
}

bool QtUi::inputBox(const std::string& title, const std::string& prompt, std::string& text) {
  QDialog dialog(window_.get());
  dialog.setWindowTitle(toQString(title));
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(toQString(prompt), &dialog);
  auto* field = new QLineEdit(&dialog);
  field->setValidator(new Cp1252Validator(field));
  label->setBuddy(field);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(label);
  layout->addWidget(field);
  layout->addWidget(buttons);
  const bool accepted = execDialog(dialog) == QDialog::Accepted;
  text = accepted ? toCp1252(field->text()) : std::string();
  return accepted;
}

}  // namespace zl
