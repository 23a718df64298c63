#include "posix/signature_sodium.h"

#include <sodium.h>

namespace zl {

namespace {

bool sodiumReady() {
  static const bool ready = ::sodium_init() >= 0;
  return ready;
}

}  // namespace

void SodiumSignatureVerifier::digest(const std::function<void(std::string& piece)>& next, Blake2bDigest& digest) {
  if (!sodiumReady()) return;  // then no signature is valid either
  crypto_generichash_state state;
  ::crypto_generichash_init(&state, nullptr, 0, digest.size());
  for (std::string piece;;) {
    next(piece);
    if (piece.empty()) break;
    ::crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(piece.data()), piece.size());
  }
  ::crypto_generichash_final(&state, digest.data(), digest.size());
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
