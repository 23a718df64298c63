#include "convert/failure_text.h"

#include <cstring>

#include "convert/texts.h"
#include "platform/paths.h"

namespace zl {

namespace {

// The system's name of an error number ("EIO"), for the rare ones without
// a German text of their own.
std::string errorName(int error) {
  const char* name = ::strerrorname_np(error);
  return name ? std::string(name) : std::to_string(error);
}

enum class Reason {
  Missing,
  NoPermission,
  Folder,
  NotAFolder,
  Link,
  DiskFull,
  ReadOnly,
  Exists,
  Unsupported,
  Broken,
  Other
};

Reason reasonOf(const Failure& failure) {
  switch (failure.cause) {
    case FailureCause::NotAFile:
      return Reason::Folder;
    case FailureCause::OtherUsersLink:
      return Reason::Link;
    case FailureCause::OtherUsersFile:
      return Reason::NoPermission;
    case FailureCause::System:
      break;
    default:
      return Reason::Other;
  }
  switch (failure.error) {
    case ENOENT:
      return Reason::Missing;
    case EACCES:
    case EPERM:
      return Reason::NoPermission;
    case EISDIR:
      return Reason::Folder;
    case ENOTDIR:
      return Reason::NotAFolder;
    case ELOOP:
      return Reason::Link;
    case ENOSPC:
    case EDQUOT:
      return Reason::DiskFull;
    case EROFS:
      return Reason::ReadOnly;
    case EEXIST:
      return Reason::Exists;
    case EOPNOTSUPP:
    case ENOSYS:
    case EINVAL:
      return Reason::Unsupported;
    case EIO:
      return Reason::Broken;
    default:
      return Reason::Other;
  }
}

}  // namespace

std::string readFailureText(const std::string& input, const Failure& failure) {
  using namespace convert_text;
  switch (reasonOf(failure)) {
    case Reason::Missing:
      return fill(ReadMissing, {input});
    case Reason::NoPermission:
      return fill(ReadNoPermission, {input});
    case Reason::Folder:
      return fill(ReadFolder, {input});
    case Reason::NotAFolder:
      return fill(PathNotAFolder, {input});
    case Reason::Link:
      return fill(LinkNotFollowed, {input});
    case Reason::Broken:
      return fill(ReadBroken, {input});
    default:
      return fill(CannotRead, {input, errorName(failure.error)});
  }
}

std::string writeFailureText(const std::string& output, const Failure& failure) {
  using namespace convert_text;
  const std::string folder = folderOf(output);
  switch (reasonOf(failure)) {
    case Reason::Missing:
      return fill(WriteNoFolder, {output, folder.empty() ? std::string(".") : folder});
    case Reason::NoPermission:
      return fill(WriteNoPermission, {output, folder.empty() ? std::string(".") : folder});
    case Reason::Folder:
      return fill(WriteFolder, {output});
    case Reason::NotAFolder:
      return fill(PathNotAFolder, {output});
    case Reason::Link:
      return fill(LinkNotFollowed, {output});
    case Reason::DiskFull:
      return fill(DiskFull, {output});
    case Reason::ReadOnly:
      return fill(WriteReadOnly, {output});
    case Reason::Exists:
      return fill(OutputExists, {output});
    case Reason::Unsupported:
      return fill(WriteUnsupported, {output});
    case Reason::Broken:
      return fill(WriteBroken, {output});
    default:
      return fill(CannotWrite, {output, errorName(failure.error)});
  }
}

}  // namespace zl
