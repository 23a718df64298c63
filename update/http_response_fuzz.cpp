// libFuzzer target for the HTTP response readers: any bytes, as a head or
// as a chunked body cut into blocks anywhere, must read without a crash or
// a hang, and every decision must stay within the bytes and the limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/http_response.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  constexpr std::size_t maxHead = 512;
  constexpr std::uint64_t maxBody = 4096;

  const zl::ResponseHead head = zl::readResponseHead(bytes, maxHead, maxBody);
  if (head.outcome == zl::HeadOutcome::Accepted) {
    check(head.size <= bytes.size() && head.size <= maxHead + 1);
    check(head.framing != zl::BodyFraming::Length || head.length <= maxBody);
  }
  check(head.outcome != zl::HeadOutcome::Incomplete || bytes.size() < maxHead);

  zl::UrlParts url;
  if (zl::splitUrl(bytes, url)) check(!url.host.empty() && url.port != 0);

  // The same body decoded whole and in blocks of the first byte's size
  // must give the same data and the same end.
  const std::size_t block = size == 0 ? 1 : data[0] % 16 + 1;
  std::string whole, pieces;
  zl::ChunkedDecoder all(maxBody), cut(maxBody);
  zl::ChunkedDecoder::State endAll = zl::ChunkedDecoder::State::More, endCut = endAll;
  std::string_view input = bytes, piece;
  while (endAll == zl::ChunkedDecoder::State::More && !input.empty()) {
    endAll = all.next(input, piece);
    whole.append(piece);
  }
  for (std::size_t at = 0; at < size && endCut == zl::ChunkedDecoder::State::More; at += block) {
    std::string_view part = bytes.substr(at, block);
    while (endCut == zl::ChunkedDecoder::State::More && !part.empty()) {
      endCut = cut.next(part, piece);
      pieces.append(piece);
    }
  }
  check(endAll == endCut && whole == pieces && whole.size() <= maxBody);
  return 0;
}
