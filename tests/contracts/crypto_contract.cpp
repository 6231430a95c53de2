// Contract of the cryptographic port: the RC4 key derived from a SHA-1 hash and the Base64 text
// that protect property values. The expected bytes are RC4 keyed with the first 16 bytes of the
// secret's SHA-1 hash (the 40-bit key and its 11-byte salt), computed independently.
#include <vector>

#include "contracts/platform_under_test.h"

namespace setup::contracts {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t byte : bytes) text += {kDigits[byte >> 4], kDigits[byte & 15]};
  return text;
}

class CryptoContract : public ContractTest {
 protected:
  std::string Encrypted(std::string_view secret, std::string_view plain) {
    const auto key = Ports().crypto->DeriveRc4KeyFromSha1(secret);
    if (!key) return "<no key>";
    auto bytes = Bytes(plain);
    if (!key->EncryptFinal(bytes)) return "<encryption failed>";
    return Hex(bytes);
  }
};

TEST_F(CryptoContract, KeyIsRc4OverTheFirstSixteenBytesOfTheSha1Hash) {
  EXPECT_EQ(Encrypted("secret", "Attack at dawn"), "2d9b2474cdc16a83dcca9c247a76");
  EXPECT_EQ(Encrypted("Gr\xc3\xbc\xc3\x9f" "e", "Attack at dawn"), "a2ff1f0e0526bbb9c302e43daa57");
  EXPECT_EQ(Encrypted("", "Attack at dawn"), "f58679fc6c68ff9721a7e5b04d43");
}

TEST_F(CryptoContract, EveryFinalBlockRestartsTheKeyStream) {
  const auto key = Ports().crypto->DeriveRc4KeyFromSha1("secret");
  ASSERT_TRUE(key);
  auto first = Bytes("Attack at dawn");
  auto second = Bytes("Attack at dawn");
  ASSERT_TRUE(key->EncryptFinal(first));
  ASSERT_TRUE(key->EncryptFinal(second));
  EXPECT_EQ(Hex(first), "2d9b2474cdc16a83dcca9c247a76");
  EXPECT_EQ(Hex(second), "2d9b2474cdc16a83dcca9c247a76");
}

TEST_F(CryptoContract, Base64TextComesInLinesOf64CharactersEachEndingWithCrLf) {
  const platform::Crypto& crypto = *Ports().crypto;
  EXPECT_EQ(crypto.ToBase64Lines({}), L"");
  EXPECT_EQ(crypto.ToBase64Lines(Bytes("f")), L"Zg==\r\n");
  EXPECT_EQ(crypto.ToBase64Lines(Bytes("fo")), L"Zm8=\r\n");
  EXPECT_EQ(crypto.ToBase64Lines(Bytes("foo")), L"Zm9v\r\n");
  EXPECT_EQ(crypto.ToBase64Lines(std::vector<std::uint8_t>(48, 0xFF)), std::wstring(64, L'/') + L"\r\n");
  EXPECT_EQ(crypto.ToBase64Lines(std::vector<std::uint8_t>(49, 0xFF)), std::wstring(64, L'/') + L"\r\n/w==\r\n");
  EXPECT_EQ(crypto.ToBase64Lines(std::vector<std::uint8_t>(96, 0)),
            std::wstring(64, L'A') + L"\r\n" + std::wstring(64, L'A') + L"\r\n");
}

}  // namespace
}  // namespace setup::contracts
