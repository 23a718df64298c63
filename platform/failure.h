// Why an operation on the outside world failed, carried from the adapter
// that saw it up to the command that tells the user, as LevelDB's Status
// carries its reason: what stood in the way (`cause`), the system's error
// number where the system refused (`error`, an errno value), and the file
// or folder it is about (`path`). The adapter knows these; the command
// words the German message. A default Failure is no failure.
#pragma once

#include <cerrno>
#include <string>
#include <utility>

namespace zl {

enum class FailureCause {
  None,            // nothing failed
  System,          // the system refused: `error` says why
  OtherUsersFile,  // another user's file is at the name, and is never written into
  OtherUsersLink,  // a link at the name that is not followed (see file_system.h)
  NotAFile,        // a folder, or anything but a plain file, is at the name
  NotPrivate,      // a folder of the user's alone is needed, and another user owns or may enter this one
  NoFolder,        // there is no place for it at all (no home folder is known)
};

struct Failure {
  FailureCause cause = FailureCause::None;
  int error = 0;     // the errno value, for FailureCause::System
  std::string path;  // the file or folder it is about, as the system spells it

  explicit operator bool() const { return cause != FailureCause::None; }
  bool systemSaid(int number) const { return cause == FailureCause::System && error == number; }
  // The disk, or the user's share of it, is full.
  bool diskFull() const { return systemSaid(ENOSPC) || systemSaid(EDQUOT); }
};

inline Failure systemFailure(int error, std::string path) { return {FailureCause::System, error, std::move(path)}; }

// The result of an operation that reports why it failed: true when it
// succeeded; otherwise `failure` says why.
struct Outcome {
  Outcome() = default;
  Outcome(Failure why) : failure(std::move(why)) {}  // NOLINT(google-explicit-constructor): a failure is an outcome
  Failure failure;
  explicit operator bool() const { return !failure; }
};

}  // namespace zl
