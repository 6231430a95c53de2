#include "platform/host/host_crypto.h"

#include <algorithm>
#include <array>

#include "platform/host/base64.h"
#include "platform/host/rc4.h"
#include "platform/host/sha1.h"

namespace setup::platform::host {

namespace {

// The base provider's RC4 key is 40 bits (5 bytes) long; the 11 hash bytes after them are
// its salt, and the cipher is keyed with key and salt together: the first 16 hash bytes.
constexpr std::size_t kKeyBytes = 5;
constexpr std::size_t kSaltBytes = 11;

class HostRc4Key final : public CipherKey {
 public:
  explicit HostRc4Key(const std::array<std::uint8_t, kKeyBytes + kSaltBytes>& keyAndSalt) : keyAndSalt_(keyAndSalt) {}
  bool EncryptFinal(std::span<std::uint8_t> bytes) override {
    Rc4Apply(keyAndSalt_, bytes);
    return true;
  }

 private:
  std::array<std::uint8_t, kKeyBytes + kSaltBytes> keyAndSalt_;
};

}  // namespace

std::unique_ptr<CipherKey> HostCrypto::DeriveRc4KeyFromSha1(std::string_view secret) {
  const auto hash = Sha1(secret);
  std::array<std::uint8_t, kKeyBytes + kSaltBytes> keyAndSalt{};
  std::copy_n(hash.begin(), keyAndSalt.size(), keyAndSalt.begin());
  return std::make_unique<HostRc4Key>(keyAndSalt);
}

std::optional<std::wstring> HostCrypto::ToBase64Lines(std::span<const std::uint8_t> bytes) const {
  return Base64Lines(bytes);
}

}  // namespace setup::platform::host
