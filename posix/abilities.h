// What the file systems in use can do, learnt from their first refusal and
// remembered per file system (device) for the life of the object, so that a
// call one of them cannot do is made once and then never again. FAT32 and
// exFAT make no hard links; FUSE file systems (exfat-fuse, ntfs-3g,
// fusefat) take no flags of renameat2 (no RENAME_NOREPLACE, no
// RENAME_EXCHANGE) and no O_TMPFILE; network shares vary. A FUSE file
// system is never asked for the flags of renameat2: one may take them and
// do a plain rename instead. Each writing path asks `has` before the
// better call and falls back to the safest step that is left when it is
// refused.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace zl {

enum class Ability : unsigned {
  HardLinks = 1,     // link(2), linkat(2)
  RenameFlags = 2,   // renameat2(2) with RENAME_NOREPLACE or RENAME_EXCHANGE
  UnnamedFiles = 4,  // open(2) with O_TMPFILE
};

class FileSystemAbilities {
 public:
  // False once the file system that holds `folder` ("" for the working
  // folder) has refused `ability`; true while it is not known to lack it.
  bool has(const std::string& folder, Ability ability);
  // After a call of `ability` in `folder` failed with `error`: true when
  // the error says that the file system cannot do it at all, which is then
  // remembered; false for any other failure (a name taken, no permission).
  bool refused(const std::string& folder, Ability ability, int error);

 private:
  std::mutex mutex_;  // saves may run on more than one thread
  std::unordered_map<dev_t, unsigned> lacking_;
};

}  // namespace zl
