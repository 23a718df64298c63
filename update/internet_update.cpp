#include "update/internet_update.h"

#include <functional>

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

void fail(Ui& ui, const std::string& text) {
  ui.messageBox(update_text::UpdateErrorTitle, text, MessageButtons::Ok, MessageIcon::Error);
}

void inform(Ui& ui, const std::string& text) {
  ui.messageBox(update_text::UpdateInformationTitle, text, MessageButtons::Ok, MessageIcon::Information);
}

bool ask(Ui& ui, const std::string& question) {
  return ui.messageBox(update_text::UpdateInformationTitle, question, MessageButtons::YesNo, MessageIcon::Warning) ==
         Answer::Yes;
}

// The download's progress in the status bar. Each showing repaints at
// once, so a new text is shown at most every 100 ms, and at 100 % of a
// known length.
class ProgressDisplay {
 public:
  ProgressDisplay(Ui& ui, Network& network) : ui_(ui), network_(network) {}

  void operator()(std::uint64_t received, std::uint64_t length) {
    const std::int64_t now = network_.now();
    if (!shown_.empty() && now - shownAt_ < ProgressEveryMilliseconds && received != length) return;
    std::string shown = update_text::ProgressPrefix;
    if (length > 0)
      shown += std::to_string(received * 100 / length) + update_text::PercentSuffix;
    else if (received < 1'000'000)
      shown += std::to_string(received / 1000) + update_text::KilobyteSuffix;
    else
      shown += std::to_string(received / 1'000'000) + update_text::MegabyteSuffix;
    if (shown == shown_) return;
    ui_.showStatusMessage(shown);
    shown_ = std::move(shown);
    shownAt_ = now;
  }

 private:
  Ui& ui_;
  Network& network_;
  std::string shown_;
  std::int64_t shownAt_ = 0;
};

// True when the maker's key, which the running program carries, signed
// the update file. The signature is fetched beside it and stays in
// `signatureFile` for the caller to remove.
bool isGenuine(Program& program, const std::string& executable, const std::string& updateFile,
               const std::string& signatureFile) {
  MinisignKey key;
  if (!parseMinisignKey(readUpdateKey(program.files, executable), key)) return false;
  DownloadLimits limits;
  limits.maxBody = MaxSignatureBytes;
  ByteBuffer text;
  MinisignSignature signature;
  return httpDownloadToFile(program.network, program.files, program.constants.updateUrl + ".minisig", signatureFile,
                            limits) &&
         program.files.readFile(signatureFile, text) && parseMinisignSignature(viewOf(text), signature) &&
         isSignedBy(program.signatures, key, signature, updateFile);
}

// True when the user wants the update file installed: it is the maker's,
// carries a version other than the running program's, and the user said
// Yes. Otherwise the user has been told why not, or declined.
bool isWanted(Program& program, const std::string& executable, const std::string& updateFile, bool genuine) {
  const std::string remote = genuine ? readFileVersion(program.files, updateFile) : std::string();
  if (remote.empty()) {
    fail(program.ui, genuine ? update_text::NoVersion : update_text::NotGenuine);
    return false;
  }
  const std::string local = readFileVersion(program.files, executable);
  if (local == remote) {
    inform(program.ui, update_text::AlreadyNewest);
    return false;
  }
  return ask(program.ui, update_text::LocalVersion + local + update_text::UpdateVersion + remote + update_text::InstallQuestion);
}

// Puts the update file in the program file's place and starts it; the old
// program file stays as the leftover file that the next start deletes.
bool replaceProgram(Program& program, const std::string& executable, const std::string& updateFile) {
  System& system = program.system;
  const std::string leftover = changeExtension(executable, "tmp");
  if (!system.copyPermissions(executable, updateFile) || !system.renameFile(executable, leftover)) {
    fail(program.ui, update_text::UpdateFailed);
    return false;
  }
  if (system.renameFile(updateFile, executable)) {
    inform(program.ui, update_text::UpdateInstalled);
    const std::string& file = program.file.currentPath;
    system.startProgram(executable, file, directoryPart(file));
    return true;
  }
  const bool restored = system.renameFile(leftover, executable);
  fail(program.ui, restored ? update_text::UpdateFailed : update_text::ProgramDamaged);
  if (!restored) program.desktop.openUrl(program.constants.homepageUrl);
  return false;
}

}  // namespace

bool runInternetUpdate(Program& program) {
  Ui& ui = program.ui;
  System& system = program.system;
  if (!program.network.ready()) {
    fail(ui, update_text::NetworkError);
    return false;
  }
  if (!ask(ui, update_text::StartUpdateQuestion)) return false;
  ui.showStatusMessage(update_text::UpdateBusy);

  const std::string executable = system.executablePath();
  if (!system.isWritableFolder(directoryPart(executable))) {
    fail(ui, update_text::ProgramFolderReadOnly);
    return false;
  }
  const std::string updateFile = changeExtension(executable, "upd");
  const std::string signatureFile = updateFile + ".minisig";
  ProgressDisplay progress(ui, program.network);
  if (!httpDownloadToFile(program.network, program.files, program.constants.updateUrl, updateFile, {},
                          std::ref(progress))) {
    fail(ui, update_text::NoUpdateServer);
    return false;
  }
  const bool genuine = isGenuine(program, executable, updateFile, signatureFile);
  system.removeFile(signatureFile);
  if (!isWanted(program, executable, updateFile, genuine)) {
    system.removeFile(updateFile);
    return false;
  }
  return replaceProgram(program, executable, updateFile);
}

}  // namespace zl
