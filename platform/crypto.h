// Port: the cryptographic provider that protects passwords handed to the installer packages
// as property values: a SHA-1 based RC4 key, RC4 encryption and Base64 text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setup::platform {

class CipherKey {
 public:
  virtual ~CipherKey() = default;
  // Encrypts the bytes in place as one final block. The stream restarts with every call, so
  // the same bytes always give the same result.
  virtual bool EncryptFinal(std::span<std::uint8_t> bytes) = 0;
};

class Crypto {
 public:
  virtual ~Crypto() = default;
  // The RC4 key the base cryptographic provider derives from the SHA-1 hash of `secret`:
  // exportable, of the provider's default length of 40 bits, salted with the hash bits that
  // follow the key. Empty when no provider or key is available.
  virtual std::unique_ptr<CipherKey> DeriveRc4KeyFromSha1(std::string_view secret) = 0;
  // Base64 text broken into lines of 64 characters, every line (the last one too) ending with
  // "\r\n"; no bytes give an empty text. Empty optional when the conversion fails.
  virtual std::optional<std::wstring> ToBase64Lines(std::span<const std::uint8_t> bytes) const = 0;
};

}  // namespace setup::platform
