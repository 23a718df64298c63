// The backup beside every vocabulary file ("englisch.lts" for
// "englisch.ltk"): a byte copy of the file as it was before the latest save,
// and "Restore", which copies a chosen backup back over its vocabulary file.
//
// Neither copy reports anything, as the user asked for neither directly; a
// failed copy leaves the disk as it was.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace zl {

struct Program;

// Copies the file at `path`, when one exists, to its backup, replacing an
// older backup. Nothing when there is no file yet.
void makeBackup(FileSystem& files, const std::string& path);

// Asks for a backup file and copies it over the vocabulary file of the same
// name. The store and the current file stay as they are. Choosing the
// vocabulary file itself (through "Alle Dateien") changes nothing.
void restoreBackup(Program& program);

}  // namespace zl
