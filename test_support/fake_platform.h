// Scripted fakes of the platform for tests of the program logic.
//
// FakeUi is the window, made of one fake for each of its four parts, which
// a test may also use alone: FakeControls keeps every control's text and
// state by id (starting as the window layout says; a text field keeps at
// most MaxFieldText characters of what it is given, as the window's do),
// FakeListView the list's rows and selection, FakeMessageDialogs answers
// message boxes and dialogs from a script set up in advance and fails the
// running test on any box or dialog nobody expected, FakeWindowStart
// records the steps of start-up.
// FakeSystem and FakePrinter (fake_printer.h) record what they were asked
// and answer as told; FakeDesktop writes real files in a folder of its own.
// FaultyFileSystem is the real file system that can be told to fail like a
// full or broken disk, FaultyNetwork the real network that can be told to
// be unavailable, and asPlainUser runs a part of a test where file modes
// count even for root. A `FakeProgram` bundles them with a fresh
// Program and a fresh temporary folder for its files.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "posix/desktop_posix.h"
#include "posix/file_system_posix.h"
#include "posix/network_posix.h"
#include "posix/signature_sodium.h"
#include "posix/system_posix.h"
#include "quiz/quiz_run.h"
#include "state/program.h"
#include "state/window_rules.h"
#include "test_support/fake_printer.h"

namespace zl {

struct ShownMessage {
  std::string title;
  std::string text;
  MessageButtons buttons;
  MessageIcon icon;
};

enum class DialogKind { Message, OpenFile, SaveFile, Input };

// What the parts of a fake window were asked for, in order
// ("buildMainWindow", "setFocus EntryVocabularyField", "messageBox Fehler",
// ...). A virtual base: the parts of one FakeUi share one log.
class FakeCallLog {
 public:
  FakeCallLog() = default;
  FakeCallLog(const FakeCallLog&) = delete;
  FakeCallLog& operator=(const FakeCallLog&) = delete;
  const std::vector<std::string>& calls() const { return calls_; }

 protected:
  void record(std::string call) { calls_.push_back(std::move(call)); }

 private:
  std::vector<std::string> calls_;
};

// Start-up's part: records each step; the event loop runs `onEventLoop`.
class FakeWindowStart : public WindowStart, public virtual FakeCallLog {
 public:
  // Runs when the event loop is entered; the default returns at once.
  std::function<void(EventSink&)> onEventLoop;
  // buildMainWindow reports that no window could be made.
  bool windowFails = false;
  const RichDocument& helpDocument() const { return helpDocument_; }

  void createFonts() override { record("createFonts"); }
  void setIcons(const std::vector<IconImage>& icons) override;
  bool buildMainWindow(const ListRows& list) override;
  void setHelpDocument(const RichDocument& document) override {
    record("setHelpDocument");
    helpDocument_ = document;
  }
  void showMainWindow() override { record("showMainWindow"); }
  void runEventLoop(EventSink& sink) override;

 private:
  RichDocument helpDocument_;
};

// The controls and the status bar, kept by id and starting as the window
// layout says; records focus moves and pages shown.
class FakeControls : public WindowControls, public virtual FakeCallLog {
 public:
  FakeControls();

  // Every message shown by showStatusMessage, in order.
  const std::vector<std::string>& statusMessages() const { return statusMessages_; }
  bool busy() const { return busy_; }
  struct Selection {
    int start = 0, end = 0;
  };
  Selection selection(ControlId id) const { return selections_[static_cast<std::size_t>(id)]; }
  bool statusCentred(StatusField field) const { return statusCentred_[field]; }
  // The end of the program is asked for at the poll with this number (0:
  // the first; -1: never) and every poll after it.
  int endRequestedAtPoll = -1;
  int polls = 0;

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
  ControlId focusedControl() const override { return focus_; }
  void selectText(ControlId id, int start, int end) override;
  Page currentPage() const override { return page_; }
  void showPage(Page page) override;
  void setStatusText(StatusField field, const std::string& text, bool centred) override;
  std::string statusText(StatusField field) const override { return status_[field]; }
  void showStatusMessage(const std::string& text) override;
  void endBusy() override { busy_ = false; }
  bool pollEndRequest() override {
    const int poll = polls++;
    return endRequestedAtPoll >= 0 && poll >= endRequestedAtPoll;
  }

