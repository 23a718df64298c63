// The commands of the desktop integration: registering and unregistering
// vocabulary files (CmdRegister, CmdUnregister), the shortcut on the desktop
// (CmdShortcut) and the homepage (TbHomepage).
//
// The first three ask first (title "Setup", Yes and No) and do nothing on
// No. Registering and unregistering report failed writes (file_type.h);
// the shortcut reports its success or its failure; the homepage reports
// nothing.
#pragma once

namespace zl {

struct Program;

void askRegisterFileType(Program& program);
void askUnregisterFileType(Program& program);

// Puts "Zelvo Lingotak.desktop" into the user's desktop folder: it starts
// the running program without arguments in `workingDirectory`, with the
// comment "Zelvo Lingotak" and the program's icon, which goes to the
// program's folder in the user's data folder. The entry is executable and
// replaces a file or a link of that name (what the link led to stays as it
// was); it is written to a new file beside it and renamed into place, so a
// failure leaves the old file or none, never a part of one, and shows
// "Fehler" / "Ein Fehler ist aufgetreten".
void createDesktopShortcut(Program& program);

// Asks the desktop to open `homepageUrl`.
void openHomepage(Program& program);

}  // namespace zl
