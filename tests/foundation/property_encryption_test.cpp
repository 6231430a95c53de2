#include "foundation/property_encryption.h"

#include <gtest/gtest.h>

#include "platform/host/host_crypto.h"

namespace setup {
namespace {

// Expected texts computed independently (Python hashlib, a separate RC4 and the base64
// module) for the launcher's pass phrase; the Windows build must give the same under Wine.
TEST(PropertyEncryption, KnownCipherTexts) {
  platform::host::HostCrypto crypto;
  PropertyEncryption encryption(crypto);
  EXPECT_EQ(encryption.EncryptPropertyValue(L""), L"");
  EXPECT_EQ(encryption.EncryptPropertyValue(L"secret"), L"N69Yav1FTVt1Hd0B\r\n");
  // 25 characters are 50 bytes: more than one line of Base64.
  EXPECT_EQ(encryption.EncryptPropertyValue(L"Passw0rd!Passw0rd!Passw0r"),
            L"FK9cau1FTFtnHZkBWzOlbBELtGKGictJ+X2AKCG988//ZFiXUauiFNXfR5hL5p5B\r\nQok=\r\n");
  // Non-ASCII text is encrypted as UTF-16LE, a character beyond the basic plane as a pair.
  EXPECT_EQ(encryption.EncryptPropertyValue(L"Gr\u00FC\u00DFe-\u65E5\u672C-\U0001F600"),
            L"A69PamJF4Ft1HYQBzFbtCx0L2brnVw==\r\n");
}

class CountingCrypto final : public platform::Crypto {
 public:
  explicit CountingCrypto(bool keyAvailable, bool encryptionWorks = true)
      : keyAvailable_(keyAvailable), encryptionWorks_(encryptionWorks) {}
  std::unique_ptr<platform::CipherKey> DeriveRc4KeyFromSha1(std::string_view secret) override {
    ++derivations;
    if (!keyAvailable_) return nullptr;
    auto key = host_.DeriveRc4KeyFromSha1(secret);
    return encryptionWorks_ ? std::move(key) : std::make_unique<FailingKey>();
  }
  std::optional<std::wstring> ToBase64Lines(std::span<const std::uint8_t> bytes) const override {
    return host_.ToBase64Lines(bytes);
  }
  int derivations = 0;

 private:
  struct FailingKey final : platform::CipherKey {
    bool EncryptFinal(std::span<std::uint8_t>) override { return false; }
  };
  platform::host::HostCrypto host_;
  bool keyAvailable_;
  bool encryptionWorks_;
};

TEST(PropertyEncryption, KeyIsDerivedOnceAndReused) {
  CountingCrypto crypto(true);
  PropertyEncryption encryption(crypto);
  const std::wstring first = encryption.EncryptPropertyValue(L"password");
  EXPECT_EQ(encryption.EncryptPropertyValue(L"password"), first);
  EXPECT_EQ(encryption.GetPropertyKey(), encryption.GetPropertyKey());
  EXPECT_EQ(crypto.derivations, 1);
}

TEST(PropertyEncryption, FailuresGivePlainOrEmptyText) {
  CountingCrypto noKey(false);
  PropertyEncryption withoutKey(noKey);
  EXPECT_EQ(withoutKey.GetPropertyKey(), nullptr);
  EXPECT_EQ(withoutKey.EncryptPropertyValue(L"password"), L"password");
  EXPECT_EQ(noKey.derivations, 2);  // no key is kept, so every use tries again

  CountingCrypto brokenKey(true, false);
  EXPECT_EQ(PropertyEncryption(brokenKey).EncryptPropertyValue(L"password"), L"");
}

}  // namespace
}  // namespace setup