 private:
  struct Control {
    std::string text;
    bool enabled = true;
    bool readOnly = false;
    bool checked = false;
    bool field = false;  // a text field, which holds at most MaxFieldText characters
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
  std::vector<std::string> statusMessages_;
};

// The list mirror: how many rows it shows, and what the user selected.
class FakeListView : public PairListView {
 public:
  // What the user does with the list: rows on screen and the selection.
  void setRowCount(int rows) { rows_ = rows; }
  void setSelectedRow(int row) { selectedRow_ = row; }
  int popupsShown() const { return popups_; }
  // The rows the program updated, and the last one it revealed.
  const std::vector<int>& updatedRows() const { return updatedRows_; }
  int revealedRow() const { return revealedRow_; }
  // How often the list was emptied and filled again.
  int refills() const { return refills_; }
  bool listVisible() const { return listVisible_; }

  void removeAllRows() override {
    rows_ = 0;
    selectedRow_ = -1;
    ++refills_;
  }
  void appendRows(int count) override { rows_ += count; }
  void updateRow(int row) override { updatedRows_.push_back(row); }
  void removeRow(int row) override;
  int rowCount() const override { return rows_; }
  void setListVisible(bool visible) override { listVisible_ = visible; }
  void revealListRow(int row, bool select) override;
  void clearSelection() override { selectedRow_ = -1; }
  int selectedRow() const override { return selectedRow_; }
  void showStatisticsPopup() override { ++popups_; }

 private:
  int rows_ = 0;
  int selectedRow_ = -1;
  int popups_ = 0;
  bool listVisible_ = true;
  std::vector<int> updatedRows_;
  int revealedRow_ = -1;
  int refills_ = 0;
};

// Message boxes and dialogs answered from a script set up in advance; any
// box or dialog nobody expected fails the running test.
class FakeMessageDialogs : public MessageDialogs, public virtual FakeCallLog {
 public:
  // The next box or dialog must be this message box; it is answered so,
  // after `whileShown` has run (what happens while the user reads it).
  void expectMessage(std::string title, std::string text, Answer answer, std::function<void()> whileShown = {});
  // The next one must be a file dialog with this title starting in
  // `folder` (checked unless empty); it returns `path` ("" = cancelled).
  void expectOpenDialog(std::string title, std::string folder, std::string path);
  void expectSaveDialog(std::string title, std::string folder, std::string path);
  // The next one must be the input box titled so; it returns `text`, or is
  // closed when `closed`.
  void expectInput(std::string title, std::string prompt, std::string text, bool closed = false);
  // True when every expected box and dialog has been shown.
  bool allMessagesShown() const { return expected_.empty(); }
  // The filters of the last file dialog.
  const std::vector<FileFilter>& lastFilters() const { return lastFilters_; }
  const std::vector<ShownMessage>& shownMessages() const { return shown_; }

  Answer messageBox(const std::string& title, const std::string& text, MessageButtons buttons,
                    MessageIcon icon) override;
  std::string openFileDialog(const std::string& title, const std::string& folder,
                             const std::vector<FileFilter>& filters) override;
  std::string saveFileDialog(const std::string& title, const std::string& folder,
                             const std::vector<FileFilter>& filters) override;
  bool inputBox(const std::string& title, const std::string& prompt, std::string& text) override;

 private:
  struct Expected {
    DialogKind kind;
    std::string title, text;  // text: the message, the start folder or the prompt
    Answer answer = Answer::Ok;
    std::string result;  // the path chosen or the text typed
    bool closed = false;
    std::function<void()> whileShown;
  };
  // The next expected entry, checked against what is shown; nullptr (and a
  // test failure) when it is not what the script says.
  const Expected* nextExpected(DialogKind kind, const std::string& title, const std::string& text);
  std::string fileDialog(DialogKind kind, const std::string& title, const std::string& folder,
                         const std::vector<FileFilter>& filters);

