// The program's start, run and end, in a fixed order: constants, fonts and
// icons, the leftover file of an update, the single instance, the
// administrator check, the window with its help text, the entry page, the
// interface state, the window shown, the start file, the event loop, the
// shutdown.
//
// A second instance shows "Das Programm ist bereits gestartet!" and ends;
// right after an update (its leftover file was there) the start first waits
// up to a minute for the old instance to end. The files an update leaves
// beside the program are removed, never the program's own file. A window that cannot be
// built ends the program instead of waiting for events that cannot come.
// The result is the exit code, 0 in every case.
#pragma once

#include <string>
#include <vector>

#include "state/program.h"

namespace zl {

// `arguments` are the command-line arguments after the program name; the
// first one, if any, names the vocabulary file to open.
int runProgram(const Platform& platform, const std::vector<std::string>& arguments);

}  // namespace zl
