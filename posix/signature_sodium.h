// The signature checks with libsodium: crypto_generichash (BLAKE2b) over the
// pieces it is given, crypto_sign_verify_detached for Ed25519.
//
// Built into a library of its own (zl_sodium), so that only the program
// and the tests link libsodium, never the core. sodium_init runs once, on
// the first check; when it fails, every check fails.
#pragma once

#include "platform/signature_verifier.h"

namespace zl {

class SodiumSignatureVerifier : public SignatureVerifier {
 public:
  void digest(const std::function<void(std::string& piece)>& next, Blake2bDigest& digest) override;
  bool isValid(const Ed25519Signature& signature, std::string_view message, const Ed25519PublicKey& key) override;
};

}  // namespace zl
