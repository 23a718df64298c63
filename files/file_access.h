// What the file commands share: where their dialogs start, the filters they
// offer, how a path is shown, and reading a vocabulary file with the
// messages that go with it.
//
// Only `readVocabularyFile` can fail; it tells the user itself and leaves
// no bytes behind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_buffer.h"
#include "platform/file_system.h"
#include "platform/ui.h"

namespace zl {

class VocabList;

// Where file dialogs start: the folder of `currentPath`, else the
// program's folder.
std::string dialogFolder(const std::string& currentPath, const std::string& programDirectory);

// "Vokabeldatei (*.LTK)" and "Alle Dateien (*.*)".
std::vector<FileFilter> vocabularyFilters();
// "Vokabeldatei Backup (*.LTS)" and "Alle Dateien (*.*)".
std::vector<FileFilter> backupFilters();

// A path as it is shown in the window (Windows-1252 text).
std::string shownPath(const std::string& path);

// StatusFileField := a blank and `currentPath`.
void showCurrentFile(Ui& ui, const std::string& currentPath);

// "Datei Zugriffsfehler": "Die Datei", the path, and `ending` (one of the
// file problem endings of files/texts.h).
void reportFileProblem(Ui& ui, const std::string& path, const std::string& ending);

// Reads a vocabulary file whole. False, after telling the user, when it
// cannot be read (missing, no permission, a folder, an I/O error) or is
// larger than the program can hold (over 4 GiB, or more than the
// `availableMemory` measured before); `bytes` is then empty.
bool readVocabularyFile(Ui& ui, FileSystem& files, const std::string& path, std::uint64_t availableMemory,
                        ByteBuffer& bytes);

// Whether `list` can take in `bytes`, the file at `path` just read, within
// the `availableMemory` measured before reading it; `pairRoom` tells how
// many pairs to make room for at once. When not, lets go of the bytes and
// tells the user that the file is too large (nothing was allocated for its
// pairs).
bool fitsInMemory(Ui& ui, const std::string& path, ByteBuffer& bytes, const VocabList& list,
                  std::uint64_t availableMemory, std::int64_t& pairRoom);

}  // namespace zl
