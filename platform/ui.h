// The window as the program logic sees it, in four parts: start-up and the
// event loop (WindowStart), controls addressed by id and the status bar
// (WindowControls), the list mirror (PairListView), message boxes and file
// dialogs (MessageDialogs). The program holds each part on its own
// (`Platform`), so a command reaches only what it uses; `Ui` is all four in
// one, as the real window implements them.
//
// Abstract so tests can fake it: the real version is the Qt main window, the
// fake answers message boxes from a script and lets tests read every control
// back by id. All texts crossing this interface are Windows-1252 bytes; the
// implementation converts at its edge. Operations on controls cannot fail;
// an id the window does not have is ignored (reads give "" / false / -1).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event.h"
#include "platform/list_rows.h"
#include "platform/rich_text.h"
#include "platform/window_ids.h"

namespace zl {

// One decoded icon: 16 x 16 pixels, row by row from the top, each
// 0xAARRGGBB (alpha 0 or 255).
inline constexpr int IconSide = 16;
struct IconImage {
  std::array<std::uint32_t, IconSide * IconSide> argb{};
};

// The first button is the default (Return), except in YesNoDefaultNo.
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
// Information: confirmations; Question: the sort and shuffle questions;
// Warning: questions and input errors; Error: errors and the "stop" icon;
// None: a box without an icon (a failed write of the file-type association).
enum class MessageIcon { Information, Question, Warning, Error, None };
enum class Answer { Ok, Yes, No, Cancel };

// One entry of a file dialog's type list: what it shows and the pattern
// it matches ("*.LTK" matches in any letter case, "*.*" every file).
struct FileFilter {
  std::string description;  // Windows-1252, as every text of the window
  std::string pattern;
};

// Building and showing the window, and its event loop: for start-up alone.
class WindowStart {
 public:
  virtual ~WindowStart() = default;

  // Creates the four fonts from their point sizes and the screen's
  // dots per inch.
  virtual void createFonts() = 0;
  // Takes the decoded icons, in the program's icon order, for menus and
  // toolbar.
  virtual void setIcons(const std::vector<IconImage>& icons) = 0;
  // Builds the window, not yet shown, with every menu, toolbar, status bar
  // field and control, showing the rows of `list`. False when no window
  // could be made (then nothing of it remains).
  virtual bool buildMainWindow(const ListRows& list) = 0;
  // Shows `document` in HelpViewer, replacing what it showed: once, right
  // after the window is built.
  virtual void setHelpDocument(const RichDocument& document) = 0;
  // Shows the built window and makes it the active one.
  virtual void showMainWindow() = 0;
  // Delivers events to `sink` until it asks to quit.
  virtual void runEventLoop(EventSink& sink) = 0;
};

// The controls of the window and its status bar: what the commands set and
// read, by their ids.
class WindowControls {
 public:
  virtual ~WindowControls() = default;

  virtual void setText(ControlId id, const std::string& text) = 0;
  virtual std::string text(ControlId id) const = 0;
  virtual void setEnabled(ControlId id, bool enabled) = 0;
  virtual bool isEnabled(ControlId id) const = 0;
  // A menu entry or toolbar button.
  virtual void setCommandEnabled(CommandId id, bool enabled) = 0;
  virtual bool isCommandEnabled(CommandId id) const = 0;
  virtual void setFieldReadOnly(ControlId id, bool readOnly) = 0;
  virtual bool isReadOnly(ControlId id) const = 0;
  virtual void setChecked(ControlId id, bool checked) = 0;
  virtual bool isChecked(ControlId id) const = 0;
  virtual void setFocus(ControlId id) = 0;
  // The control with the keyboard focus, NoControl when none of ours has it.
  virtual ControlId focusedControl() const = 0;
  // Selects characters [start, end) of a text field; start == end only
  // places the caret.
  virtual void selectText(ControlId id, int start, int end) = 0;
  virtual Page currentPage() const = 0;
  // Selects the tab, exactly as a click on it would.
  virtual void showPage(Page page) = 0;

  // --- status bar -------------------------------------------------------
  virtual void setStatusText(StatusField field, const std::string& text, bool centred) = 0;
  virtual std::string statusText(StatusField field) const = 0;
  // A long action's message: shows `text` centred in StatusStateField at
  // once, before the work starts, and a wait cursor until `endBusy`.
  virtual void showStatusMessage(const std::string& text) = 0;
  virtual void endBusy() = 0;
  // While a long action waits (a download): repaints the window and looks
  // for a request to end the program (the close button, an end signal),
  // taking no other input. True when one has come: it is acted on once
  // the action has returned, and the action should stop.
  virtual bool pollEndRequest() = 0;
};

// VocabListView: its rows mirror the list given to buildMainWindow.
class PairListView {
 public:
  virtual ~PairListView() = default;

  virtual void removeAllRows() = 0;
  // Shows `count` more rows at the end, for pairs already in the list.
  virtual void appendRows(int count) = 0;
  // Row `row` shows its pair's new texts.
  virtual void updateRow(int row) = 0;
  // Removes row `row`, after its pair has left the list.
  virtual void removeRow(int row) = 0;
  virtual int rowCount() const = 0;
  virtual void setListVisible(bool visible) = 0;
  // Scrolls row `row` into view (not when it is visible already) and
  // selects it when `select` is set.
  virtual void revealListRow(int row, bool select) = 0;
  virtual void clearSelection() = 0;
  // The selected row, -1 when none.
  virtual int selectedRow() const = 0;
  virtual void showStatisticsPopup() = 0;
};

// Message boxes and file dialogs, each waiting for the user's answer.
class MessageDialogs {
 public:
  virtual ~MessageDialogs() = default;

  virtual Answer messageBox(const std::string& title, const std::string& text, MessageButtons buttons,
                            MessageIcon icon) = 0;
  // File dialogs starting in `folder` with an empty name box. A name that
  // does not exist may be given, its folder must; nothing is asked about
  // replacing. The chosen path as the system spells it, "" when cancelled.
  virtual std::string openFileDialog(const std::string& title, const std::string& folder,
                                     const std::vector<FileFilter>& filters) = 0;
  virtual std::string saveFileDialog(const std::string& title, const std::string& folder,
                                     const std::vector<FileFilter>& filters) = 0;
  // A one-line input box with an OK button, starting empty. False when it
  // was closed without OK; then `text` is "".
  virtual bool inputBox(const std::string& title, const std::string& prompt, std::string& text) = 0;
};

// The whole window in one object, as its adapter implements it; the
// program is given its parts. A fake implements the parts its tests need.
class Ui : public WindowStart, public WindowControls, public PairListView, public MessageDialogs {};

}  // namespace zl
