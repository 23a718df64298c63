#include "update/internet_update.h"

#include "platform/paths.h"
#include "state/program.h"
#include "store/path_names.h"
#include "update/http_download.h"
#include "update/minisign.h"
#include "update/program_file.h"
#include "update/texts.h"

namespace zl {

namespace {

constexpr std::uint64_t MaxSignatureBytes = 64 * 1024;
constexpr std::int64_t ProgressEveryMilliseconds = 100;

void fail(MessageDialogs& dialogs, const std::string& text) {
  dialogs.messageBox(update_text::UpdateErrorTitle, text, MessageButtons::Ok, MessageIcon::Error);
}

void inform(MessageDialogs& dialogs, const std::string& text) {
  dialogs.messageBox(update_text::UpdateInformationTitle, text, MessageButtons::Ok, MessageIcon::Information);
}

bool ask(MessageDialogs& dialogs, const std::string& question) {
  return dialogs.messageBox(update_text::UpdateInformationTitle, question, MessageButtons::YesNo,
                            MessageIcon::Warning) == Answer::Yes;
}

// The folder of a path as the system has it: up to and including its last
// "/" ("\" is a character of a name here); "" when there is none.

// The window while the download runs: its progress in the status bar and,
// every 100 ms, a repaint and a look for a request to end the program.
// Each showing repaints at once, so a new text is shown at most every
// 100 ms, and at 100 % of a known length.
class DownloadWatch {
 public:
  DownloadWatch(WindowControls& controls, Network& network)
      : controls_(controls), network_(network), lookedAt_(network.now() - ProgressEveryMilliseconds) {}

  // The progress of the update file; false when the program is to end.
  bool operator()(std::uint64_t received, std::uint64_t length) {
    const std::int64_t now = network_.now();
    if (!shown_.empty() && now - shownAt_ < ProgressEveryMilliseconds && received != length) return keepGoing();
    std::string shown = update_text::ProgressPrefix;
    if (length > 0)
      shown += std::to_string(received * 100 / length) + update_text::PercentSuffix;
    else if (received < 1'000'000)
      shown += std::to_string(received / 1000) + update_text::KilobyteSuffix;
    else
      shown += std::to_string(received / 1'000'000) + update_text::MegabyteSuffix;
    if (shown != shown_) {
      controls_.showStatusMessage(shown);
      shown_ = std::move(shown);
      shownAt_ = now;
    }
    return keepGoing();
  }

  // False once the window has asked for the end of the program.
  bool keepGoing() {
    const std::int64_t now = network_.now();
    if (!endRequested_ && now - lookedAt_ >= ProgressEveryMilliseconds) {
      lookedAt_ = now;
      endRequested_ = controls_.pollEndRequest();
    }
    return !endRequested_;
  }

  bool endRequested() const { return endRequested_; }

