#include "desktop/file_type.h"

#include "desktop/desktop_entry.h"
#include "desktop/icon_files.h"
#include "desktop/mimeapps_list.h"
#include "desktop/texts.h"
#include "state/texts.h"

namespace zl {

namespace {

// Where the association lives in the user's folders (PosixSystem::
// isAdministrator checks that these can be written).
struct Places {
  std::string applications;  // the folder that update-desktop-database reads
  std::string desktopEntry;
  std::string mimeDatabase;  // the folder that update-mime-database rebuilds
  std::string mimePackages;
  std::string mimePackage;
  std::string iconTheme;  // with its trailing "/"
  std::string mimeApps;
};

Places placesOf(const DesktopFolders& folders) {
  Places places;
  places.applications = folders.data + "/applications";
  places.desktopEntry = places.applications + "/" + DesktopId + ".desktop";
  places.mimeDatabase = folders.data + "/mime";
  places.mimePackages = places.mimeDatabase + "/packages";
  places.mimePackage = places.mimePackages + "/" + DesktopId + ".xml";
  places.iconTheme = folders.data + "/icons/hicolor/";
  places.mimeApps = folders.config + "/mimeapps.list";
  return places;
}

void rebuildCaches(DesktopShell& desktop, const Places& places) {
  desktop.runTool("update-mime-database", {places.mimeDatabase});
  desktop.runTool("update-desktop-database", {places.applications});
}

using ListEdit = std::string (*)(std::string_view list, const std::string& mimeType, const std::string& desktopId);

// The fixed message, and the cause for whoever looks into it.
void tellDesktopFailure(Platform& platform, std::string_view tried, const Failure& failure) {
  platform.system.reportCause(tried, failure);
  showDesktopError(platform.dialogs);
}

// Puts the program's part of mimeapps.list in or takes it out. A list that
// exists but cannot be read is left alone: replaced by ours alone it would
// lose the user's lines. A list left empty goes (the user's file behind a
// link stays, emptied).
void editMimeApps(Platform& platform, const std::string& mimeApps, const std::string& config, ListEdit edit) {
  FileSystem& files = platform.files;
  ByteBuffer bytes;
  if (const Outcome read = files.readFile(mimeApps, bytes); !read && files.status(mimeApps).regular) {
    tellDesktopFailure(platform, "reading", read.failure);
    return;
  }
  const std::string list(viewOf(bytes));
  const std::string edited = edit(list, VocabularyMimeType, DesktopId + ".desktop");
  if (edited == list) return;
  const Outcome done = edited.empty() ? files.removeFile(mimeApps, FileKind::Kept, config)
                                      : files.writeFile(mimeApps, edited, FileKind::Kept, false);
  if (!done) tellDesktopFailure(platform, "writing", done.failure);
}

}  // namespace

void showDesktopError(MessageDialogs& ui) {
  ui.messageBox(state_text::ErrorTitle, desktop_text::ErrorOccurred, MessageButtons::Ok, MessageIcon::None);
}

bool isFileTypeRegistered(Platform& platform) {
  return platform.files.status(placesOf(platform.desktop.folders()).mimePackage).regular;
}

void registerFileType(Platform& platform, const std::string& productName, const std::string& program) {
  FileSystem& files = platform.files;
  const DesktopFolders folders = platform.desktop.folders();
  const Places places = placesOf(folders);
  if (const Outcome written =
          files.writeFile(places.desktopEntry, fileTypeEntryText(productName, program), FileKind::Whole, false);
      !written)
    tellDesktopFailure(platform, "writing", written.failure);
  if (const Outcome written = files.writeFile(places.mimePackage, mimePackageText(), FileKind::Whole, false); !written)
    tellDesktopFailure(platform, "writing", written.failure);
  for (const IconFile& icon : themeIconFiles()) {
    if (const Outcome written =
            files.writeFile(places.iconTheme + std::string(icon.path), icon.content(), FileKind::Whole, false);
        !written) {
      tellDesktopFailure(platform, "writing", written.failure);
      break;
    }
  }
  editMimeApps(platform, places.mimeApps, folders.config, addAssociation);
  rebuildCaches(platform.desktop, places);
}

void unregisterFileType(Platform& platform) {
  FileSystem& files = platform.files;
  const DesktopFolders folders = platform.desktop.folders();
  const Places places = placesOf(folders);
  // The two folders stay for the cache tools, which need them.
  files.removeFile(places.desktopEntry, FileKind::Whole, places.applications);
  files.removeFile(places.mimePackage, FileKind::Whole, places.mimePackages);
  for (const IconFile& icon : themeIconFiles())
    files.removeFile(places.iconTheme + std::string(icon.path), FileKind::Whole, folders.data);
  editMimeApps(platform, places.mimeApps, folders.config, removeAssociation);
  rebuildCaches(platform.desktop, places);
}

}  // namespace zl
