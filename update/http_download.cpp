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
  // or the caller stopped the download; endOf says which.
  Received receive(std::size_t capacity, int wait, std::string_view& block) {
    const std::int64_t until = deadline(wait);
    for (;;) {
      std::size_t size = 0;
      const std::int64_t tick = std::min(until, network_.now() + limits_.tickMilliseconds);
      const Received what = connection_->receive(buffer_, std::min(capacity, BlockSize), size, tick);
      block = {buffer_, size};
      spanBytes_ += size;
      if (stalled()) return failed(DownloadOutcome::TooSlow);
      if (what == Received::Failed) return failed(DownloadOutcome::CutShort);
      if (what != Received::TimedOut) return what;
      if (!report()) return failed(DownloadOutcome::Stopped);
      if (network_.now() >= until) return Received::TimedOut;
    }
  }

  // How the download ends at `what`, a receive that brought no block.
  DownloadOutcome endOf(Received what) const {
    if (what == Received::Closed) return DownloadOutcome::CutShort;
    if (what == Received::TimedOut) return DownloadOutcome::TooSlow;
    return failure_;
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
  Received failed(DownloadOutcome why) {
    failure_ = why;
    return Received::Failed;
  }

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
  DownloadOutcome failure_ = DownloadOutcome::CutShort;
  std::unique_ptr<Connection> connection_;
  char buffer_[BlockSize];
};

// Receives and parses until the head is whole. Done when it was accepted:
// `head` then holds it and the first bytes of the body, `parsed` what it
// says.
DownloadOutcome receiveHead(Transfer& transfer, const DownloadLimits& limits, std::string& head, ResponseHead& parsed) {
  for (;;) {
    std::string_view block;
    const Received what = transfer.receive(BlockSize, limits.blockMilliseconds, block);
    if (what != Received::Data) return transfer.endOf(what);
    head.append(block);
    parsed = readResponseHead(head, limits.maxHead, limits.maxBody);
    switch (parsed.outcome) {
      case HeadOutcome::Incomplete:
        break;
      case HeadOutcome::Accepted:
        return DownloadOutcome::Done;
      case HeadOutcome::Refused:
        return DownloadOutcome::Refused;
      case HeadOutcome::TooLarge:
        return DownloadOutcome::TooLarge;
    }
  }
}

// Writes the body that follows the head; `start` is what came with it.
class BodyWriter {
 public:
  BodyWriter(Transfer& transfer, OutputFile& file, const DownloadLimits& limits)
      : transfer_(transfer), file_(file), limits_(limits) {}

  DownloadOutcome byLength(std::uint64_t length, std::string_view start) {
    std::string_view block = start.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(length, start.size())));
    for (;;) {
      if (const DownloadOutcome written = put(block, length); written != DownloadOutcome::Done) return written;
      if (received_ == length) return DownloadOutcome::Done;
      const auto missing = static_cast<std::size_t>(std::min<std::uint64_t>(length - received_, BlockSize));
      const Received what = transfer_.receive(missing, limits_.blockMilliseconds, block);
      if (what != Received::Data) return transfer_.endOf(what);
    }
  }

  DownloadOutcome chunked(std::string_view start) {
    ChunkedDecoder decoder(limits_.maxBody);
    std::string_view block = start;
    for (;;) {
      ChunkedDecoder::State state;
      do {
        std::string_view data;
        state = decoder.next(block, data);
        if (!data.empty() && !file_.write(data)) return writeFailure();
        received_ += data.size();
      } while (state == ChunkedDecoder::State::More && !block.empty());
      if (!transfer_.report(received_, 0)) return DownloadOutcome::Stopped;
      switch (state) {
        case ChunkedDecoder::State::More:
          break;
        case ChunkedDecoder::State::Done:
          return DownloadOutcome::Done;
        case ChunkedDecoder::State::Invalid:
          return DownloadOutcome::CutShort;  // a chunk broken on its way
        case ChunkedDecoder::State::TooLarge:
          return DownloadOutcome::TooLarge;
      }
      const Received what = transfer_.receive(BlockSize, limits_.blockMilliseconds, block);
      if (what != Received::Data) return transfer_.endOf(what);
    }
  }

  // Ends when the server closes or falls silent, not when the overall
  // limit cuts it short.
  DownloadOutcome untilClose(std::string_view start) {
    std::string_view block = start;
    for (;;) {
      if (received_ + block.size() > limits_.maxBody) return DownloadOutcome::TooLarge;
      if (const DownloadOutcome written = put(block, 0); written != DownloadOutcome::Done) return written;
      const Received what = transfer_.receive(BlockSize, limits_.silenceMilliseconds, block);
      if (what == Received::Closed) return DownloadOutcome::Done;
      if (what == Received::TimedOut)
        return transfer_.overallLimitReached() ? DownloadOutcome::TooSlow : DownloadOutcome::DoneBySilence;
      if (what == Received::Failed) return transfer_.endOf(what);
    }
  }

  // Why the file took no more bytes.
  DownloadOutcome writeFailure() const {
    return file_.failure().diskFull() ? DownloadOutcome::DiskFull : DownloadOutcome::CannotWrite;
  }

 private:
  DownloadOutcome put(std::string_view block, std::uint64_t length) {
    if (!block.empty() && !file_.write(block)) return writeFailure();
    received_ += block.size();
    return transfer_.report(received_, length) ? DownloadOutcome::Done : DownloadOutcome::Stopped;
  }

  Transfer& transfer_;
  OutputFile& file_;
  const DownloadLimits& limits_;
  std::uint64_t received_ = 0;
};

}  // namespace

DownloadOutcome httpDownloadToFile(Network& network, const std::string& url, OutputFile& file,
                                   const DownloadLimits& limits, const DownloadProgress& progress) {
  UrlParts parts;
  if (!splitUrl(url, parts)) return DownloadOutcome::NoConnection;
  Transfer transfer(network, limits, progress);
  if (!transfer.open(parts)) return DownloadOutcome::NoConnection;
  std::string head;
  ResponseHead response;
  if (const DownloadOutcome got = receiveHead(transfer, limits, head, response); got != DownloadOutcome::Done)
    return got;
  const std::string_view start = std::string_view(head).substr(response.size);
  BodyWriter body(transfer, file, limits);
  DownloadOutcome outcome = DownloadOutcome::Done;
  switch (response.framing) {
    case BodyFraming::Length:
      outcome = body.byLength(response.length, start);
      break;
    case BodyFraming::Chunked:
      outcome = body.chunked(start);
      break;
    case BodyFraming::UntilClose:
      outcome = body.untilClose(start);
      break;
  }
  if (outcome != DownloadOutcome::Done && outcome != DownloadOutcome::DoneBySilence) return outcome;
  return file.finish() ? outcome : body.writeFailure();
}

}  // namespace zl
