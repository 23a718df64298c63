#include "files/backup.h"

#include "files/file_access.h"
#include "files/texts.h"
#include "state/program.h"
#include "store/path_names.h"

namespace zl {

namespace {

// Copies `from` over `to`; nothing when they are the same file (a naive
// copy would empty it). False when `to` cannot be written.
bool copyFile(FileSystem& files, const std::string& from, const std::string& to) {
  if (files.isSameFile(from, to)) return true;
  ByteBuffer bytes;
  return !files.readFile(from, bytes) || files.replaceFile(to, viewOf(bytes));
}

}  // namespace

std::string backupPathOf(const std::string& path) { return changeExtension(path, "lts"); }

void restoreBackup(Program& program) {
  const std::string chosen = program.ui.openFileDialog(files_text::RestoreTitle, dialogFolder(program), backupFilters());
  if (!chosen.empty() && !copyFile(program.files, chosen, changeExtension(chosen, "ltk")))
    program.ui.messageBox(files_text::AccessErrorTitle, files_text::NotSaved, MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace zl
