#include "store/backup.h"

#include "app/program.h"
#include "store/cp1252.h"
#include "store/file_commands.h"
#include "store/path_names.h"

namespace zl {

namespace {

// Copies `from` over `to`; nothing when they are the same file (a naive
// copy would empty it).
void copyFile(FileSystem& files, const std::string& from, const std::string& to) {
  if (files.isSameFile(from, to)) return;
  ByteBuffer bytes;
  if (files.readFile(from, bytes)) files.replaceFile(to, viewOf(bytes));
}

}  // namespace

void makeBackup(Program& program) {
  const std::string& path = program.file.currentPath;
  if (program.files.status(path).regular) copyFile(program.files, path, changeExtension(path, "lts"));
}

void restoreBackup(Program& program) {
  const std::string chosen =
      program.ui.openFileDialog("Vokabeldateiatei Backup zum wiederherstellen auswählen"_w, dialogFolder(program),
                                {{"Vokabeldatei Backup (*.LTS)", "*.LTS"}, {"Alle Dateien (*.*)", "*.*"}});
  if (!chosen.empty()) copyFile(program.files, chosen, changeExtension(chosen, "ltk"));
}

}  // namespace zl
