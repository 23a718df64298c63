// The association of vocabulary files with the program, for the user alone,
// the freedesktop.org way. Registering writes, in this order, the desktop
// entry applications/zelvo-lingotak.desktop, the MIME package
// mime/packages/zelvo-lingotak.xml, the two icons in icons/hicolor/ (all in
// the data folder) and the program's part of mimeapps.list (config folder);
// then update-mime-database and update-desktop-database rebuild the caches.
// Each of the four writes that fails shows "Fehler" / "Ein Fehler ist
// aufgetreten" once, and the next still follows; what was written stays.
// Removing takes away what registering wrote, nothing else; only a
// mimeapps.list that cannot be read or written is shown, with the same
// message. Links at these names are treated as FileKind (file_system.h)
// says: mimeapps.list is the user's and edited through its link, the
// others are the program's own.
#pragma once

#include <string>

#include "state/program.h"

namespace zl {

// True when the MIME package of vocabulary files is in the user's data
// folder: one look at the file, no message.
bool isFileTypeRegistered(Platform& platform);

// Registers `program` (its full path) as the one that opens vocabulary
// files. Registering again writes the same again.
void registerFileType(Platform& platform, const std::string& productName, const std::string& program);

// Removes the registration: the files above, the program's part of
// mimeapps.list (the other lines stay byte for byte), and the icon folders
// that this leaves empty.
void unregisterFileType(Platform& platform);

// Shows "Fehler" / "Ein Fehler ist aufgetreten", the message of every
// failed write of the desktop integration.
void showDesktopError(MessageDialogs& ui);

}  // namespace zl
