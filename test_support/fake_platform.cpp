#include "test_support/fake_platform.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/dispatch.h"
#include "app/window_layout.h"
#include "state/window_rules.h"
#include "store/cp1252.h"

namespace zl {

FakeControls::FakeControls() {
  commands_.fill(true);
  for (const ControlLayout& layout : controlLayouts()) {
    Control& c = controls_[static_cast<std::size_t>(layout.id)];
    c.text = cp1252FromUtf8(layout.text);
    c.enabled = layout.enabled;
    c.checked = layout.checked;
    c.readOnly = layout.kind == ControlKind::ReadOnlyTextField;
    c.field = c.readOnly || layout.kind == ControlKind::TextField;
  }
}

void FakeMessageDialogs::expectMessage(std::string title, std::string text, Answer answer,
                                       std::function<void()> whileShown) {
  expected_.push_back(
      {DialogKind::Message, std::move(title), std::move(text), answer, "", false, std::move(whileShown)});
}

void FakeMessageDialogs::expectOpenDialog(std::string title, std::string folder, std::string path) {
  expected_.push_back(
      {DialogKind::OpenFile, std::move(title), std::move(folder), Answer::Ok, std::move(path), false, {}});
}

void FakeMessageDialogs::expectSaveDialog(std::string title, std::string folder, std::string path) {
  expected_.push_back(
      {DialogKind::SaveFile, std::move(title), std::move(folder), Answer::Ok, std::move(path), false, {}});
}

void FakeMessageDialogs::expectInput(std::string title, std::string prompt, std::string text, bool closed) {
  expected_.push_back(
      {DialogKind::Input, std::move(title), std::move(prompt), Answer::Ok, std::move(text), closed, {}});
}

const FakeMessageDialogs::Expected* FakeMessageDialogs::nextExpected(DialogKind kind, const std::string& title,
                                                                     const std::string& text) {
  static const char* const kinds[] = {"message box", "open dialog", "save dialog", "input box"};
  const auto what = [&] {
    return std::string(kinds[static_cast<int>(kind)]) + " \"" + utf8FromCp1252(title) + "\": " + utf8FromCp1252(text);
  };
  if (expected_.empty()) {
    ADD_FAILURE() << "unexpected " << what();
    return nullptr;
  }
  current_ = expected_.front();
  expected_.pop_front();
  if (current_.kind != kind) {
    ADD_FAILURE() << "expected a " << kinds[static_cast<int>(current_.kind)] << " \"" << utf8FromCp1252(current_.title)
                  << "\", got " << what();
    return nullptr;
  }
  EXPECT_EQ(utf8FromCp1252(current_.title), utf8FromCp1252(title));
  if (kind == DialogKind::Message || kind == DialogKind::Input || !current_.text.empty()) {
    EXPECT_EQ(utf8FromCp1252(current_.text), utf8FromCp1252(text)) << what();
  }
  return &current_;
}

std::string FakeMessageDialogs::fileDialog(DialogKind kind, const std::string& title, const std::string& folder,
                                           const std::vector<FileFilter>& filters) {
  record((kind == DialogKind::OpenFile ? "openFileDialog " : "saveFileDialog ") + title);
  lastFilters_ = filters;
  const Expected* next = nextExpected(kind, title, folder);
  return next ? next->result : std::string();
}

std::string FakeMessageDialogs::openFileDialog(const std::string& title, const std::string& folder,
                                               const std::vector<FileFilter>& filters) {
  return fileDialog(DialogKind::OpenFile, title, folder, filters);
}

std::string FakeMessageDialogs::saveFileDialog(const std::string& title, const std::string& folder,
                                               const std::vector<FileFilter>& filters) {
  return fileDialog(DialogKind::SaveFile, title, folder, filters);
}

bool FakeMessageDialogs::inputBox(const std::string& title, const std::string& prompt, std::string& text) {
  record("inputBox " + title);
  const Expected* next = nextExpected(DialogKind::Input, title, prompt);
  text = next && !next->closed ? next->result : std::string();
  return next && !next->closed;
}

void FakeWindowStart::setIcons(const std::vector<IconImage>& icons) {
  record("setIcons " + std::to_string(icons.size()));
}

bool FakeWindowStart::buildMainWindow(const ListRows&) {
  record("buildMainWindow");
  return !windowFails;
}

void FakeWindowStart::runEventLoop(EventSink& sink) {
  record("runEventLoop");
  if (onEventLoop) onEventLoop(sink);
}

void FakeControls::setText(ControlId id, const std::string& text) {
  if (!valid(id)) return;
  Control& control = controls_[static_cast<std::size_t>(id)];
  control.text = control.field ? text.substr(0, MaxFieldText) : text;
}

std::string FakeControls::text(ControlId id) const {
  return valid(id) ? controls_[static_cast<std::size_t>(id)].text : "";
}

void FakeControls::setEnabled(ControlId id, bool enabled) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].enabled = enabled;
}

