#include "store/split.h"

#include <algorithm>

#include "app/interface_state.h"
#include "app/program.h"
#include "store/cp1252.h"
#include "store/file_commands.h"
#include "store/file_format.h"
#include "store/path_names.h"

namespace zl {

namespace {

const char* const kTitle = "Vokabeldatei auteilen";

std::string confirmationText(const std::string& currentPath, const std::string& base, std::int64_t partCount) {
  const std::string digits = std::to_string(partCount);
  return "Aufteilen von:\t"_w + shownPath(fileNamePart(currentPath)) + "\t\r\n\r\nin " + digits +
         " nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\t"_w + shownPath(fileNamePart(base)) +
         std::string(digits.size(), 'X') + ". ltk\t";
}

}  // namespace

std::string splitBaseName(const std::string& currentPath) {
  const std::string extension = extensionOf(currentPath);
  if (extension.empty()) return currentPath + "_";
  return currentPath.substr(0, currentPath.size() - extension.size() - 1) + "_";
}

std::string splitPartName(const std::string& base, std::int64_t number, std::int64_t partCount) {
  const std::string text = std::to_string(number);
  const std::size_t width = std::to_string(partCount).size();
  return base + std::string(width > text.size() ? width - text.size() : 0, '0') + text + ".ltk";
}

void splitFile(Program& program) {
  Ui& ui = program.ui;
  std::string entry;
  if (!ui.inputBox(cp1252FromUtf8(kTitle), "Anzahl der Vokabeln pro Teilstück:"_w, entry)) return;
  const auto partSize = static_cast<std::int32_t>(parseLenientNumber(entry));
  if (partSize < 1) {
    ui.messageBox(cp1252FromUtf8(kTitle), "Bitte geben Sie als Anzahl der Vokabeln pro Teilstück eine ganze Zahl ab 1 ein!"_w,
                  MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  const std::int64_t size = program.list.size();
  const std::int64_t partCount = size / partSize + (size % partSize != 0 ? 1 : 0);
  const std::string& currentPath = program.file.currentPath;
  const std::string base = splitBaseName(currentPath);
  if (ui.messageBox(cp1252FromUtf8(kTitle), confirmationText(currentPath, base, partCount), MessageButtons::YesNo,
                    MessageIcon::Information) != Answer::Yes)
    return;

  showStatusMessage(program, "Aufteilen...");
  for (std::int64_t part = 1; part <= partCount; ++part) {
    const std::string name = splitPartName(base, part, partCount);
    std::string bytes;
    writeRecords(program.list, (part - 1) * partSize, std::min(size, part * partSize), bytes);
    if (!program.files.replaceFile(name, bytes)) {
      ui.messageBox("Datei Zugriffsfehler", "Datei " + shownPath(fileNamePart(name)) + " konnte nicht gespeichert werden!",
                    MessageButtons::Ok, MessageIcon::Error);
      break;
    }
  }
}

}  // namespace zl
