// Writes the files that the installation gives the desktop: the desktop
// entry that opens vocabulary files with the installed program, found on
// PATH by its name, and the MIME package of vocabulary files; the same texts
// the program writes for its user when it registers itself.
// Usage: zl_desktop_files PROGRAM-NAME DESKTOP-ENTRY MIME-PACKAGE
#include <fstream>
#include <iostream>

#include "desktop/desktop_entry.h"
#include "state/program.h"

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::cerr << "usage: zl_desktop_files PROGRAM-NAME DESKTOP-ENTRY MIME-PACKAGE\n";
    return 2;
  }
  std::ofstream entry(argv[2], std::ios::binary);
  entry << zl::fileTypeEntryText(zl::buildConstants().productName, argv[1]);
  std::ofstream package(argv[3], std::ios::binary);
  package << zl::mimePackageText();
  entry.close();
  package.close();
  return entry && package ? 0 : 1;
}
