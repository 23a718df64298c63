#include "files/backup.h"

#include "files/file_access.h"
#include "files/texts.h"
#include "state/program.h"
#include "store/path_names.h"

namespace zl {

namespace {

// Copies `from` over `to` and tells the user when that fails. Nothing
// when they are the same file (a naive copy would empty it) or `from`
// names nothing.
void copyFile(Program& program, const std::string& from, const std::string& to) {
  FileSystem& files = program.files;
  if (!files.status(from).exists || files.isSameFile(from, to)) return;
  ByteBuffer bytes;
  if (const Outcome read = files.readFile(from, bytes); !read) {
    program.system.reportCause("reading", read.failure);
    reportFileProblem(program.dialogs, from, files_text::Unreadable);
  } else if (const Replacement copied = files.replaceFile(to, viewOf(bytes)); !copied) {
    program.system.reportCause("restoring", copied.failure);
    program.dialogs.messageBox(files_text::AccessErrorTitle, files_text::NotSaved, MessageButtons::Ok,
                               MessageIcon::Error);
  }
}

}  // namespace

std::string backupPathOf(const std::string& path) { return changeExtension(path, "lts"); }

void restoreBackup(Program& program) {
  const std::string chosen =
      program.dialogs.openFileDialog(files_text::RestoreTitle, dialogFolder(program), backupFilters());
  if (!chosen.empty()) copyFile(program, chosen, changeExtension(chosen, "ltk"));
}

}  // namespace zl
