// The internet update ("Internet Update" on the toolbar): fetches the new
// program file and its minisign signature from `updateUrl`, checks that the
// maker's key signed it and that it carries a version newer than the
// running program's, asks, puts it in place of the program file in one step
// (with the old one's permissions), and starts it with the current
// vocabulary file.
//
// The new file is fetched into a file of this run's own without a name
// (System::createProgramFile): the bytes checked are the bytes installed,
// whatever another process does in the folder meanwhile. The program file
// always names a whole program; the old one stays as the leftover file that
// the next start deletes. No script is written. While the download runs the
// window repaints, and the close button or an end signal stops it; a server
// that sends less than 1 KB in 30 seconds is given up.
//
// A build without the maker's key says so before the start question, and
// a program folder the user cannot write (a system-wide installation)
// before anything is fetched. Every failure and refusal is a message box
// that says what happened (a failed download: why it failed) and what to
// do, except a download stopped to end the program; the program
// file is untouched unless the installation question was answered Yes.
// When the new program cannot be started, this one keeps running and says
// that it must be started again.
#pragma once

#include <string>

namespace zl {

struct Program;

// True when the new program is in place and started: the caller ends this
// one through the ordinary close handling. Offered only while nothing is
// unsaved.
bool runInternetUpdate(Program& program);

// The files an update puts beside the program file `executable`: the
// checked new program on its way in ("staged", extension "upd") and the old
// one, kept under the leftover name (extension "tmp") once the new one is
// in place. Start-up removes both.
struct UpdateFiles {
  std::string staged;
  std::string leftover;
};
UpdateFiles updateFilesOf(const std::string& executable);

}  // namespace zl
