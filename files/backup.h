// The backup beside every vocabulary file ("englisch.lts" for
// "englisch.ltk"): the file as it was before the latest save, and
// "Restore", which copies a chosen backup back over its vocabulary file.
//
// A backup that cannot be made is not reported here: the save tells the
// user why, once for each file (file_commands.h). A restore that cannot
// read the backup or write the vocabulary file shows the file access
// error. A file the user may not write is never written. How a failure
// leaves the files is FileSystem::replaceFile's to say.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace zl {

struct Program;

// Where the backup of the vocabulary file at `path` lies. A save hands it to
// FileSystem::replaceFile, which keeps the file there before replacing it
// (with its mode and owner), replacing an older backup unless the user may
// not write that one; nothing when there is no file yet.
std::string backupPathOf(const std::string& path);

// Asks for a backup file and copies it over the vocabulary file of the same
// name. The store and the current file stay as they are. Choosing the
// vocabulary file itself (through "Alle Dateien") or a name where no file
// is changes nothing; a backup that cannot be read, and a vocabulary file
// that cannot be written (read-only), are reported with "Datei
// Zugriffsfehler", and the vocabulary file stays as it was.
void restoreBackup(Program& program);

}  // namespace zl
