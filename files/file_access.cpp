#include "files/file_access.h"

#include <new>

#include "files/texts.h"
#include "state/controls.h"
#include "store/file_format.h"
#include "store/path_names.h"

namespace zl {

std::string dialogFolder(const std::string& currentPath, const std::string& programDirectory) {
  return currentPath.empty() ? programDirectory : directoryPart(currentPath);
}

std::vector<FileFilter> vocabularyFilters() {
  return {{text::VocabularyFilterName, "*.LTK"}, {text::AllFilesFilterName, "*.*"}};
}

std::vector<FileFilter> backupFilters() {
  return {{text::BackupFilterName, "*.LTS"}, {text::AllFilesFilterName, "*.*"}};
}

std::string shownPath(const std::string& path) { return cp1252FromUtf8(path); }

void showCurrentFile(Ui& ui, const std::string& currentPath) {
  ui.setStatusText(StatusFileField, " " + shownPath(currentPath), false);
}

void reportFileProblem(Ui& ui, const std::string& path, const std::string& ending) {
  ui.messageBox(text::AccessErrorTitle, text::FileProblemStart + shownPath(path) + ending, MessageButtons::Ok,
                MessageIcon::Error);
}

bool readVocabularyFile(Ui& ui, FileSystem& files, const std::string& path, ByteBuffer& bytes) {
  const std::string* problem = nullptr;
  try {
    if (files.status(path).size > MaxFileBytes)
      problem = &text::TooLarge;
    else if (!files.readFile(path, bytes))
      problem = &text::Unreadable;
  } catch (const std::bad_alloc&) {
    problem = &text::TooLarge;
  }
  if (!problem) return true;
  ByteBuffer().swap(bytes);
  reportFileProblem(ui, path, *problem);
  return false;
}

}  // namespace zl
