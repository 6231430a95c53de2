// Host stand-in of the cryptographic provider: own SHA-1, RC4 and Base64 that produce the
// same bytes as the Windows base provider.
#pragma once

#include "platform/crypto.h"

namespace setup::platform::host {

class HostCrypto final : public Crypto {
 public:
  std::unique_ptr<CipherKey> DeriveRc4KeyFromSha1(std::string_view secret) override;
  std::optional<std::wstring> ToBase64Lines(std::span<const std::uint8_t> bytes) const override;
};

}  // namespace setup::platform::host