 private:
  WindowControls& controls_;
  Network& network_;
  std::string shown_;
  std::int64_t shownAt_ = 0;
  std::int64_t lookedAt_;
  bool endRequested_ = false;
};

// What to tell the user of a download that did not end with Done.
const std::string& failureText(DownloadOutcome outcome) {
  switch (outcome) {
    case DownloadOutcome::NoConnection:
      return update_text::NoUpdateServer;
    case DownloadOutcome::Refused:
      return update_text::ServerRefused;
    case DownloadOutcome::CutShort:
      return update_text::ConnectionCut;
    case DownloadOutcome::CannotWrite:
      return update_text::CannotWrite;
    case DownloadOutcome::DiskFull:
      return update_text::DiskFull;
    case DownloadOutcome::TooLarge:
      return update_text::UpdateTooLarge;
    case DownloadOutcome::TooSlow:
      return update_text::ServerTooSlow;
    case DownloadOutcome::Done:
    case DownloadOutcome::DoneBySilence:
    case DownloadOutcome::Stopped:  // the window is closing: nothing to tell
      break;
  }
  return update_text::UpdateFailed;
}

bool arrived(DownloadOutcome outcome) {
  return outcome == DownloadOutcome::Done || outcome == DownloadOutcome::DoneBySilence;
}

// Why the update file that `update` reads is not taken as the maker's: ""
// when `key` signed it, else the message to show. The signature is
// fetched from beside it on the server into memory. A file or signature
// that ended in a pause of the server and fails the check was most likely
// cut short, not forged (`updateOutcome`: how the file's download ended).
std::string signatureRefusal(Program& program, const MinisignKey& key, const ReadAt& update,
                             DownloadOutcome updateOutcome, DownloadWatch& watch) {
  DownloadLimits limits;
  limits.maxBody = MaxSignatureBytes;
  BodyText text;
  const DownloadProgress keepGoing = [&watch](std::uint64_t, std::uint64_t) { return watch.keepGoing(); };
  const DownloadOutcome fetched =
      httpDownloadToFile(program.network, program.constants.updateUrl + ".minisig", text, limits, keepGoing);
  // A server without a signature, or with something too large to be one,
  // offers a file that nobody signed; a failed connection says nothing
  // about the file.
  if (fetched == DownloadOutcome::Refused || fetched == DownloadOutcome::TooLarge) return update_text::NotGenuine;
  if (!arrived(fetched)) return failureText(fetched);
  MinisignSignature signature;
  if (parseMinisignSignature(text.text, signature) && isSignedBy(program.signatures, key, signature, update)) return {};
  const bool paused = updateOutcome == DownloadOutcome::DoneBySilence || fetched == DownloadOutcome::DoneBySilence;
  return paused ? update_text::PausedTooLong : update_text::NotGenuine;
}

// True when the user wants the signed update file installed: it carries a
// version newer than the running program's, and the user said Yes.
// Otherwise the user has been told why not, or declined.
bool isWanted(Program& program, const std::string& executable, const ReadAt& update) {
  const std::string remote = readFileVersion(update);
  if (remote.empty()) {
    fail(program.dialogs, update_text::NoVersion);
    return false;
  }
  const std::string local = readFileVersion(program.files, executable);
  if (local == remote) {
    inform(program.dialogs, update_text::AlreadyNewest);
    return false;
  }
  if (isOlderVersion(remote, local)) {
    fail(program.dialogs, update_text::OlderUpdate + update_text::LocalVersion + local + update_text::UpdateVersion +
                              remote + update_text::NotInstalled);
    return false;
  }
  return ask(program.dialogs,
             update_text::LocalVersion + local + update_text::UpdateVersion + remote + update_text::InstallQuestion);
}

// Starts the new program with the current vocabulary file, in that file's
// folder, or in the program's when that one is gone.
bool restart(System& system, const std::string& executable, const std::string& file) {
  if (system.startProgram(executable, file, folderOf(file))) return true;
  const Outcome started = system.startProgram(executable, file, folderOf(executable));
  if (!started) system.reportCause("starting", started.failure);
  return static_cast<bool>(started);
}

// Puts the update file in the program file's place and starts it; the old
// program file stays as the leftover file that the next start deletes.
// True when the new program runs.
bool replaceProgram(Program& program, const std::string& executable, NewProgramFile& update) {
  const UpdateFiles names = updateFilesOf(executable);
  if (const Outcome installed = update.install(executable, names.staged, names.leftover); !installed) {
    program.system.reportCause("installing", installed.failure);
    fail(program.dialogs, update_text::UpdateFailed);
    return false;
  }
  if (!restart(program.system, executable, program.file.currentPath)) {
    inform(program.dialogs, update_text::StartItAgain);
    return false;
  }
  inform(program.dialogs, update_text::UpdateInstalled);
  return true;
}

}  // namespace

bool runInternetUpdate(Program& program) {
  MessageDialogs& dialogs = program.dialogs;
  System& system = program.system;
  if (!program.network.ready()) {
    fail(dialogs, update_text::NetworkError);
    return false;
  }
  // The file at the program's name is no longer this program: its key and
  // version are another's.
  if (system.programFileReplaced()) {
    inform(dialogs, update_text::ProgramReplaced);
    return false;
  }
  // Without its key a build cannot tell the maker's files from others:
  // nothing to ask and nothing to fetch.
  const std::string executable = system.executablePath();
  MinisignKey key;
  if (!parseMinisignKey(readUpdateKey(program.files, executable), key)) {
    fail(dialogs, update_text::NoUpdateKey);
    return false;
  }
  if (!ask(dialogs, update_text::StartUpdateQuestion)) return false;
  program.controls.showStatusMessage(update_text::UpdateBusy);

  const std::string folder = folderOf(executable);
  if (!program.files.isWritableFolder(folder)) {
    fail(dialogs, update_text::ProgramFolderReadOnly);
    return false;
  }
  Failure notCreated;
  const std::unique_ptr<NewProgramFile> update = system.createProgramFile(folder, notCreated);
  if (!update) {
    system.reportCause("making the update file in", notCreated);
    fail(dialogs, update_text::CannotWrite);
    return false;
  }
  DownloadWatch watch(program.controls, program.network);
  const DownloadOutcome downloaded =
      httpDownloadToFile(program.network, program.constants.updateUrl, *update, {}, std::ref(watch));
  if (watch.endRequested()) return false;  // the window closes once the command has returned
  if (!arrived(downloaded)) {
    if (update->failure()) system.reportCause("writing the update file in", update->failure());
    fail(dialogs, failureText(downloaded));
    return false;
  }
  const ReadAt read = [&update](std::uint64_t offset, std::size_t size, std::string& bytes) {
    update->readPart(offset, size, bytes);
  };
  const std::string refusal = signatureRefusal(program, key, read, downloaded, watch);
  if (watch.endRequested()) return false;
  if (!refusal.empty()) {
    fail(dialogs, refusal);
    return false;
  }
  return isWanted(program, executable, read) && replaceProgram(program, executable, *update);
}

UpdateFiles updateFilesOf(const std::string& executable) {
  return {changeExtension(executable, "upd"), changeExtension(executable, "tmp")};
}

}  // namespace zl
