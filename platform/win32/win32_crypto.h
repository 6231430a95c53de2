// The cryptographic provider on Windows: the CryptoAPI base provider.
#pragma once

#include "platform/crypto.h"

namespace setup::platform::win32 {

class Win32Crypto final : public Crypto {
 public:
  std::unique_ptr<CipherKey> DeriveRc4KeyFromSha1(std::string_view secret) override;
  std::optional<std::wstring> ToBase64Lines(std::span<const std::uint8_t> bytes) const override;
};

}  // namespace setup::platform::win32
