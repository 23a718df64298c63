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

void reportFailedWrite(Ui& ui) {
  ui.messageBox(text::ErrorTitle, text::ErrorOccurred, MessageButtons::Ok, MessageIcon::None);
}

void rebuildCaches(DesktopShell& desktop, const Places& places) {
  desktop.runTool("update-mime-database", {places.mimeDatabase});
  desktop.runTool("update-desktop-database", {places.applications});
}

}  // namespace

bool isFileTypeRegistered(DesktopShell& desktop) { return desktop.hasFile(placesOf(desktop.folders()).mimePackage); }

void registerFileType(Ui& ui, DesktopShell& desktop, const std::string& productName, const std::string& program) {
  const Places places = placesOf(desktop.folders());
  if (!desktop.writeFile(places.desktopEntry, fileTypeEntryText(productName, program), false)) reportFailedWrite(ui);
  if (!desktop.writeFile(places.mimePackage, mimePackageText(), false)) reportFailedWrite(ui);
  for (const IconFile& icon : themeIconFiles()) {
    if (!desktop.writeFile(places.iconTheme + std::string(icon.path), icon.content(), false)) {
      reportFailedWrite(ui);
      break;
    }
  }
  // A list that exists but cannot be read must not be replaced by ours.
  std::string list;
  if (desktop.readFile(places.mimeApps, list) || !desktop.hasFile(places.mimeApps)) {
    const std::string edited = addAssociation(list, VocabularyMimeType, DesktopId + ".desktop");
    if (edited != list && !desktop.writeFile(places.mimeApps, edited, false)) reportFailedWrite(ui);
  } else {
    reportFailedWrite(ui);
  }
  rebuildCaches(desktop, places);
}

void unregisterFileType(DesktopShell& desktop) {
  const DesktopFolders folders = desktop.folders();
  const Places places = placesOf(folders);
  // The two folders stay for the cache tools, which need them.
  desktop.removeFile(places.desktopEntry, places.applications);
  desktop.removeFile(places.mimePackage, places.mimePackages);
  for (const IconFile& icon : themeIconFiles())
    desktop.removeFile(places.iconTheme + std::string(icon.path), folders.data);
  std::string list;
  if (desktop.readFile(places.mimeApps, list)) {
    const std::string edited = removeAssociation(list, VocabularyMimeType, DesktopId + ".desktop");
    if (edited.empty() && !list.empty()) {
      desktop.removeFile(places.mimeApps, folders.config);
    } else if (edited != list) {
      desktop.writeFile(places.mimeApps, edited, false);
    }
  }
  rebuildCaches(desktop, places);
}

}  // namespace zl
