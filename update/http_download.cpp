#include "update/http_download.h"

#include <algorithm>

#include "update/http_response.h"

namespace zl {

namespace {

constexpr std::size_t BlockSize = 2048;

// One download: the connection, its deadlines, the block buffer, and what
// the caller was last told.
class Transfer {
 public:
  Transfer(Network& network, const DownloadLimits& limits, const DownloadProgress& progress)
      : network_(network),
        limits_(limits),
        progress_(progress),
        end_(network.now() + limits.totalMilliseconds),
        spanStart_(network.now()) {}

  bool open(const UrlParts& url) {
    connection_ = network_.connect(url.host, url.port, deadline(limits_.blockMilliseconds));
    return connection_ && connection_->sendAll(requestFor(url), deadline(limits_.sendMilliseconds));
  }

  // The next block of at most `capacity` bytes, waiting at most `wait` ms
  // and asking the caller between. Failed also when the server has stalled
  // or the caller stopped the download.
  Received receive(std::size_t capacity, int wait, std::string_view& block) {
    const std::int64_t until = deadline(wait);
    for (;;) {
      std::size_t size = 0;
      const std::int64_t tick = std::min(until, network_.now() + limits_.tickMilliseconds);
      const Received what = connection_->receive(buffer_, std::min(capacity, BlockSize), size, tick);
      block = {buffer_, size};
      spanBytes_ += size;
      if (stalled()) return Received::Failed;
      if (what != Received::TimedOut) return what;
      if (!report()) return Received::Failed;
      if (network_.now() >= until) return Received::TimedOut;
    }
  }

  // Tells the caller how much of the body is in; false when it wants the
  // download stopped.
  bool report(std::uint64_t received, std::uint64_t length) {
    received_ = received;
    length_ = length;
    return report();
  }

  bool overallLimitReached() { return network_.now() >= end_; }

 private:
  std::int64_t deadline(int milliseconds) { return std::min(network_.now() + milliseconds, end_); }
  bool report() { return !progress_ || progress_(received_, length_); }

  // True when a whole span has passed with less than its share of bytes;
  // each span that has it starts the next.
  bool stalled() {
    const std::int64_t now = network_.now();
    if (now - spanStart_ < limits_.stallMilliseconds) return false;
    if (spanBytes_ < limits_.stallBytes) return true;
    spanStart_ = now;
    spanBytes_ = 0;
    return false;
  }

  Network& network_;
  const DownloadLimits& limits_;
  const DownloadProgress& progress_;
  std::int64_t end_;
  std::int64_t spanStart_;
  std::uint64_t spanBytes_ = 0;
  std::uint64_t received_ = 0, length_ = 0;
  std::unique_ptr<Connection> connection_;
  char buffer_[BlockSize];
};

// Receives and parses until the head is whole; `head` then holds it and
// the first bytes of the body.
ResponseHead receiveHead(Transfer& transfer, const DownloadLimits& limits, std::string& head) {
  for (;;) {
    std::string_view block;
    if (transfer.receive(BlockSize, limits.blockMilliseconds, block) != Received::Data) return {};
    head.append(block);
    const ResponseHead parsed = readResponseHead(head, limits.maxHead, limits.maxBody);
    if (parsed.outcome != HeadOutcome::Incomplete) return parsed;
  }
}

// Writes the body that follows the head; `start` is what came with it.
class BodyWriter {
 public:
  BodyWriter(Transfer& transfer, OutputFile& file, const DownloadLimits& limits)
      : transfer_(transfer), file_(file), limits_(limits) {}

  bool byLength(std::uint64_t length, std::string_view start) {
    std::string_view block = start.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(length, start.size())));
    for (;;) {
      if (!put(block, length)) return false;
      if (received_ == length) return true;
      const auto missing = static_cast<std::size_t>(std::min<std::uint64_t>(length - received_, BlockSize));
      if (transfer_.receive(missing, limits_.blockMilliseconds, block) != Received::Data) return false;
    }
  }

  bool chunked(std::string_view start) {
    ChunkedDecoder decoder(limits_.maxBody);
    std::string_view block = start;
    for (;;) {
      ChunkedDecoder::State state;
      do {
        std::string_view data;
        state = decoder.next(block, data);
        if (!data.empty() && !file_.write(data)) return false;
        received_ += data.size();
      } while (state == ChunkedDecoder::State::More && !block.empty());
      if (!transfer_.report(received_, 0)) return false;
      if (state != ChunkedDecoder::State::More) return state == ChunkedDecoder::State::Done;
      if (transfer_.receive(BlockSize, limits_.blockMilliseconds, block) != Received::Data) return false;
    }
  }

  // Ends when the server closes or falls silent, not when the overall
  // limit cuts it short.
  bool untilClose(std::string_view start) {
    std::string_view block = start;
    for (;;) {
      if (received_ + block.size() > limits_.maxBody || !put(block, 0)) return false;
      const Received what = transfer_.receive(BlockSize, limits_.silenceMilliseconds, block);
      if (what == Received::Closed) return true;
      if (what == Received::TimedOut) return !transfer_.overallLimitReached();
      if (what == Received::Failed) return false;
    }
  }

 private:
  bool put(std::string_view block, std::uint64_t length) {
    if (!block.empty() && !file_.write(block)) return false;
    received_ += block.size();
    return transfer_.report(received_, length);
  }

  Transfer& transfer_;
  OutputFile& file_;
  const DownloadLimits& limits_;
  std::uint64_t received_ = 0;
};

}  // namespace

bool httpDownloadToFile(Network& network, const std::string& url, OutputFile& file, const DownloadLimits& limits,
                        const DownloadProgress& progress) {
  UrlParts parts;
  if (!splitUrl(url, parts)) return false;
  Transfer transfer(network, limits, progress);
  if (!transfer.open(parts)) return false;
  std::string head;
  const ResponseHead response = receiveHead(transfer, limits, head);
  if (response.outcome != HeadOutcome::Accepted) return false;
  const std::string_view start = std::string_view(head).substr(response.size);
  BodyWriter body(transfer, file, limits);
  bool complete = false;
  switch (response.framing) {
    case BodyFraming::Length:
      complete = body.byLength(response.length, start);
      break;
    case BodyFraming::Chunked:
      complete = body.chunked(start);
      break;
    case BodyFraming::UntilClose:
      complete = body.untilClose(start);
      break;
  }
  return complete && file.finish();
}

}  // namespace zl
