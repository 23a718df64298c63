// The window interface on Qt: fonts, icons, the main window, message boxes,
// the event loop, and the queue that hands every event to the program one
// at a time. While the loop runs, SIGTERM, SIGHUP and the end of the
// desktop session close the window as its close button does.
//
// Events raised while the program handles one (a text it sets, a focus it
// moves, a dialog's own loop) wait in the queue and follow in order, so a
// handler always runs to completion before the next begins, as in a message
// loop. Before the loop starts, events are not delivered; start-up brings
// the interface state up to date by itself.
#pragma once

#include <QIcon>
#include <QMessageBox>
#include <deque>
#include <memory>
#include <vector>

#include "platform/ui.h"
#include "qt/main_window.h"

namespace zl {

class QtUi : public Ui {
 public:
  QtUi();
  ~QtUi() override;

  void createFonts() override;
  void setIcons(const std::vector<IconImage>& icons) override;
  bool buildMainWindow(const ListRows& list) override;
  void setHelpDocument(const RichDocument& document) override;
  void showMainWindow() override;
  void runEventLoop(EventSink& sink) override;

  void setText(ControlId id, const std::string& text) override;
  std::string text(ControlId id) const override;
  void setEnabled(ControlId id, bool enabled) override;
  bool isEnabled(ControlId id) const override;
  void setCommandEnabled(CommandId id, bool enabled) override;
  bool isCommandEnabled(CommandId id) const override;
  void setFieldReadOnly(ControlId id, bool readOnly) override;
  bool isReadOnly(ControlId id) const override;
  void setChecked(ControlId id, bool checked) override;
  bool isChecked(ControlId id) const override;
  void setFocus(ControlId id) override;
  ControlId focusedControl() const override;
  void selectText(ControlId id, int start, int end) override;
  Page currentPage() const override;
  void showPage(Page page) override;

  void setStatusText(StatusField field, const std::string& text, bool centred) override;
  std::string statusText(StatusField field) const override;
  void showStatusMessage(const std::string& text) override;
  void endBusy() override;
  bool pollEndRequest() override;

  void removeAllRows() override;
  void appendRows(int count) override;
  void updateRow(int row) override;
  void removeRow(int row) override;
  void revealListRow(int row, bool select) override;
  void clearSelection() override;
  int rowCount() const override;
  void setListVisible(bool visible) override;
  int selectedRow() const override;
  void showStatisticsPopup() override;

  Answer messageBox(const std::string& title, const std::string& text, MessageButtons buttons,
                    MessageIcon icon) override;
  std::string openFileDialog(const std::string& title, const std::string& folder,
                             const std::vector<FileFilter>& filters) override;
  std::string saveFileDialog(const std::string& title, const std::string& folder,
                             const std::vector<FileFilter>& filters) override;
  bool inputBox(const std::string& title, const std::string& prompt, std::string& text) override;

  // Starts handing events to `sink` (nullptr stops it); runEventLoop does
  // this itself, tests call it to drive the window without a loop.
  void deliverEventsTo(EventSink* sink) { sink_ = sink; }
  // The end of the desktop session: closes as the close button does, at
  // once, and tells whether the program has agreed to end. False while one
  // of the program's own dialogs is open (the user is busy with it).
  bool agreeToEnd();
  MainWindow* window() const { return window_.get(); }
  const WindowFonts& fonts() const { return fonts_; }
  // Runs a modal dialog of the window (a message box, a file or print
  // dialog) without the wait cursor of a running action, and gives the
  // window back its activation afterwards. Returns the dialog's result.
  int execDialog(QDialog& dialog);

 private:
  void deliver(const Event& event);
  std::string fileDialog(bool save, const std::string& title, const std::string& folder,
                         const std::vector<FileFilter>& filters);

  WindowFonts fonts_;
  std::vector<QIcon> icons_;
  std::unique_ptr<MainWindow> window_;
  EventSink* sink_ = nullptr;
  std::deque<Event> queue_;
  bool delivering_ = false;
  bool loopRunning_ = false;
  bool busy_ = false;
};

// German throughout, whatever the system's language: Qt's own dialogs and
// buttons too. Loads Qt's German translations once; without them installed
// Qt speaks English in its own dialogs and nothing else changes.
void useGermanEverywhere();

// A proportional sans font for the menus, message boxes and dialogs: on a
// machine whose fonts leave Qt's default monospaced (a bare system with
// few fonts), Liberation Sans, which the package brings, at the same size.
void useProportionalDefaultFont();

// The Qt icon of a message box.
QMessageBox::Icon qtIcon(MessageIcon icon);

// The filter Qt's file dialog is given for `filter`: it shows the
// description and matches the pattern in any letter case ("*.*" matches
// every file).
QString qtFileFilter(const FileFilter& filter);

// The screen's dots per inch across or down; 96 without a screen.
double screenDotsPerInch(Qt::Orientation orientation);

// The pixel height of a font of `points` on a screen of `dotsPerInch`:
// points x dpi / 72, rounded.
int pixelHeightOf(double points, double dotsPerInch);

}  // namespace zl
