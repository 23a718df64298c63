// Wires the converter to POSIX (and to Qt for the message boxes of "Open
// with") and runs it.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "convert/converter.h"
#include "convert/texts.h"
#include "desktop/desktop_entry.h"
#include "desktop/icon_files.h"
#include "posix/file_system_posix.h"
#include "posix/system_posix.h"
#include "qt/desktop_qt.h"
#include "qt/dialogs_qt.h"
#include "qt/qt_ui.h"

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
  zl::QtDesktopShell desktop;
  zl::QtDialogs dialogs(argc, argv, [] {
    QApplication::setApplicationName(QStringLiteral("Zelvo Lingotak"));
    zl::useGermanEverywhere();
    zl::useProportionalDefaultFont();
    zl::setProgramIcon(zl::DesktopId, zl::programIconImages());
  });
  zl::ConverterServices services{files, system, desktop, dialogs, std::time(nullptr)};
  zl::Printed printed;
  const int status = zl::runConverter(services, arguments, printed);
  std::fputs(printed.out.c_str(), stdout);
  std::fputs(printed.error.c_str(), stderr);
  return status;
}
