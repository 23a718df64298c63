#include "files/file_access.h"

#include <cerrno>
#include <ctime>
#include <new>

#include "files/texts.h"
#include "platform/paths.h"
#include "state/controls.h"
#include "state/program.h"
#include "state/window_rules.h"
#include "store/file_format.h"
#include "store/path_names.h"

namespace zl {

std::string dialogFolder(const Program& program) {
  const std::string& currentPath = program.file.currentPath;
  return currentPath.empty() ? program.constants.workingDirectory : folderOf(currentPath);
}

std::vector<FileFilter> vocabularyFilters() {
  return {{files_text::VocabularyFilterName, "*.LTK"}, {files_text::AllFilesFilterName, "*.*"}};
}

std::vector<FileFilter> backupFilters() {
  return {{files_text::BackupFilterName, "*.LTS"}, {files_text::AllFilesFilterName, "*.*"}};
}

std::string shownPath(const std::string& path) { return cp1252FromUtf8(path); }

std::string shownDate(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  const std::tm* local = std::localtime(&time);
  char shown[64] = {};
  if (local == nullptr || std::strftime(shown, sizeof shown, files_text::DateFormat, local) == 0) return "?";
  return shown;
}

std::string causeText(const Failure& failure) {
  switch (failure.cause) {
    case FailureCause::OtherUsersFile:
      return files_text::CauseOtherUsersFile;
    case FailureCause::OtherUsersLink:
      return files_text::CauseOtherUsersLink;
    case FailureCause::NotAFile:
      return files_text::CauseNotAFile;
    case FailureCause::NotPrivate:
      return files_text::CauseNotPrivate;
    case FailureCause::NoFolder:
      return files_text::CauseNoFolder;
    case FailureCause::None:
    case FailureCause::System:
      break;
  }
  switch (failure.error) {
    case ENOSPC:
#ifdef EDQUOT  // not every system has quotas
    case EDQUOT:
#endif
      return files_text::CauseDiskFull;
    case EACCES:
    case EPERM:
      return files_text::CauseNoPermission;
    case EROFS:
      return files_text::CauseReadOnlyDisk;
    case ENOENT:
      return files_text::CauseMissing;
    case ENOTDIR:
      return files_text::CauseNotAFolder;
    case EIO:
      return files_text::CauseDiskError;
    default:
      return files_text::CauseSystemStart + std::to_string(failure.error) + ".";
  }
}

void showCurrentFile(WindowControls& ui, const std::string& currentPath) {
  ui.setStatusText(StatusFileField, " " + shownPath(currentPath), false);
}

void reportFileProblem(MessageDialogs& ui, const std::string& path, const std::string& ending) {
  ui.messageBox(files_text::AccessErrorTitle, files_text::FileProblemStart + shownPath(path) + ending,
                MessageButtons::Ok, MessageIcon::Error);
}

namespace {

bool readVocabularyFile(MessageDialogs& dialogs, FileSystem& files, System& system, const std::string& path,
                        std::uint64_t availableMemory, ByteBuffer& bytes) {
  const std::string* problem = nullptr;
  try {
    const std::uint64_t size = files.status(path).size;
    if (size > MaxFileBytes || size > availableMemory) {
      problem = &files_text::TooLarge;
    } else if (const Outcome read = files.readFile(path, bytes); !read) {
      system.reportCause("reading", read.failure);
      problem = &files_text::Unreadable;
    }
  } catch (const std::bad_alloc&) {
    problem = &files_text::TooLarge;
  }
  if (!problem) return true;
  ByteBuffer().swap(bytes);
  reportFileProblem(dialogs, path, *problem);
  return false;
}

bool fitsInMemory(MessageDialogs& dialogs, const std::string& path, ByteBuffer& bytes, const VocabList& list,
                  std::uint64_t availableMemory, std::int64_t& pairRoom) {
  const auto needed = [&](std::int64_t pairs) {
    return bytes.size() + list.memoryToTakeIn(bytes.size(), pairs) + static_cast<std::uint64_t>(pairs) * ListRowBytes;
  };
  // Mostly there is room without counting: no file holds more than a pair
  // per four bytes, and a list sized for a typical file grows to at most
  // three times its pairs on the way. Counting costs a pass over the bytes.
  const std::int64_t most = static_cast<std::int64_t>(bytes.size() / 4) + 1;
  if (needed(3 * most) <= availableMemory) {
    pairRoom = static_cast<std::int64_t>(bytes.size() / 16);  // a typical pair takes more
    return true;
  }
  pairRoom = pairCountBound(viewOf(bytes));
  if (needed(pairRoom) <= availableMemory) return true;
  ByteBuffer().swap(bytes);
  reportFileProblem(dialogs, path, files_text::TooLarge);
  return false;
}

}  // namespace

bool readForList(MessageDialogs& dialogs, FileSystem& files, System& system, const std::string& path,
                 const VocabList& list, ByteBuffer& bytes, std::int64_t& pairRoom) {
  const std::uint64_t memory = system.availableMemory();
  return readVocabularyFile(dialogs, files, system, path, memory, bytes) &&
         fitsInMemory(dialogs, path, bytes, list, memory, pairRoom);
}

}  // namespace zl
