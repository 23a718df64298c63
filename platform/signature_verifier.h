// The two cryptographic checks a signed update file needs: the BLAKE2b-512
// digest of a file and the Ed25519 check of a signature.
//
// Abstract so that the core links no cryptographic library: the real
// version is libsodium's (posix/signature_sodium.h), in a library
// of its own that only the program and the tests link. Both checks are
// plain functions of their inputs; they fail only as their results say.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zl {

using Ed25519PublicKey = std::array<std::uint8_t, 32>;
using Ed25519Signature = std::array<std::uint8_t, 64>;
using Blake2bDigest = std::array<std::uint8_t, 64>;

class SignatureVerifier {
 public:
  virtual ~SignatureVerifier() = default;
  // The BLAKE2b-512 digest (no key) of bytes taken piece by piece: `next`
  // fills its argument with the next piece, an empty one after the last.
  virtual void digest(const std::function<void(std::string& piece)>& next, Blake2bDigest& digest) = 0;
  // True when `signature` is a valid Ed25519 signature of `message` by the
  // holder of `key`.
  virtual bool isValid(const Ed25519Signature& signature, std::string_view message, const Ed25519PublicKey& key) = 0;
};

}  // namespace zl
