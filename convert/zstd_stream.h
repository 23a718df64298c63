// Zstandard: a compressed stream unpacked piece by piece into a ByteSink,
// with libzstd. Memory is zstd's window and one output piece.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "convert/byte_sink.h"

namespace zl {

class ZstdSink : public ByteSink {
 public:
  explicit ZstdSink(ByteSink& unpacked);
  ~ZstdSink() override;

  // Unpacks the next compressed bytes into the other sink.
  bool take(std::string_view compressed) override;
  // After the last piece: true when the stream ended with a whole frame.
  bool finish();
  const std::string& stopReason() const override { return reason_; }

 private:
  struct Stream;
  std::unique_ptr<Stream> stream_;
  ByteSink& unpacked_;
  bool frameEnded_ = false;
  bool anyInput_ = false;
  std::string reason_;
};

}  // namespace zl
