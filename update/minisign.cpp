#include "update/minisign.h"

#include <algorithm>
#include <vector>

namespace zl {

namespace {

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Standard base64 with its padding, nothing else; false for anything else
// or another length than `size`.
bool decodeBase64(std::string_view text, std::size_t size, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (text.size() % 4 != 0) return false;
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < text.size() - padding; ++i) {
    const int value = base64Value(text[i]);
    if (value < 0) return false;
    bits = bits << 6 | static_cast<std::uint32_t>(value);
    if (i % 4 == 3) {
      for (int shift = 16; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
      bits = 0;
    }
  }
  if (padding == 2) bytes.push_back(static_cast<std::uint8_t>(bits >> 4));
  if (padding == 1) {
    bytes.push_back(static_cast<std::uint8_t>(bits >> 10));
    bytes.push_back(static_cast<std::uint8_t>(bits >> 2));
  }
  return bytes.size() == size;
}

template <std::size_t N>
void take(const std::vector<std::uint8_t>& bytes, std::size_t from, std::array<std::uint8_t, N>& into) {
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), N, into.begin());
}

// The next line of `text`, without its line end.
std::string_view nextLine(std::string_view& text) {
  const std::size_t end = std::min(text.find('\n'), text.size());
  std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

bool parseMinisignKey(std::string_view base64, MinisignKey& key) {
  std::vector<std::uint8_t> bytes;
  if (!decodeBase64(base64, 2 + 8 + 32, bytes) || bytes[0] != 'E' || bytes[1] != 'd') return false;
  take(bytes, 2, key.id);
  take(bytes, 10, key.key);
  return true;
}

bool parseMinisignSignature(std::string_view text, MinisignSignature& signature) {
  constexpr std::string_view trusted = "trusted comment: ";
  std::vector<std::uint8_t> bytes;
  if (!nextLine(text).starts_with("untrusted comment:")) return false;
  if (!decodeBase64(nextLine(text), 2 + 8 + 64, bytes) || bytes[0] != 'E' || bytes[1] != 'D') return false;
  take(bytes, 2, signature.keyId);
  take(bytes, 10, signature.signature);
  const std::string_view comment = nextLine(text);
  if (!comment.starts_with(trusted)) return false;
  signature.trustedComment = comment.substr(trusted.size());
  if (!decodeBase64(nextLine(text), 64, bytes)) return false;
  take(bytes, 0, signature.globalSignature);
  return true;
}

bool isSignedBy(SignatureVerifier& verifier, const MinisignKey& key, const MinisignSignature& signature,
                const ReadAt& read) {
  if (signature.keyId != key.id) return false;
  constexpr std::size_t PieceSize = 64 * 1024;
  std::uint64_t offset = 0;
  Blake2bDigest digest;
  verifier.digest(
      [&](std::string& piece) {
        read(offset, PieceSize, piece);
        offset += piece.size();
      },
      digest);
  const std::string_view digestBytes(reinterpret_cast<const char*>(digest.data()), digest.size());
  std::string commented(reinterpret_cast<const char*>(signature.signature.data()), signature.signature.size());
  commented += signature.trustedComment;
  return verifier.isValid(signature.signature, digestBytes, key.key) &&
         verifier.isValid(signature.globalSignature, commented, key.key);
}

}  // namespace zl
