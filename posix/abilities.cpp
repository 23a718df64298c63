#include "posix/abilities.h"

#include <sys/stat.h>
#include <sys/vfs.h>

#include <cerrno>

#include "posix/descriptors.h"

namespace zl {

namespace {

bool deviceOf(const std::string& folder, dev_t& device) {
  struct stat st {};
  if (::stat(openable(folder).c_str(), &st) != 0) return false;
  device = st.st_dev;
  return true;
}

// What the file system of `folder` is known to lack before any call: a
// FUSE file system may take the flags of renameat2 and ignore them (the
// exfat-fuse of Debian 13 renames over the other name when asked to
// exchange the two), so they are never asked of one.
unsigned knownLacking(const std::string& folder) {
  constexpr decltype(statfs::f_type) FuseMagic = 0x65735546;  // FUSE_SUPER_MAGIC, also fuseblk
  struct statfs fs {};
  if (::statfs(openable(folder).c_str(), &fs) == 0 && fs.f_type == FuseMagic)
    return static_cast<unsigned>(Ability::RenameFlags);
  return 0;
}

// The errors with which a file system says that it has no such call. A link
// refused with EPERM is one (FAT, exFAT); the kernel's protection of other
// users' files gives EPERM too, but this program links only its own.
bool saysUnsupported(Ability ability, int error) {
  switch (ability) {
    case Ability::HardLinks:
      return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
    case Ability::RenameFlags:
      return error == EINVAL || error == EOPNOTSUPP || error == ENOSYS;
    case Ability::UnnamedFiles:
      return error == EOPNOTSUPP || error == EISDIR || error == ENOSYS || error == EINVAL;
  }
  return false;
}

}  // namespace

bool FileSystemAbilities::has(const std::string& folder, Ability ability) {
  dev_t device = 0;
  if (!deviceOf(folder, device)) return true;
  const std::lock_guard lock(mutex_);
  auto found = lacking_.find(device);
  if (found == lacking_.end()) found = lacking_.emplace(device, knownLacking(folder)).first;
  return (found->second & static_cast<unsigned>(ability)) == 0;
}

bool FileSystemAbilities::refused(const std::string& folder, Ability ability, int error) {
  if (!saysUnsupported(ability, error)) return false;
  dev_t device = 0;
  if (deviceOf(folder, device)) {
    const std::lock_guard lock(mutex_);
    lacking_.try_emplace(device, knownLacking(folder)).first->second |= static_cast<unsigned>(ability);
  }
  return true;
}

}  // namespace zl