  std::deque<Expected> expected_;
  Expected current_;
  std::vector<FileFilter> lastFilters_;
  std::vector<ShownMessage> shown_;
};

// The whole window, its four parts sharing one log of calls: for tests
// that drive the program through every part.
class FakeUi : public FakeWindowStart, public FakeControls, public FakeListView, public FakeMessageDialogs {};

class FakeSystem : public System {
 public:
  std::string executable = "/opt/zelvo/zelvo-lingotak";
  bool lockHeldElsewhere = false;
  // This program was started by an instance that has just updated it; that
  // instance holds the lock until it ends, and waiting for it lets go of it.
  bool startedByUpdatingInstance = false;
  // The program file was replaced while the program ran.
  bool programReplaced = false;
  bool administrator = true;
  // This many starts of a program fail before they succeed again.
  int failingStarts = 0;
  // "sleep 1000", "lock Zelvo_Lingotak", "wait for /p.tmp",
  // "program file in /d", "start /p \"/f\" in /d", ...
  std::vector<std::string> calls;

  std::string executablePath() override { return executable; }
  // Relative paths start in "/home/anna/".
  std::string fullPath(const std::string& path) override;
  void sleepMilliseconds(int milliseconds) override;
  // A real one, as the POSIX system makes it, in a real folder; none when
  // `noProgramFile`. It takes `programFileRoom` bytes before its disk is
  // full (-1: any number).
  bool noProgramFile = false;
  long long programFileRoom = -1;
  using System::createProgramFile;
  std::unique_ptr<NewProgramFile> createProgramFile(const std::string& folder, Failure& failure) override;
  Outcome startProgram(const std::string& path, const std::string& argument, const std::string& folder) override;
  // What reportCause was told: "TRIED PATH errno" or "TRIED PATH cause N".
  std::vector<std::string> causes;
  void reportCause(std::string_view tried, const Failure& failure) override;
  bool anotherInstanceRuns(const std::string& name) override;
  bool waitForUpdatingInstance(const std::string& oldProgram) override;
  bool programFileReplaced() override { return programReplaced; }
  bool isAdministrator() override;
  std::uint64_t memory = std::uint64_t{1} << 40;
  std::uint64_t availableMemory() override { return memory; }

 private:
  PosixSystem real_;
};

class TempFolder;

// The real file system, with faults on demand; its rescue copies go to a
// temporary folder of its own.
class FaultyFileSystem : public PosixFileSystem {
 public:
  FaultyFileSystem() : FaultyFileSystem(std::make_unique<TempFolder>()) {}
  ~FaultyFileSystem() override;
  // Writing fails once `bytesBeforeDiskFull` more bytes have been written.
  long long bytesBeforeDiskFull = -1;  // -1: never
  bool failSync = false;               // fsync reports an I/O error
  bool failClose = false;              // close reports an I/O error
  bool failReads = false;              // every file is unreadable (no permission)
  bool outOfMemory = false;            // reading a file runs out of memory
  int newFilesRefused = 0;             // createOutputFile fails with this errno (0: it does not)
  // Refuses hard links, the flags of renameat2 and O_TMPFILE, as exFAT
  // and FAT32 through FUSE do; `refusals` counts the calls it refused.
  bool plain = false;
  int refusals = 0;
  // Renames onto free names only, as fusefat does (EEXIST otherwise).
  bool renamesOntoFreeNamesOnly = false;
  std::function<void()> beforeWrite;  // runs once, at the next write
  std::size_t writeLimit = 0;         // at most this many bytes per write (0: no limit)
  // Runs before every write, fsync, close, rename and link of a save
  // ("write", "sync", "close", "rename", "link"), so that a test can stop
  // the program there.
  std::function<void(const char* step)> beforeStep;
  // The folder of the rescue copies, with its trailing "/".
  const std::string& rescueFolder() const;
  // Folders taken for ones the user may not write, whatever their modes
  // say (which do not hold for root).
  std::set<std::string> readOnlyFolders;
  bool isWritableFolder(const std::string& folder) override {
    return readOnlyFolders.count(folder) == 0 && PosixFileSystem::isWritableFolder(folder);
  }

  // Runs after each piece of a file read in pieces, with the bytes in so
  // far: a test can change the file there.
  std::function<void(std::size_t filled)> whileReading;
  using PosixFileSystem::readFile;
  Outcome readFile(const std::string& path, ByteBuffer& content, const ReadPieces& pieces) override;
  using PosixFileSystem::createOutputFile;
  std::unique_ptr<OutputFile> createOutputFile(const std::string& path, ExistingFile existing,
                                               Failure& failure) override {
    if (newFilesRefused != 0) failure = systemFailure(newFilesRefused, folderOf(path));
    return newFilesRefused != 0 ? nullptr : PosixFileSystem::createOutputFile(path, existing, failure);
  }
  using PosixFileSystem::mapFile;
  std::unique_ptr<FileBytes> mapFile(const std::string& path, std::uint64_t maxBytes, Failure& failure) override {
    if (outOfMemory) throw std::bad_alloc();
    if (failReads) failure = systemFailure(EACCES, path);
    return failReads ? nullptr : PosixFileSystem::mapFile(path, maxBytes, failure);
  }