bool FakeControls::isEnabled(ControlId id) const {
  return valid(id) && controls_[static_cast<std::size_t>(id)].enabled;
}

void FakeControls::setCommandEnabled(CommandId id, bool enabled) {
  if (id >= 1 && id < CommandCount) commands_[static_cast<std::size_t>(id)] = enabled;
}

bool FakeControls::isCommandEnabled(CommandId id) const {
  return id >= 1 && id < CommandCount && commands_[static_cast<std::size_t>(id)];
}

void FakeControls::setFieldReadOnly(ControlId id, bool readOnly) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].readOnly = readOnly;
}

bool FakeControls::isReadOnly(ControlId id) const {
  return valid(id) && controls_[static_cast<std::size_t>(id)].readOnly;
}

void FakeControls::setChecked(ControlId id, bool checked) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].checked = checked;
}

bool FakeControls::isChecked(ControlId id) const {
  return valid(id) && controls_[static_cast<std::size_t>(id)].checked;
}

void FakeControls::setFocus(ControlId id) {
  record("setFocus " + std::string(controlName(id)));
  focus_ = id;
}

void FakeControls::selectText(ControlId id, int start, int end) {
  if (valid(id)) selections_[static_cast<std::size_t>(id)] = {start, end};
}

void FakeControls::showPage(Page page) {
  record("showPage " + std::to_string(page));
  page_ = page;
}

void FakeListView::removeRow(int row) {
  if (row >= 0 && row < rows_) --rows_;
  if (selectedRow_ == row) selectedRow_ = -1;
}

void FakeListView::revealListRow(int row, bool select) {
  revealedRow_ = row;
  if (select) selectedRow_ = row;
}

void FakeControls::setStatusText(StatusField field, const std::string& text, bool centred) {
  status_[field] = text;
  statusCentred_[field] = centred;
}

void FakeControls::showStatusMessage(const std::string& text) {
  setStatusText(StatusStateField, text, true);
  statusMessages_.push_back(text);
  busy_ = true;
}

Answer FakeMessageDialogs::messageBox(const std::string& title, const std::string& text, MessageButtons buttons,
                                      MessageIcon icon) {
  record("messageBox " + title);
  shown_.push_back({title, text, buttons, icon});
  const Expected* next = nextExpected(DialogKind::Message, title, text);
  if (!next) return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
  const Answer answer = next->answer;
  if (const std::function<void()> whileShown = next->whileShown) whileShown();
  return answer;
}

std::string FakeSystem::fullPath(const std::string& path) {
  return path.empty() || path.front() == '/' ? path : "/home/anna/" + path;
}

void FakeSystem::sleepMilliseconds(int milliseconds) { calls.push_back("sleep " + std::to_string(milliseconds)); }

