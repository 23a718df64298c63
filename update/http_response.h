// The parts of an HTTP/1.1 download that need no socket: the URL taken
// apart, the request's bytes, the response head, and the chunked transfer
// coding. Pure: bytes in, decisions out, so they are tested and fuzzed on
// bytes; the socket side is http_download.h.
//
// Lines end at CR LF, and also at a lone CR or LF. Nothing here reads past
// the bytes it is given or grows without a limit: a head is refused past
// its limit, a chunk size line past 1 KiB, a body past its limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zl {

struct UrlParts {
  std::string host;
  std::uint16_t port = 80;
  std::string path;  // without its leading "/"; a query belongs to it
};

// Takes "scheme://[userinfo@]host[:port][/path]" apart; the user
// information is dropped. False when there is no "://", the host is empty,
// or the port is not a number from 1 to 65535.
bool splitUrl(std::string_view url, UrlParts& parts);

// "GET /path HTTP/1.1", Accept, Host (with ":port" unless it is 80),
// Connection: close and the empty line, every line ending in CR LF.
std::string requestFor(const UrlParts& parts);

enum class HeadOutcome { Incomplete, Accepted, Refused, TooLarge };
enum class BodyFraming { Length, Chunked, UntilClose };

struct ResponseHead {
  HeadOutcome outcome = HeadOutcome::Incomplete;
  std::size_t size = 0;  // the bytes of the head, with its empty line
  BodyFraming framing = BodyFraming::UntilClose;
  std::uint64_t length = 0;  // with BodyFraming::Length
};

// Reads the head at the start of `bytes`. Incomplete: no empty line yet
// within the first `maxHead` bytes. TooLarge: none within them, or a
// Content-Length over `maxBody`. Refused: a status code other than 200 or
// 302 in the status line's code field, or a Content-Length that is no
// number or is given twice with different values. Accepted: the body starts at `size`; a
// Content-Length takes precedence over "Transfer-Encoding: chunked", and
// without either the body lasts until the server stops sending.
ResponseHead readResponseHead(std::string_view bytes, std::size_t maxHead, std::uint64_t maxBody);

// Decodes a body in the chunked transfer coding, block by block as it
// arrives. The body is complete at the line of the chunk of size 0; what
// follows it (trailer fields) is not waited for.
class ChunkedDecoder {
 public:
  enum class State { More, Done, Invalid, TooLarge };
  explicit ChunkedDecoder(std::uint64_t maxBody) : maxBody_(maxBody) {}
  // Takes bytes from the front of `input` up to the next piece of chunk
  // data, which is left in `data` (a view into `input`, possibly empty).
  // More: call again with the rest of `input`, or with the next block once
  // it is used up. Done: the body is complete. Invalid: the bytes break the
  // coding. TooLarge: the data exceed `maxBody`. Each of the last three
  // stays.
  State next(std::string_view& input, std::string_view& data);

 private:
  enum class Step { Size, Extension, SizeLineEnd, Data, DataEnd, DataEndLf };
  State fail(State why = State::Invalid) { return state_ = why; }
  void endSizeLine();
  std::uint64_t maxBody_;
  std::uint64_t total_ = 0;
  std::uint64_t chunkLeft_ = 0;
  std::size_t lineLength_ = 0;
  bool sawDigit_ = false;
  Step step_ = Step::Size;
  State state_ = State::More;
};

}  // namespace zl
