// Where a stream of bytes goes while it is unpacked: piece by piece, so
// that whoever takes them can stop a stream that is not what it claims to
// be (or grows without end) before it is whole.
#pragma once

#include <string>
#include <string_view>

namespace zl {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes the next bytes; false stops the stream, with stopReason() saying
  // why (German).
  virtual bool take(std::string_view bytes) = 0;
  virtual const std::string& stopReason() const = 0;
};

}  // namespace zl
