#include "desktop/desktop_commands.h"

#include "desktop/desktop_entry.h"
#include "desktop/file_type.h"
#include "desktop/icon_files.h"
#include "desktop/texts.h"
#include "state/program.h"

namespace zl {

namespace {

bool answeredYes(MessageDialogs& dialogs, const std::string& question) {
  return dialogs.messageBox(desktop_text::SetupTitle, question, MessageButtons::YesNo, MessageIcon::Warning) ==
         Answer::Yes;
}

// The icon first, so that the entry never names a picture that is missing.
bool createShortcut(FileSystem& files, const std::string& linkPath, const Shortcut& shortcut) {
  const std::string_view icon = themeIconFile("256x256/apps/" + DesktopId + ".png");
  return files.writeFile(shortcut.iconFile, icon, FileKind::Whole, false) &&
         files.writeFile(linkPath, shortcutEntryText(shortcut), FileKind::Whole, true);
}

}  // namespace

void askRegisterFileType(Program& program) {
  if (!answeredYes(program.dialogs, desktop_text::RegisterQuestion)) return;
  registerFileType(program, program.constants.productName, program.system.executablePath());
}

void askUnregisterFileType(Program& program) {
  if (answeredYes(program.dialogs, desktop_text::UnregisterQuestion)) unregisterFileType(program);
}

void createDesktopShortcut(Program& program) {
  if (!answeredYes(program.dialogs, desktop_text::ShortcutQuestion)) return;
  const AppConstants& constants = program.constants;
  const DesktopFolders folders = program.desktop.folders();
  Shortcut shortcut;
  shortcut.name = constants.productName;
  shortcut.comment = constants.productName;
  shortcut.program = program.system.executablePath();
  shortcut.folder = constants.workingDirectory;
  shortcut.iconFile = folders.data + "/" + DesktopId + "/" + DesktopId + ".png";
  if (createShortcut(program.files, folders.desktop + "/" + constants.productName + ".desktop", shortcut)) {
    program.dialogs.messageBox(desktop_text::SetupTitle, desktop_text::ShortcutCreated, MessageButtons::Ok,
                               MessageIcon::Information);
  } else {
    showDesktopError(program.dialogs);
  }
}

void openHomepage(Program& program) { program.desktop.openUrl(program.constants.homepageUrl); }

}  // namespace zl
