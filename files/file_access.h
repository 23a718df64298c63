// What the file commands share: where their dialogs start, the filters they
// offer, how a path, a date and the cause of a failure are shown, and
// reading a vocabulary file with the messages that go with it.
//
// Only `readForList` and `readPairsInto` can fail; they tell the user
// themselves and leave no bytes behind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_buffer.h"
#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/ui.h"

namespace zl {

class System;
class VocabList;
struct Program;

// Where file dialogs start: the folder of the current file, else the
// program's folder.
std::string dialogFolder(const Program& program);

// "Vokabeldatei (*.LTK)" and "Alle Dateien (*.*)".
std::vector<FileFilter> vocabularyFilters();
// "Vokabeldatei Backup (*.LTS)" and "Alle Dateien (*.*)".
std::vector<FileFilter> backupFilters();

// A path as it is shown in the window (Windows-1252 text).
std::string shownPath(const std::string& path);

// A moment (seconds since 1970) as it is shown, in local time:
// "07.12.2026 um 22:53 Uhr".
std::string shownDate(std::int64_t seconds);

// One sentence saying why `failure` stood in the way (Windows-1252).
std::string causeText(const Failure& failure);

// StatusFileField := a blank and `currentPath`.
void showCurrentFile(WindowControls& ui, const std::string& currentPath);

// "Datei Zugriffsfehler": "Die Datei", the path, and `ending` (one of the
// file problem endings of files/texts.h).
void reportFileProblem(MessageDialogs& ui, const std::string& path, const std::string& ending);

// Reads the vocabulary file at `path` whole into `bytes`, for `list` to
// take in; `pairRoom` tells how many pairs to make room for at once. The
// memory the system has is measured first: Linux seldom refuses an
// allocation, it ends the program instead. False, after telling the user,
// when the file cannot be read (missing, no permission, a folder, an I/O
// error) or is larger than the program can hold (over 4 GiB, or more than
// the memory for its bytes and its pairs); `bytes` is then empty and
// nothing was allocated for its pairs.
bool readForList(MessageDialogs& dialogs, FileSystem& files, System& system, const std::string& path,
                 const VocabList& list, ByteBuffer& bytes, std::int64_t& pairRoom);

// Reads the pairs of the vocabulary file at `path` into the empty `list`,
// with the checks and messages of readForList. Where memory is plentiful
// (as it mostly is) in one pass: each piece of the file is read into place
// and its pairs at once, while its bytes are in the cache; else the pairs
// are counted first. A file that shrinks or grows while it is read gives
// the pairs of what was read; one that grows past 4 GiB is too large.
// False, after telling the user, with `list` empty.
bool readPairsInto(MessageDialogs& dialogs, FileSystem& files, System& system, const std::string& path,
                   VocabList& list);

}  // namespace zl