namespace {

// A program file on a disk with `room` bytes left.
class CrampedProgramFile : public NewProgramFile {
 public:
  CrampedProgramFile(std::unique_ptr<NewProgramFile> file, long long room) : file_(std::move(file)), room_(room) {}
  bool write(std::string_view bytes) override {
    full_ = full_ || static_cast<long long>(bytes.size()) > room_;
    room_ -= static_cast<long long>(bytes.size());
    return !full_ && file_->write(bytes);
  }
  bool finish() override { return !full_ && file_->finish(); }
  Failure failure() const override { return full_ ? systemFailure(ENOSPC, {}) : file_->failure(); }
  void readPart(std::uint64_t offset, std::size_t size, std::string& bytes) override {
    file_->readPart(offset, size, bytes);
  }
  Outcome install(const std::string& program, const std::string& staged, const std::string& leftover) override {
    return file_->install(program, staged, leftover);
  }

 private:
  std::unique_ptr<NewProgramFile> file_;
  long long room_;
  bool full_ = false;
};

}  // namespace

std::unique_ptr<NewProgramFile> FakeSystem::createProgramFile(const std::string& folder, Failure& failure) {
  calls.push_back("program file in " + folder);
  if (noProgramFile) {
    failure = systemFailure(EROFS, folder);
    return nullptr;
  }
  std::unique_ptr<NewProgramFile> file = real_.createProgramFile(folder, failure);
  if (!file || programFileRoom < 0) return file;
  return std::make_unique<CrampedProgramFile>(std::move(file), programFileRoom);
}

Outcome FakeSystem::startProgram(const std::string& path, const std::string& argument, const std::string& folder) {
  calls.push_back("start " + path + " \"" + argument + "\" in " + folder);
  return failingStarts-- <= 0 ? Outcome() : systemFailure(ENOENT, path);
}

void FakeSystem::reportCause(std::string_view tried, const Failure& failure) {
  causes.push_back(std::string(tried) + " " + failure.path + " " +
                   (failure.cause == FailureCause::System
                        ? std::to_string(failure.error)
                        : "cause " + std::to_string(static_cast<int>(failure.cause))));
}

bool FakeSystem::anotherInstanceRuns(const std::string& name) {
  calls.push_back("lock " + name);
  return lockHeldElsewhere;
}

bool FakeSystem::waitForUpdatingInstance(const std::string& oldProgram) {
  calls.push_back("wait for " + oldProgram);
  if (startedByUpdatingInstance) lockHeldElsewhere = false;
  return startedByUpdatingInstance;
}

bool FakeSystem::isAdministrator() {
  calls.push_back("isAdministrator");
  return administrator;
}

Outcome FaultyFileSystem::readFile(const std::string& path, ByteBuffer& content, const ReadPieces& pieces) {
  content.clear();
  if (outOfMemory) throw std::bad_alloc();
  if (failReads) return systemFailure(EACCES, path);
  if (!pieces || !whileReading) return PosixFileSystem::readFile(path, content, pieces);
  return PosixFileSystem::readFile(path, content, [&](std::string_view filled) {
    const bool more = pieces(filled);
    whileReading(filled.size());
    return more;
  });
}

