#include "convert/zstd_stream.h"

#include <zstd.h>

#include <vector>

#include "convert/texts.h"

namespace zl {

struct ZstdSink::Stream {
  ZSTD_DStream* stream = ZSTD_createDStream();
  std::vector<char> piece = std::vector<char>(ZSTD_DStreamOutSize());
  ~Stream() { ZSTD_freeDStream(stream); }
};

ZstdSink::ZstdSink(ByteSink& unpacked) : stream_(std::make_unique<Stream>()), unpacked_(unpacked) {
  if (!stream_->stream) throw std::bad_alloc();
  // A frame may ask for a window of up to 2 GB; 128 MB is what zstd itself
  // allows without being asked, and what any collection needs.
  ZSTD_DCtx_setParameter(stream_->stream, ZSTD_d_windowLogMax, 27);
}

ZstdSink::~ZstdSink() = default;

bool ZstdSink::take(std::string_view compressed) {
  ZSTD_inBuffer in{compressed.data(), compressed.size(), 0};
  anyInput_ = anyInput_ || !compressed.empty();
  bool outputFull = false;  // zstd may hold more for the next piece
  while (in.pos < in.size || outputFull) {
    ZSTD_outBuffer out{stream_->piece.data(), stream_->piece.size(), 0};
    const std::size_t result = ZSTD_decompressStream(stream_->stream, &out, &in);
    if (ZSTD_isError(result)) {
      reason_ = convert_text::fill(convert_text::ZstdBroken, {ZSTD_getErrorName(result)});
      return false;
    }
    frameEnded_ = result == 0;
    outputFull = out.pos == out.size;
    if (out.pos > 0 && !unpacked_.take({stream_->piece.data(), out.pos})) {
      reason_ = unpacked_.stopReason();
      return false;
    }
  }
  return true;
}

bool ZstdSink::finish() {
  if (frameEnded_) return true;
  reason_ = convert_text::fill(convert_text::ZstdBroken, {anyInput_ ? "unvollständig" : "leer"});
  return false;
}

}  // namespace zl
