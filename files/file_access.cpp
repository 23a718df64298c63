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
#include "store/piece_reader.h"

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

// The memory that taking in a file of `size` bytes with `pairs` pairs
// costs, the window's rows included.
std::uint64_t memoryFor(std::uint64_t size, std::int64_t pairs, const VocabList& list) {
  return size + list.memoryToTakeIn(size, pairs) + static_cast<std::uint64_t>(pairs) * ListRowBytes;
}

// Mostly there is room without counting the pairs: no file holds more than
// a pair per four bytes, and a list sized for a typical file grows to at
// most three times its pairs on the way. Counting costs a pass over the
// bytes.
bool fitsUncounted(std::uint64_t size, const VocabList& list, std::uint64_t availableMemory) {
  return memoryFor(size, 3 * (static_cast<std::int64_t>(size / 4) + 1), list) <= availableMemory;
}

// The pairs a typical file of `size` bytes holds at most.
std::int64_t typicalPairRoom(std::uint64_t size) { return static_cast<std::int64_t>(size / 16); }

bool fitsInMemory(MessageDialogs& dialogs, const std::string& path, ByteBuffer& bytes, const VocabList& list,
                  std::uint64_t availableMemory, std::int64_t& pairRoom) {
  if (fitsUncounted(bytes.size(), list, availableMemory)) {
    pairRoom = typicalPairRoom(bytes.size());
    return true;
  }
  pairRoom = pairCountBound(viewOf(bytes));
  if (memoryFor(bytes.size(), pairRoom, list) <= availableMemory) return true;
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

bool readPairsInto(MessageDialogs& dialogs, FileSystem& files, System& system, const std::string& path,
                   VocabList& list) {
  const std::uint64_t memory = system.availableMemory();
  const std::uint64_t size = files.status(path).size;
  try {
    if (size > MaxFileBytes || !fitsUncounted(size, list, memory)) {
      // Tight memory: the pairs are counted in the bytes before any room is made for them.
      ByteBuffer bytes;
      std::int64_t pairRoom = 0;
      if (!readForList(dialogs, files, system, path, list, bytes, pairRoom)) return false;
      readRecords(std::move(bytes), pairRoom, list);
      return true;
    }
    const Outcome read = readPairsInPieces(files, path, typicalPairRoom(size), list);
    if (read) return true;
    const bool grownTooLarge = read.failure.systemSaid(EFBIG);
    if (!grownTooLarge) system.reportCause("reading", read.failure);
    reportFileProblem(dialogs, path, grownTooLarge ? files_text::TooLarge : files_text::Unreadable);
  } catch (const std::bad_alloc&) {  // more pairs than memory: none of them
    list.clear();
    reportFileProblem(dialogs, path, files_text::TooLarge);
  }
  return false;
}

}  // namespace zl
