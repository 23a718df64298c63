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

// Puts the program's part of mimeapps.list in or takes it out. A list that
// exists but cannot be read is left alone: replaced by ours alone it would
// lose the user's lines. A list left empty goes (the user's file behind a
// link stays, emptied).
void editMimeApps(Ui& ui, DesktopShell& desktop, const std::string& mimeApps, const std::string& config,
                  ListEdit edit) {
  std::string list;
  if (!desktop.readFile(mimeApps, list) && desktop.hasFile(mimeApps)) {
    showDesktopError(ui);
    return;
  }
  const std::string edited = edit(list, VocabularyMimeType, DesktopId + ".desktop");
  if (edited == list) return;
  const bool done = edited.empty() ? desktop.removeFile(mimeApps, config, FileKind::Kept)
                                   : desktop.writeFile(mimeApps, edited, FileKind::Kept, false);
  if (!done) showDesktopError(ui);
}

}  // namespace

void showDesktopError(Ui& ui) {
  ui.messageBox(state_text::ErrorTitle, desktop_text::ErrorOccurred, MessageButtons::Ok, MessageIcon::None);
}

bool isFileTypeRegistered(DesktopShell& desktop) { return desktop.hasFile(placesOf(desktop.folders()).mimePackage); }

void registerFileType(Ui& ui, DesktopShell& desktop, const std::string& productName, const std::string& program) {
  const DesktopFolders folders = desktop.folders();
  const Places places = placesOf(folders);
  if (!desktop.writeFile(places.desktopEntry, fileTypeEntryText(productName, program), FileKind::Whole, false)) {
    showDesktopError(ui);
  }
  if (!desktop.writeFile(places.mimePackage, mimePackageText(), FileKind::Whole, false)) showDesktopError(ui);
  for (const IconFile& icon : themeIconFiles()) {
    if (!desktop.writeFile(places.iconTheme + std::string(icon.path), icon.content(), FileKind::Whole, false)) {
      showDesktopError(ui);
      break;
    }
  }
  editMimeApps(ui, desktop, places.mimeApps, folders.config, addAssociation);
  rebuildCaches(desktop, places);
}

void unregisterFileType(Ui& ui, DesktopShell& desktop) {
  const DesktopFolders folders = desktop.folders();
  const Places places = placesOf(folders);
  // The two folders stay for the cache tools, which need them.
  desktop.removeFile(places.desktopEntry, places.applications, FileKind::Whole);
  desktop.removeFile(places.mimePackage, places.mimePackages, FileKind::Whole);
  for (const IconFile& icon : themeIconFiles())
    desktop.removeFile(places.iconTheme + std::string(icon.path), folders.data, FileKind::Whole);
  editMimeApps(ui, desktop, places.mimeApps, folders.config, removeAssociation);
  rebuildCaches(desktop, places);
}

}  // namespace zl
