// The internet update ("Internet Update" on the toolbar): fetches the new
// program file and its minisign signature from `updateUrl`, checks that the
// maker's key signed it and that it carries a version, compares that with
// the running program's, asks, renames the program file away and the new
// one into its place (with the old one's permissions), and starts it with
// the current vocabulary file.
//
// A program folder the user cannot write (a system-wide installation) is
// reported before anything is fetched. Every failure and refusal is a
// message box; the program file is
// untouched unless the installation question was answered Yes. A refused
// update leaves neither of its downloaded files behind. Linux renames the
// running program file away (the old file is deleted by the next start);
// no script is written.
#pragma once

namespace zl {

struct Program;

// True when the new program is in place and started: the caller ends this
// one through the ordinary close handling. Offered only while nothing is
// unsaved.
bool runInternetUpdate(Program& program);

}  // namespace zl
