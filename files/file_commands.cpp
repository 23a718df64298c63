#include "files/file_commands.h"

#include <cerrno>
#include <new>

#include "files/backup.h"
#include "files/clear_store.h"
#include "files/file_access.h"
#include "files/texts.h"
#include "state/program.h"
#include "store/file_format.h"
#include "store/path_names.h"

namespace zl {

namespace {

// Puts right a save of `path` in place that was cut off, and tells the
// user; a file changed since the cut-off save is left as it is unless the
// user asks for the old content (the question's default keeps it). False
// when the file cannot be put right; it is then not to be opened or
// saved, as its content is half old, half new.
bool recoverCutOffSave(Program& program, const std::string& path) {
  const CutOffSave found = program.files.recoverCutOffSave(path);
  Recovery recovery = found.recovery;
  if (recovery == Recovery::InDoubt) {
    const std::string question = files_text::FileProblemStart + shownPath(path) + files_text::CutOffAt +
                                 shownDate(found.savedAt) + files_text::ChangedAt + shownDate(found.changedAt) +
                                 files_text::CutOffQuestion;
    const Answer answer = program.dialogs.messageBox(files_text::CutOffTitle, question, MessageButtons::YesNoDefaultNo,
                                                     MessageIcon::Warning);
    recovery = program.files.settleCutOffSave(path, answer == Answer::Yes);
    if (recovery == Recovery::Recovered) return true;  // as the user asked: nothing to tell
  }
  switch (recovery) {
    case Recovery::Recovered:
      program.dialogs.messageBox(files_text::RecoveredTitle,
                                 files_text::FileProblemStart + shownPath(path) + files_text::Recovered,
                                 MessageButtons::Ok, MessageIcon::Information);
      return true;
    case Recovery::Failed:
      reportFileProblem(program.dialogs, path, files_text::NotRecovered);
      return false;
    default:
      return true;
  }
}

// What to do about a backup that `gap` kept from being made.
std::string backupFix(const Failure& gap) {
  switch (gap.cause) {
    case FailureCause::OtherUsersFile:
    case FailureCause::OtherUsersLink:
      return files_text::FixOthersFile;
    case FailureCause::NotAFile:
      return files_text::FixNotAFile;
    default:
      break;
  }
  if (gap.error == ENOSPC) return files_text::FixDiskFull;
#ifdef EDQUOT
  if (gap.error == EDQUOT) return files_text::FixDiskFull;
#endif
  if (gap.error == EACCES || gap.error == EPERM || gap.error == EROFS) return files_text::FixFolder;
  return {};
}

// Tells the user, once a run for each file, that its save kept no backup.
void tellMissingBackup(Program& program, const std::string& path, const Failure& gap) {
  if (!program.filesToldWithoutBackup.insert(path).second) return;
  program.dialogs.messageBox(files_text::NoBackupTitle,
                             files_text::FileProblemStart + shownPath(path) + files_text::NoBackupSaved +
                                 shownPath(backupPathOf(path)) + files_text::NoBackupMade + causeText(gap) +
                                 backupFix(gap) + files_text::NoBackupOnce,
                             MessageButtons::Ok, MessageIcon::Warning);
}

// Reads the pairs of the current file into the emptied store.
void loadCurrentFile(Program& program) {
  const std::string& path = program.file.currentPath;
  if (!recoverCutOffSave(program, path)) {
    program.file.currentPath.clear();  // never the current file: "Speichern" must not replace it
    return;
  }
  const FileStatus status = program.files.status(path);
  if (!status.exists || !status.regular || status.size == 0) return;  // opens as an empty list
  if (!readPairsInto(program.dialogs, program.files, program.system, path, program.list)) {
    program.file.currentPath.clear();  // never the current file: "Speichern" must not replace it
    return;
  }
  program.listView.setListVisible(false);
  try {
    program.listView.appendRows(static_cast<int>(program.list.size()));
  } catch (const std::bad_alloc&) {  // no memory for the rows: load none of the pairs
    program.list.clear();
    reportFileProblem(program.dialogs, path, files_text::TooLarge);
    program.file.currentPath.clear();
  }
  program.listView.setListVisible(true);
}

// `path` with ".ltk" appended when its file name has no extension.
std::string withDefaultExtension(const std::string& path) {
  return extensionOf(path).empty() ? changeExtension(path, "ltk") : path;
}

}  // namespace

Answer unsavedGuard(MessageDialogs& dialogs) {
  return dialogs.messageBox(files_text::UnsavedTitle, files_text::UnsavedQuestion, MessageButtons::YesNoCancel,
                            MessageIcon::Warning);
}

void newFile(Program& program) {
  const Answer answer = program.file.unsaved ? unsavedGuard(program.dialogs) : Answer::No;
  if (answer == Answer::Cancel) return;
  if (answer == Answer::Yes) {
    saveFile(program);
    if (program.file.unsaved) return;
  }
  clearStore(program);
}

void openFile(Program& program, const std::string& path) {
  const std::string oldPath = program.file.currentPath;
  bool discarded = false;
  if (program.file.unsaved) {
    switch (unsavedGuard(program.dialogs)) {
      case Answer::Yes:
        saveFile(program);
        break;
      case Answer::No:
        program.file.unsaved = 0;
        discarded = true;
        break;
      default:
        break;
    }
  }
  if (program.file.unsaved) {
    program.file.currentPath = oldPath;
    showCurrentFile(program.controls, program.file.currentPath);
    return;
  }
  program.file.currentPath =
      path.empty() ? program.dialogs.openFileDialog(files_text::OpenTitle, dialogFolder(program), vocabularyFilters())
                   : path;
  if (program.file.currentPath.empty()) {
    program.file.currentPath = oldPath;
    if (discarded) program.file.unsaved = 1;  // the list was never touched
    showCurrentFile(program.controls, program.file.currentPath);
    return;
  }
  program.controls.showStatusMessage(files_text::Loading);
  const std::string chosen = program.file.currentPath;
  newFile(program);  // nothing unsaved now: clears without a question
  program.file.currentPath = chosen;
  loadCurrentFile(program);
  showCurrentFile(program.controls, program.file.currentPath);
}

void saveFile(Program& program) {
  AppState& file = program.file;
  if (file.currentPath.empty())
    file.currentPath =
        program.dialogs.saveFileDialog(files_text::SaveTitle, program.constants.workingDirectory, vocabularyFilters());
  program.controls.showStatusMessage(files_text::Saving);
  if (file.currentPath.empty()) return;
  file.currentPath = withDefaultExtension(file.currentPath);
  if (!recoverCutOffSave(program, file.currentPath)) return;  // the backup would keep a half-written file
  ByteBuffer bytes;
  writeRecords(program.list, 0, program.list.size(), bytes);  // leaves the current pair as it is
  const Replacement saved = program.files.replaceFile(file.currentPath, viewOf(bytes), backupPathOf(file.currentPath));
  if (!saved) {
    program.system.reportCause("saving", saved.failure);
    std::string text = files_text::NotSaved;
    if (saved.noRescueCopy)
      text += files_text::RescueCopyStart + shownPath(saved.failure.path) + files_text::RescueCopyEnd +
              causeText(saved.failure) + files_text::SaveElsewhere;
    program.dialogs.messageBox(files_text::AccessErrorTitle, text, MessageButtons::Ok, MessageIcon::Error);
    return;
  }
  if (saved.backupFailure) tellMissingBackup(program, file.currentPath, saved.backupFailure);
  file.unsaved = 0;
  showCurrentFile(program.controls, file.currentPath);
}

void saveFileAs(Program& program) {
  MessageDialogs& dialogs = program.dialogs;
  const std::string folder = dialogFolder(program);
  std::string path = dialogs.saveFileDialog(files_text::SaveTitle, folder, vocabularyFilters());
  while (!path.empty()) {
    path = withDefaultExtension(path);
    if (!program.files.status(path).regular) break;
    const Answer replace = dialogs.messageBox(files_text::SaveAsTitle, shownPath(path) + files_text::ReplaceQuestion,
                                              MessageButtons::YesNo, MessageIcon::Warning);
    if (replace == Answer::Yes) break;
    path = dialogs.saveFileDialog(files_text::SaveTitle, folder, vocabularyFilters());
  }
  if (path.empty()) return;
  program.file.currentPath = path;
  saveFile(program);
}

}  // namespace zl
