// Zip archives in memory, with libzip: a member read piece by piece into a
// ByteSink, and an archive made of members. Nothing is ever extracted to
// disk, so the names inside an archive are only compared, never used as
// paths.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "convert/byte_sink.h"
#include "platform/byte_buffer.h"

namespace zl {

class ZipReader {
 public:
  // The archive `bytes`, which must outlive the reader; nullptr with
  // `reason` (German) when they hold no readable zip archive.
  static std::unique_ptr<ZipReader> open(std::string_view bytes, std::string& reason);
  ~ZipReader();

  bool has(std::string_view name) const;
  // Unpacks the member `name` into `sink`, checking its checksum at the
  // end. False with `reason` when it cannot be read, is broken or
  // encrypted, or the sink stops it (then `reason` is the sink's).
  bool read(std::string_view name, ByteSink& sink, std::string& reason) const;

 private:
  struct Archive;
  explicit ZipReader(std::unique_ptr<Archive> archive);
  std::unique_ptr<Archive> archive_;
};

// A zip archive of `members` (name, bytes) in this order, deflated, into
// `out`. False with `reason` when libzip cannot make it.
bool writeZip(const std::vector<std::pair<std::string, std::string_view>>& members, ByteBuffer& out,
              std::string& reason);

}  // namespace zl