bool FakeDialogs::askYesNo(const std::string&, const std::string& text) {
  shown.push_back(text);
  if (answers.empty()) {
    ADD_FAILURE() << "an unexpected question: " << text;
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

FaultyFileSystem::FaultyFileSystem(std::unique_ptr<TempFolder> rescue)
    : PosixFileSystem(rescue->path()), rescue_(std::move(rescue)) {}

FaultyFileSystem::~FaultyFileSystem() = default;

const std::string& FaultyFileSystem::rescueFolder() const { return rescue_->path(); }

ssize_t FaultyFileSystem::writeSome(int fd, const char* data, std::size_t size) {
  if (beforeStep) beforeStep("write");
  if (beforeWrite) std::exchange(beforeWrite, nullptr)();
  if (writeLimit > 0) size = std::min(size, writeLimit);
  if (bytesBeforeDiskFull >= 0) {
    if (bytesBeforeDiskFull == 0) {
      errno = ENOSPC;
      return -1;
    }
    size = std::min<std::size_t>(size, static_cast<std::size_t>(bytesBeforeDiskFull));
  }
  const ssize_t n = PosixFileSystem::writeSome(fd, data, size);
  if (n > 0 && bytesBeforeDiskFull > 0) bytesBeforeDiskFull -= n;
  return n;
}

int FaultyFileSystem::syncFile(int fd) {
  if (beforeStep) beforeStep("sync");
  if (failSync) {
    errno = EIO;
    return -1;
  }
  return PosixFileSystem::syncFile(fd);
}

int FaultyFileSystem::closeFile(int fd) {
  if (beforeStep) beforeStep("close");
  const int result = PosixFileSystem::closeFile(fd);
  if (failClose) {
    errno = EIO;
    return -1;
  }
  return result;
}

int FaultyFileSystem::moveName(const std::string& from, const std::string& to, unsigned flags) {
  if (plain && flags != 0) return refuse(EINVAL);
  struct stat taken {};
  if (renamesOntoFreeNamesOnly && ::lstat(to.c_str(), &taken) == 0) return refuse(EEXIST);
  if (beforeStep) beforeStep("rename");
  return PosixFileSystem::moveName(from, to, flags);
}

int FaultyFileSystem::makeLink(const std::string& from, const std::string& to, int flags) {
  if (plain) return refuse(EPERM);
  if (beforeStep) beforeStep("link");
  return PosixFileSystem::makeLink(from, to, flags);
}

int FaultyFileSystem::openUnnamed(const std::string& folder, int flags, mode_t mode) {
  return plain ? refuse(EOPNOTSUPP) : PosixFileSystem::openUnnamed(folder, flags, mode);
}

int FaultyFileSystem::refuse(int error) {
  ++refusals;
  errno = error;
  return -1;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zl-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
  path_ = pattern + "/";
}

std::vector<std::string> TempFolder::names() const {
  std::vector<std::string> result;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) result.push_back(entry.path().filename());
  std::sort(result.begin(), result.end());
  return result;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(path_, ignored);
}

bool asPlainUser(const std::vector<std::string>& handedOver, const std::function<void()>& body) {
  if (::geteuid() != 0) {
    body();
    return true;
  }
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) return false;
  for (const std::string& path : handedOver)
    if (::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return false;
  constexpr int kNoSuchUser = 77;
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0 ||
        ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0)
      ::_exit(kNoSuchUser);
    body();
    std::fflush(nullptr);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNoSuchUser) return false;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the part run as nobody failed";
  return true;
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

FakeDesktop::FakeDesktop(std::unique_ptr<TempFolder> root)
    : PosixDesktopShell({root->path() + "home", root->path() + "data", root->path() + "config",
                         root->path() + "Desktop", root->path() + "Dokumente"}),
      root_(std::move(root)) {}

void FakeDesktop::runTool(const std::string& tool, const std::vector<std::string>& arguments) {
  std::string run = tool;
  for (const std::string& argument : arguments) run += " " + argument;
  toolRuns.push_back(run);
}

FakeProgram::FakeProgram() {
  program.constants = buildConstants();
  program.constants.workingDirectory = "/opt/zelvo/";
  program.random.seed(20261207);  // repeatable draws
  ui.showPage(EntryPage);
  ui.setFocus(EntryVocabularyField);
}

void FakeProgram::menu(int command) { dispatchEvent(program, Event{EventKind::Menu, command, EventSubtype::None}); }

void FakeProgram::control(int id, EventSubtype subtype) {
  dispatchEvent(program, Event{EventKind::Control, id, subtype});
}

void FakeProgram::close() { dispatchEvent(program, Event{EventKind::Close, 0, EventSubtype::None}); }

void FakeProgram::type(ControlId field, const std::string& text) {
  ui.setText(field, text);
  control(field, EventSubtype::TextChanged);
}

void FakeProgram::addPairs(const std::vector<VocabEntry>& pairs) {
  for (const VocabEntry& pair : pairs) program.list.append(pair);
  ui.appendRows(static_cast<int>(pairs.size()));
}

}  // namespace zl
