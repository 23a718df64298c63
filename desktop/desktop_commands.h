// The commands of the desktop integration: registering and unregistering
// vocabulary files (CmdRegister, CmdUnregister), the shortcut on the desktop
// (CmdShortcut) and the homepage (TbHomepage).
//
// The first three ask first (title "Setup", Yes and No) and do nothing on
// No. Registering reports each failed write (file_type.h); the shortcut
// reports only its success; unregistering and the homepage report nothing.
#pragma once

namespace zl {

struct Program;

void askRegisterFileType(Program& program);
void askUnregisterFileType(Program& program);

// Puts "Zelvo Lingotak.desktop" into the user's desktop folder: it starts
// the running program without arguments in `programDirectory`, with the
// comment "Zelvo Lingotak" and the program's icon, which goes to the
// program's folder in the user's data folder. The entry is executable and
// replaces one of that name; it is written to a new file beside it and
// renamed into place, so a failure leaves the old file or none, never a
// part of one.
void createDesktopShortcut(Program& program);

// Asks the desktop to open `homepageUrl`.
void openHomepage(Program& program);

}  // namespace zl
