// The names of the main window's controls and commands (their ids are in
// platform/window_ids.h, beside the window's interface). The names are the
// ones every other module uses, and `controlName`/`commandName` give them as
// text (the Qt layer uses them as object names, so tests and screen readers
// find each control). Plain data, no state, cannot fail.
#pragma once

#include <string_view>

#include "platform/window_ids.h"

namespace zl {

// "EntryVocabularyField" for 1 and so on; "" for an id outside 0 to 37.
std::string_view controlName(int id);

// "CmdOpen" for 3 and so on; "" for an id outside 1 to 31.
std::string_view commandName(int id);

// The menu command that a toolbar button repeats (TbOpen gives CmdOpen);
// every other id is returned unchanged.
int menuCommandOf(int id);

// The toolbar button that repeats a menu command (CmdOpen gives TbOpen);
// 0 when it has none.
int toolbarButtonOf(int command);

}  // namespace zl
