// Scripted fakes of the platform for tests of the program logic.
//
// FakeUi keeps every control's text and state by id (starting as the window
// layout says), answers message boxes from a script set up in advance and
// fails the running test on any message box nobody expected. FakeSystem and
// FakeDesktop record what they were asked and answer as told. A
// `FakeProgram` bundles them with a fresh Program.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/program.h"

namespace zl {

struct ShownMessage {
  std::string title;
  std::string text;
  MessageButtons buttons;
  MessageIcon icon;
};

class FakeUi : public Ui {
 public:
  FakeUi();

  // --- script ---
  // The next message box must have this title and text; it is answered so.
  void expectMessage(std::string title, std::string text, Answer answer);
  // True when every expected message box has been shown.
  bool allMessagesShown() const { return expected_.empty(); }
  const std::vector<ShownMessage>& shownMessages() const { return shown_; }
  // What start-up and the loop asked for, in order ("buildMainWindow", ...).
  const std::vector<std::string>& calls() const { return calls_; }
  // Runs when the event loop is entered; the default returns at once.
  std::function<void(EventSink&)> onEventLoop;
  // Every message shown by showBusyMessage, in order.
  const std::vector<std::string>& busyMessages() const { return busyMessages_; }
  bool busy() const { return busy_; }
  int popupsShown() const { return popups_; }
  struct Selection {
    int start = 0, end = 0;
  };
  Selection selection(ControlId id) const { return selections_[static_cast<std::size_t>(id)]; }
  // What the user does with the list: rows on screen and the selection.
  void setRowCount(int rows) { rows_ = rows; }
  void setSelectedRow(int row) { selectedRow_ = row; }
  bool statusCentred(StatusField field) const { return statusCentred_[field]; }

  // --- Ui ---
  void createFonts() override { calls_.push_back("createFonts"); }
  void setIcons(const std::vector<IconImage>& icons) override;
  bool buildMainWindow(const VocabList& list) override;
  void runEventLoop(EventSink& sink) override;
  void setText(ControlId id, const std::string& text) override;
  std::string text(ControlId id) const override;
  void setEnabled(ControlId id, bool enabled) override;
  bool isEnabled(ControlId id) const override;
  void setCommandEnabled(CommandId id, bool enabled) override;
  bool isCommandEnabled(CommandId id) const override;
  void setReadOnly(ControlId id, bool readOnly) override;
  bool isReadOnly(ControlId id) const override;
  void setChecked(ControlId id, bool checked) override;
  bool isChecked(ControlId id) const override;
  void setFocus(ControlId id) override;
  ControlId focusedControl() const override { return focus_; }
  void selectText(ControlId id, int start, int end) override;
  Page currentPage() const override { return page_; }
  void showPage(Page page) override;
  void setStatusText(StatusField field, const std::string& text, bool centred) override;
  std::string statusText(StatusField field) const override { return status_[field]; }
  void showBusyMessage(const std::string& text) override;
  void endBusy() override { busy_ = false; }
  void removeAllRows() override { rows_ = 0; selectedRow_ = -1; }
  int rowCount() const override { return rows_; }
  int selectedRow() const override { return selectedRow_; }
  void showStatisticsPopup() override { ++popups_; }
  Answer messageBox(const std::string& title, const std::string& text, MessageButtons buttons,
                    MessageIcon icon) override;

 private:
  struct Control {
    std::string text;
    bool enabled = true;
    bool readOnly = false;
    bool checked = false;
  };
  struct Expected {
    std::string title, text;
    Answer answer;
  };
  bool valid(int id) const { return id >= 0 && id < ControlCount; }

  std::array<Control, ControlCount> controls_{};
  std::array<Selection, ControlCount> selections_{};
  std::array<bool, CommandCount> commands_{};
  std::array<std::string, 2> status_{};
  std::array<bool, 2> statusCentred_{};
  ControlId focus_ = NoControl;
  Page page_ = EntryPage;
  bool busy_ = false;
  int rows_ = 0;
  int selectedRow_ = -1;
  int popups_ = 0;
  std::deque<Expected> expected_;
  std::vector<ShownMessage> shown_;
  std::vector<std::string> calls_;
  std::vector<std::string> busyMessages_;
};

class FakeSystem : public System {
 public:
  std::string executable = "/opt/zelvo/zelvo-lingotak";
  std::set<std::string> regularFiles;
  bool lockHeldElsewhere = false;
  bool administrator = true;
  std::vector<std::string> calls;  // "sleep 1000", "remove /x", "lock Zelvo_Lingotak", ...

  std::string executablePath() override { return executable; }
  bool isRegularFile(const std::string& path) override { return regularFiles.count(path) != 0; }
  void sleepMilliseconds(int milliseconds) override;
  void removeFile(const std::string& path) override;
  bool anotherInstanceRuns(const std::string& name) override;
  bool isAdministrator() override;
};

class FakeDesktop : public DesktopShell {
 public:
  bool registered = false;
  int queries = 0;
  bool isFileTypeRegistered() override {
    ++queries;
    return registered;
  }
};

// A fresh program over fresh fakes, set up as start-up leaves it: constants,
// program directory "/opt/zelvo/", entry page shown, focus in
// EntryVocabularyField. Nothing unsaved, no file, no pairs, no test.
struct FakeProgram {
  FakeProgram();
  FakeUi ui;
  FakeSystem system;
  FakeDesktop desktop;
  Program program{ui, system, desktop};

  // Dispatches one event, as the window would raise it.
  void menu(int command);
  void control(int id, EventSubtype subtype = EventSubtype::LeftClick);
  void close();
  // Types into a text field: the new text, then its change event.
  void type(ControlId field, const std::string& text);
};

}  // namespace zl
