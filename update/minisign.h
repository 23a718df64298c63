// The minisign signature format, as the `minisign` tool writes it: a public
// key as 56 base64 characters ("Ed", an 8-byte key id, the Ed25519 key),
// and a signature file of four lines (an untrusted comment; "ED", the key
// id and the Ed25519 signature of the file's BLAKE2b-512 digest; a trusted
// comment; the signature of the first signature and the trusted comment).
//
// Only the prehashed form, the tool's default, is taken: checking it reads
// the file piece by piece, through the reader it is given. Parsing is pure; the cryptography goes through
// SignatureVerifier. Every check fails closed: anything malformed is false.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/signature_verifier.h"
#include "update/elf_sections.h"

namespace zl {

using MinisignKeyId = std::array<std::uint8_t, 8>;

struct MinisignKey {
  MinisignKeyId id{};
  Ed25519PublicKey key{};
};

// The second line of a minisign .pub file. False when it is not one.
bool parseMinisignKey(std::string_view base64, MinisignKey& key);

struct MinisignSignature {
  MinisignKeyId keyId{};
  Ed25519Signature signature{};
  std::string trustedComment;
  Ed25519Signature globalSignature{};
};

// A .minisig file's text. False when it is not one in the prehashed form.
bool parseMinisignSignature(std::string_view text, MinisignSignature& signature);

// True when `signature` is by `key` and signs both the file that `read`
// reads and its trusted comment.
bool isSignedBy(SignatureVerifier& verifier, const MinisignKey& key, const MinisignSignature& signature,
                const ReadAt& read);

}  // namespace zl