 protected:
  ssize_t writeSome(int fd, const char* data, std::size_t size) override;
  int syncFile(int fd) override;
  int closeFile(int fd) override;
  int moveName(const std::string& from, const std::string& to, unsigned flags) override;
  int makeLink(const std::string& from, const std::string& to, int flags) override;
  int openUnnamed(const std::string& folder, int flags, mode_t mode) override;

 private:
  explicit FaultyFileSystem(std::unique_ptr<TempFolder> rescue);
  int refuse(int error);
  std::unique_ptr<TempFolder> rescue_;
};

// Message boxes answered from a script: each question takes the next
// answer; a question with none left fails the test and is answered No.
class FakeDialogs : public Dialogs {
 public:
  std::deque<bool> answers;
  std::vector<std::string> shown;  // the text of every box, questions too, in order

  void tell(const std::string&, const std::string& text, MessageIcon) override { shown.push_back(text); }
  bool askYesNo(const std::string&, const std::string& text) override;
};

// The real network, which can be told to be unavailable.
class FaultyNetwork : public PosixNetwork {
 public:
  bool unavailable = false;  // the socket layer cannot be made ready
  bool ready() override { return !unavailable && PosixNetwork::ready(); }
};

// A fresh temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder with its trailing "/".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }
  // The names of everything in the folder, sorted.
  std::vector<std::string> names() const;

 private:
  std::string path_;
};

// Runs `body` as a user without root's rights, so that file modes count:
// here when this process is not root, else in a forked child that has
// become `nobody`, after the paths in `handedOver` were given to that user.
// A failing EXPECT inside the child fails the test. False when root cannot
// become another user; the test is then to be skipped.
bool asPlainUser(const std::vector<std::string>& handedOver, const std::function<void()>& body);

// Whole files, byte for byte.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The real desktop files in a temporary folder of its own, removed at the
// end: the user's data, config and desktop folders are its data/, config/
// and Desktop/, made when something is written there. The tools it is
// asked to run and the URLs to open are recorded instead.
class FakeDesktop : public PosixDesktopShell {
 public:
  FakeDesktop() : FakeDesktop(std::make_unique<TempFolder>()) {}
  std::vector<std::string> openedUrls;  // every URL asked for, in order
  std::vector<std::string> toolRuns;    // "update-mime-database <folder>", in order
  int lookups = 0;                      // calls of folders(), as every look at the registration makes
  // The temporary folder, with its trailing "/".
  const std::string& root() const { return root_->path(); }
  void openUrl(const std::string& url) override { openedUrls.push_back(url); }
  void runTool(const std::string& tool, const std::vector<std::string>& arguments) override;
  DesktopFolders folders() override {
    ++lookups;
    return PosixDesktopShell::folders();
  }

 private:
  explicit FakeDesktop(std::unique_ptr<TempFolder> root);
  std::unique_ptr<TempFolder> root_;
};

// A fresh program over fresh fakes, set up as start-up leaves it: constants,
// program directory "/opt/zelvo/", entry page shown, focus in
// EntryVocabularyField. Nothing unsaved, no file, no pairs, no test; the
// random generator seeded, so draws repeat from run to run.
struct FakeProgram {
  FakeProgram();
  FakeUi ui;
  FakeSystem system;
  FakeDesktop desktop;
  FaultyFileSystem files;
  FakePrinter printer;
  TempFolder folder;
  FaultyNetwork network;
  SodiumSignatureVerifier signatures;
  Program program{Platform{ui, ui, ui, ui, system, desktop, files, printer, network, signatures}, clearTestPage};

  // Dispatches one event, as the window would raise it.
  void menu(int command);
  void control(int id, EventSubtype subtype = EventSubtype::LeftClick);
  void close();
  // Types into a text field: the new text, then its change event.
  void type(ControlId field, const std::string& text);
  // Appends pairs as a load would: counted, each with its row; nothing
  // marked unsaved.
  void addPairs(const std::vector<VocabEntry>& pairs);
};

}  // namespace zl
