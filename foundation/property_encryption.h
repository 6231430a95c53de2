// Encryption of passwords handed to the installer packages as property values: RC4 with a key
// derived from the SHA-1 hash of a fixed pass phrase, written as line-broken Base64 text.
//
// The packages' own installer actions hold the same pass phrase and reverse the transformation
// (Base64-decode, derive the key the same way, RC4 again, read UTF-16LE). Package authors: see
// docs/property-encryption.md. The pass phrase below is the only copy in the launcher; changing
// it breaks every package built for the old one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/crypto.h"

namespace setup {

// 32 lower-case hexadecimal ASCII characters; its 32 bytes are hashed without a terminator.
inline constexpr std::string_view kPropertyPassPhrase = "c41f9a07d2e85b36f0a17c9e4d6b2835";

// Holds the key for the life of the process: the application object keeps one instance.
class PropertyEncryption {
 public:
  explicit PropertyEncryption(platform::Crypto& crypto) : crypto_(crypto) {}

  // The key, derived on first use and kept; null when no key is available (tried again on
  // the next call).
  platform::CipherKey* GetPropertyKey();

  // The value encrypted and Base64-encoded (lines of 64 characters, each ending with "\r\n").
  // Without a key the value is returned as it is; a failed encryption or conversion gives "".
  std::wstring EncryptPropertyValue(std::wstring_view value);

 private:
  platform::Crypto& crypto_;
  std::unique_ptr<platform::CipherKey> key_;
};

}  // namespace setup
