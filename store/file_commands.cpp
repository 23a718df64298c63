#include "store/file_commands.h"

#include <new>

#include "app/interface_state.h"
#include "app/program.h"
#include "store/backup.h"
#include "store/clear_store.h"
#include "store/cp1252.h"
#include "store/file_format.h"
#include "store/path_names.h"

namespace zl {

namespace {

void reportFileProblem(Program& program, const std::string& path, const char* problem) {
  program.ui.messageBox("Datei Zugriffsfehler", "Die Datei\n"_w + shownPath(path) + cp1252FromUtf8(problem),
                        MessageButtons::Ok, MessageIcon::Error);
}

const char* const kOpenTitle = "Vokabeldateiatei zum Laden auswählen";
const char* const kSaveTitle = "Vokabeldateiatei zum Speichern auswählen";

// Reads the pairs of the current file into the emptied store.
void loadCurrentFile(Program& program) {
  const std::string& path = program.file.currentPath;
  const FileStatus status = program.files.status(path);
  if (!status.exists || !status.regular || status.size == 0) return;  // opens as an empty list
  ByteBuffer bytes;
  if (!readVocabularyFile(program, path, bytes)) {
    program.file.currentPath.clear();  // never the current file: "Speichern" must not replace it
    return;
  }
  program.ui.setListVisible(false);
  try {
    program.file.entryCount += static_cast<std::int32_t>(readRecords(std::move(bytes), program.list));
    program.ui.appendRows(program.file.entryCount);
  } catch (const std::bad_alloc&) {  // more pairs than memory: load none of them
    program.list.clear();
    program.file.entryCount = 0;
    reportFileProblem(program, path, "\nist zu groß!");
    program.file.currentPath.clear();
  }
  program.ui.setListVisible(true);
}

// `path` with ".ltk" appended when its file name has no extension.
std::string withDefaultExtension(const std::string& path) {
  return extensionOf(path).empty() ? changeExtension(path, "ltk") : path;
}

}  // namespace

Answer unsavedGuard(Program& program) {
  return program.ui.messageBox("Ungesicherte Daten"_w,
                               "Es gibt noch ungesicherte Daten,\nsollen diese jetzt gespeichert werden?"_w,
                               MessageButtons::YesNoCancel, MessageIcon::Warning);
}

void newFile(Program& program) {
  const Answer answer = program.file.unsaved ? unsavedGuard(program) : Answer::No;
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
    switch (unsavedGuard(program)) {
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
    showCurrentFile(program);
    return;
  }
  const std::string folder = dialogFolder(program);
  program.file.currentPath =
      path.empty() ? program.ui.openFileDialog(cp1252FromUtf8(kOpenTitle), folder, vocabularyFilters()) : path;
  if (program.file.currentPath.empty()) {
    program.file.currentPath = oldPath;
    if (discarded) program.file.unsaved = 1;  // the list was never touched
    showCurrentFile(program);
    return;
  }
  showStatusMessage(program, "Laden...");
  const std::string chosen = program.file.currentPath;
  newFile(program);  // nothing unsaved now: clears without a question
  program.file.currentPath = chosen;
  loadCurrentFile(program);
  showCurrentFile(program);
}

void saveFile(Program& program) {
  AppState& file = program.file;
  if (file.currentPath.empty())
    file.currentPath = program.ui.saveFileDialog(cp1252FromUtf8(kSaveTitle), program.constants.programDirectory,
                                                 vocabularyFilters());
  showStatusMessage(program, "Speichern...");
  if (file.currentPath.empty()) return;
  file.currentPath = withDefaultExtension(file.currentPath);
  makeBackup(program);

  std::string bytes;
  writeRecords(program.list, 0, program.list.size(), bytes);  // leaves the current pair as it is
  if (!program.files.replaceFile(file.currentPath, bytes)) {
    program.ui.messageBox("Datei Zugriffsfehler", "Datei konnte nicht gespeichert werden!", MessageButtons::Ok,
                          MessageIcon::Error);
    return;
  }
  file.unsaved = 0;
  showCurrentFile(program);
}

void saveFileAs(Program& program) {
  const std::string folder = dialogFolder(program);
  const std::string title = cp1252FromUtf8(kSaveTitle);
  std::string path = program.ui.saveFileDialog(title, folder, vocabularyFilters());
  while (!path.empty()) {
    path = withDefaultExtension(path);
    if (!program.files.status(path).regular) break;
    const Answer replace =
        program.ui.messageBox("Datei Speichern unter...", shownPath(path) + " besteht bereits.\r\nMöchten Sie sie ersetzen?"_w,
                              MessageButtons::YesNo, MessageIcon::Warning);
    if (replace == Answer::Yes) break;
    path = program.ui.saveFileDialog(title, folder, vocabularyFilters());
  }
  if (path.empty()) return;
  program.file.currentPath = path;
  saveFile(program);
}

std::string dialogFolder(const Program& program) {
  const std::string& current = program.file.currentPath;
  return current.empty() ? program.constants.programDirectory : directoryPart(current);
}

std::vector<FileFilter> vocabularyFilters() { return {{"Vokabeldatei (*.LTK)", "*.LTK"}, {"Alle Dateien (*.*)", "*.*"}}; }

void showCurrentFile(Program& program) {
  program.ui.setStatusText(StatusFileField, " " + shownPath(program.file.currentPath), false);
}

std::string shownPath(const std::string& path) { return cp1252FromUtf8(path); }

bool readVocabularyFile(Program& program, const std::string& path, ByteBuffer& bytes) {
  const char* problem = nullptr;
  try {
    if (program.files.status(path).size > MaxFileBytes)
      problem = "\nist zu groß!";
    else if (!program.files.readFile(path, bytes))
      problem = "\nkonnte nicht gelesen werden!";
  } catch (const std::bad_alloc&) {
    problem = "\nist zu groß!";
  }
  if (!problem) return true;
  ByteBuffer().swap(bytes);
  reportFileProblem(program, path, problem);
  return false;
}

}  // namespace zl
