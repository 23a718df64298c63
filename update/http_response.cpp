#include "update/http_response.h"

#include <algorithm>

#include "store/cp1252.h"

namespace zl {

namespace {

constexpr std::size_t MaxSizeLine = 1024;

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return lowerAscii(static_cast<unsigned char>(a)) == lowerAscii(static_cast<unsigned char>(b));
         });
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
    if (startsWithIgnoringCase(text.substr(i), part)) return true;
  return false;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number of at most `max`, nothing else.
bool readNumber(std::string_view text, std::uint64_t max, std::uint64_t& value) {
  value = 0;
  if (text.empty()) return false;
  for (const char c : text) {
    if (!isDigit(c)) return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > max) return false;
  }
  return true;
}

// "HTTP/1.1 200 OK": the code is the three digits after the first blank,
// and only 200 and 302 are taken.
bool acceptedStatus(std::string_view line) {
  if (!line.starts_with("HTTP/")) return false;
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  const std::string_view rest = line.substr(blank + 1);
  if (rest.size() < 3 || (rest.size() > 3 && rest[3] != ' ')) return false;
  const std::string_view code = rest.substr(0, 3);
  return code == "200" || code == "302";
}

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool splitUrl(std::string_view url, UrlParts& parts) {
  parts = {};
  // A blank or a line end would end the request line early or add lines.
  if (std::any_of(url.begin(), url.end(), [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; }))
    return false;
  const std::size_t scheme = url.find("://");
  if (scheme == std::string_view::npos) return false;
  std::string_view authority = url.substr(scheme + 3);
  const std::size_t slash = authority.find('/');
  if (slash != std::string_view::npos) {
    parts.path = authority.substr(slash + 1);
    authority = authority.substr(0, slash);
  }
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  const std::size_t colon = authority.find(':');
  parts.host = authority.substr(0, colon);
  if (colon != std::string_view::npos) {
    std::uint64_t port = 0;
    if (!readNumber(authority.substr(colon + 1), 65535, port) || port == 0) return false;
    parts.port = static_cast<std::uint16_t>(port);
  }
  return !parts.host.empty();
}

std::string requestFor(const UrlParts& parts) {
  std::string request = "GET /" + parts.path + " HTTP/1.1\r\nAccept: */*\r\nHost: " + parts.host;
  if (parts.port != 80) request += ":" + std::to_string(parts.port);
  request += "\r\nConnection: close\r\n\r\n";
  return request;
}

ResponseHead readResponseHead(std::string_view bytes, std::size_t maxHead, std::uint64_t maxBody) {
  ResponseHead head;
  const auto unfinished = [&] {
    head.outcome = bytes.size() >= maxHead ? HeadOutcome::TooLarge : HeadOutcome::Incomplete;
    return head;
  };
  const auto refused = [&](HeadOutcome why = HeadOutcome::Refused) {
    head.outcome = why;
    return head;
  };
  bool chunked = false, haveLength = false;
  for (std::size_t pos = 0;;) {
    const std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos || end >= maxHead) return unfinished();
    std::size_t next = end + 1;
    if (bytes[end] == '\r') {
      if (next == bytes.size()) return unfinished();  // its line feed may be on the way
      if (bytes[next] == '\n') ++next;
    }
    const std::string_view line = bytes.substr(pos, end - pos);
    if (pos == 0) {
      if (!acceptedStatus(line)) return refused();
    } else if (line.empty()) {
      head.outcome = HeadOutcome::Accepted;
      head.size = next;
      head.framing = haveLength ? BodyFraming::Length : chunked ? BodyFraming::Chunked : BodyFraming::UntilClose;
      return head;
    } else if (startsWithIgnoringCase(line, "content-length:")) {
      const std::string_view text = trimmed(line.substr(15));
      std::uint64_t length = 0;
      if (!readNumber(text, maxBody, length)) {
        const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
        return refused(digits ? HeadOutcome::TooLarge : HeadOutcome::Refused);
      }
      if (haveLength && length != head.length) return refused();
      head.length = length;
      haveLength = true;
    } else if (startsWithIgnoringCase(line, "transfer-encoding:")) {
      chunked = chunked || containsIgnoringCase(line.substr(18), "chunked");
    }
    pos = next;
  }
}

void ChunkedDecoder::endSizeLine() {
  if (chunkLeft_ > maxBody_ - total_) {
    fail(State::TooLarge);
  } else if (chunkLeft_ == 0) {
    state_ = State::Done;
  } else {
    total_ += chunkLeft_;
    step_ = Step::Data;
  }
}

ChunkedDecoder::State ChunkedDecoder::next(std::string_view& input, std::string_view& data) {
  data = {};
  while (state_ == State::More && !input.empty()) {
    const char c = input.front();
    switch (step_) {
      case Step::Data: {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunkLeft_, input.size()));
        data = input.substr(0, n);
        input.remove_prefix(n);
        chunkLeft_ -= n;
        if (chunkLeft_ == 0) step_ = Step::DataEnd;
        return state_;
      }
      case Step::Size:
      case Step::Extension:
        if (++lineLength_ > MaxSizeLine) return fail();
        input.remove_prefix(1);
        if (c == '\r' || c == '\n') {
          if (!sawDigit_) return fail();
          if (c == '\r')
            step_ = Step::SizeLineEnd;
          else
            endSizeLine();
        } else if (step_ == Step::Extension) {
          // chunk extensions carry nothing we use
        } else if (hexValue(c) >= 0) {
          chunkLeft_ = chunkLeft_ * 16 + static_cast<std::uint64_t>(hexValue(c));
          sawDigit_ = true;
          if (chunkLeft_ > maxBody_) return fail(State::TooLarge);
        } else if (sawDigit_ && (c == ';' || c == ' ' || c == '\t')) {
          step_ = Step::Extension;
        } else {
          return fail();
        }
        break;
      case Step::SizeLineEnd:
        if (c == '\n') input.remove_prefix(1);
        endSizeLine();
        break;
      case Step::DataEnd:
        input.remove_prefix(1);
        if (c == '\r')
          step_ = Step::DataEndLf;
        else if (c == '\n')
          step_ = Step::Size;
        else
          return fail();
        lineLength_ = 0;
        sawDigit_ = false;
        break;
      case Step::DataEndLf:
        if (c == '\n') input.remove_prefix(1);
        step_ = Step::Size;
        break;
    }
  }
  return state_;
}

}  // namespace zl
