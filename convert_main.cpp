// Wires the converter to POSIX (and to Qt for the message boxes of "Open
// with") and runs it.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "convert/converter.h"
#include "convert/texts.h"
#include "posix/desktop_posix.h"
#include "posix/file_system_posix.h"
#include "posix/system_posix.h"
#include "qt/dialogs_qt.h"

namespace {

// The input is read mapped: another program that cuts it short meanwhile
// makes reading it raise SIGBUS. The output has no name yet, so ending
// here leaves nothing behind.
void inputCutShort(int) {
  const std::string& text = zl::convert_text::FileChangedWhileReading;
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
  ::_exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
  std::signal(SIGBUS, inputCutShort);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  zl::PosixFileSystem files;
  zl::PosixSystem system;
  zl::PosixDesktopShell desktop;
  zl::QtDialogs dialogs(argc, argv);
  zl::ConverterServices services{files, system, desktop, dialogs};
  zl::Printed printed;
  const int status = zl::runConverter(services, arguments, printed);
  std::fputs(printed.out.c_str(), stdout);
  std::fputs(printed.error.c_str(), stderr);
  return status;
}
