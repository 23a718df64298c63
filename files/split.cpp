#include "files/split.h"

#include <algorithm>

#include "files/file_access.h"
#include "files/texts.h"
#include "platform/paths.h"
#include "state/program.h"
#include "store/file_format.h"
#include "store/path_names.h"

namespace zl {

namespace {

std::string confirmationText(const std::string& currentPath, const std::string& base, std::int64_t partCount) {
  const std::string digits = std::to_string(partCount);
  return files_text::SplitFrom + shownPath(fileNameOf(currentPath)) + files_text::SplitInto + digits +
         files_text::SplitParts + shownPath(fileNameOf(base)) + std::string(digits.size(), 'X') + files_text::SplitEnd;
}

}  // namespace

std::string splitBaseName(const std::string& currentPath) {
  const std::string extension = extensionOf(currentPath);
  if (extension.empty()) return currentPath + "_";
  return currentPath.substr(0, currentPath.size() - extension.size() - 1) + "_";
}

std::string splitPartName(const std::string& base, std::int64_t number, std::int64_t partCount) {
  const std::string numberText = std::to_string(number);
  const std::size_t width = std::to_string(partCount).size();
  return base + std::string(width > numberText.size() ? width - numberText.size() : 0, '0') + numberText + ".ltk";
}

void splitFile(Program& program) {
  MessageDialogs& dialogs = program.dialogs;
  std::string entry;
  if (!dialogs.inputBox(files_text::SplitTitle, files_text::PartSizePrompt, entry)) return;
  const auto partSize = static_cast<std::int32_t>(parseLenientNumber(entry));
  if (partSize < 1) {
    dialogs.messageBox(files_text::SplitTitle, files_text::PartSizeInvalid, MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  const std::int64_t size = program.list.size();
  const std::int64_t partCount = size / partSize + (size % partSize != 0 ? 1 : 0);
  const std::string& currentPath = program.file.currentPath;
  const std::string base = splitBaseName(currentPath);
  if (dialogs.messageBox(files_text::SplitTitle, confirmationText(currentPath, base, partCount), MessageButtons::YesNo,
                         MessageIcon::Information) != Answer::Yes)
    return;

  program.controls.showStatusMessage(files_text::Splitting);
  ByteBuffer bytes;  // one buffer for all parts: writeRecords makes room for the whole list
  for (std::int64_t part = 1; part <= partCount; ++part) {
    const std::string name = splitPartName(base, part, partCount);
    bytes.clear();
    writeRecords(program.list, (part - 1) * partSize, std::min(size, part * partSize), bytes);
    if (const Replacement saved = program.files.replaceFile(name, viewOf(bytes)); !saved) {
      program.system.reportCause("saving the part", saved.failure);
      dialogs.messageBox(files_text::AccessErrorTitle,
                         files_text::PartNotSavedStart + shownPath(fileNameOf(name)) + files_text::PartNotSavedEnd,
                         MessageButtons::Ok, MessageIcon::Error);
      break;
    }
  }
}

}  // namespace zl
