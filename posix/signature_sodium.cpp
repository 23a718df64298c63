#include "posix/signature_sodium.h"

#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace zl {

namespace {

bool sodiumReady() {
  static const bool ready = ::sodium_init() >= 0;
  return ready;
}

}  // namespace

bool SodiumSignatureVerifier::fileDigest(const std::string& path, Blake2bDigest& digest) {
  if (!sodiumReady()) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  crypto_generichash_state state;
  bool ok = ::crypto_generichash_init(&state, nullptr, 0, digest.size()) == 0;
  std::vector<unsigned char> block(64 * 1024);
  while (ok) {
    const ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = ::crypto_generichash_update(&state, block.data(), static_cast<unsigned long long>(n)) == 0;
  }
  ::close(fd);
  return ok && ::crypto_generichash_final(&state, digest.data(), digest.size()) == 0;
}

bool SodiumSignatureVerifier::isValid(const Ed25519Signature& signature, std::string_view message,
                                      const Ed25519PublicKey& key) {
  static_assert(sizeof(Ed25519Signature) == crypto_sign_BYTES &&
                sizeof(Ed25519PublicKey) == crypto_sign_PUBLICKEYBYTES);
  return sodiumReady() &&
         ::crypto_sign_verify_detached(signature.data(), reinterpret_cast<const unsigned char*>(message.data()),
                                       message.size(), key.data()) == 0;
}

}  // namespace zl
