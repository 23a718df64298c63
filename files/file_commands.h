// Moving the store between memory and one vocabulary file: new, open, save,
// save as, and the question that stands before every discarding of unsaved
// pairs.
//
// Outcomes are read from the store: `saveFile` succeeded when `unsaved` is 0
// afterwards, `openFile` opened what `currentPath` names. A failed save
// leaves the pairs marked unsaved and the old file as it was; a file that
// cannot be read is reported and never becomes the current file, so no
// later "Speichern" replaces it unasked.
#pragma once

#include <string>

#include "platform/ui.h"

namespace zl {

struct Program;

// Asks whether unsaved pairs are to be saved: Yes, No or Cancel.
Answer unsavedGuard(MessageDialogs& dialogs);

// Empties the store, after the unsaved-data question when there are unsaved
// pairs (Yes saves first and stops if that fails, Cancel stops).
void newFile(Program& program);

// Opens `path`, or the file chosen in the open dialog when `path` is empty,
// after the unsaved-data question. A missing, empty or folder path opens
// as an empty list under that name (a later save creates it). A file whose
// save in place was cut off gets its content from before that save back
// first, and the user is told; where that fails, it is reported and not
// opened. When the file was changed after the cut-off save, the user is
// asked, with both dates, and by default it stays as it is.
void openFile(Program& program, const std::string& path);

// Writes the list to the current file after copying the old file to its
// backup; asks for a path when there is no current file. A save in place
// cut off before is put right first, as when opening. A save that keeps no
// backup tells the user why, once a run for each file; a failed save tells
// the cause where it is known (the rescue copy of a rewrite in place).
void saveFile(Program& program);

// Asks for a new path (and before replacing an existing file), then saves.
void saveFileAs(Program& program);

}  // namespace zl
