// The converter as a command: runs what its command line asks, with the
// outside world reached only through the interfaces below, and answers
// with the exit status: 0 done, 1 the input could not be converted (or the
// output not written), 2 wrong usage.
//
// From a terminal, the summary or the failure is printed. Through "Open
// with" (--open FILE), the pairs go into a new vocabulary file beside FILE
// (the next free name "Name.ltk", "Name (2).ltk", ...; the user's documents
// folder where FILE's folder cannot be written) and the trainer, found
// beside the converter, starts with it; what goes wrong is shown in a
// message box, and characters the trainer's files cannot hold are replaced
// only when the user agrees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/system.h"

namespace zl {

struct ConverterServices {
  FileSystem& files;
  System& system;
  DesktopShell& desktop;
  Dialogs& dialogs;
  std::int64_t now = 0;  // seconds since 1970, for what the converter makes
};

// What the converter prints: to the standard output and the standard error
// output, each line ending in "\n".
struct Printed {
  std::string out;
  std::string error;
};

int runConverter(ConverterServices& services, const std::vector<std::string>& arguments, Printed& printed);

// The file name of the trainer, which is installed beside the converter.
inline const std::string TrainerFileName = "zelvo-lingotak";

}  // namespace zl
