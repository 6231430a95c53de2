#include "platform/host/host_crypto.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/base64.h"
#include "platform/host/rc4.h"
#include "platform/host/sha1.h"

namespace setup::platform::host {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(HostCrypto, Sha1KnownDigests) {
  EXPECT_EQ(Hex(Sha1("")), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(Hex(Sha1("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
  // Two blocks: the padding does not fit behind 56 bytes of message.
  EXPECT_EQ(Hex(Sha1("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Hex(Sha1(std::string(1'000'000, 'a'))), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(HostCrypto, Rc4KnownStreams) {
  auto plain = Bytes("Plaintext");
  Rc4Apply(Bytes("Key"), plain);
  EXPECT_EQ(Hex(plain), "bbf316e8d940af0ad3");
  auto attack = Bytes("Attack at dawn");
  Rc4Apply(Bytes("Secret"), attack);
  EXPECT_EQ(Hex(attack), "45a01f645fc35b383552544b9bf5");
}

TEST(HostCrypto, Base64InLinesOf64WithCrLfAfterEveryLine) {
  EXPECT_EQ(Base64Lines({}), L"");
  EXPECT_EQ(Base64Lines(Bytes("f")), L"Zg==\r\n");
  EXPECT_EQ(Base64Lines(Bytes("fo")), L"Zm8=\r\n");
  EXPECT_EQ(Base64Lines(Bytes("foo")), L"Zm9v\r\n");
  const std::wstring fortyEight = Base64Lines(std::vector<std::uint8_t>(48, 0xFF));
  EXPECT_EQ(fortyEight, std::wstring(64, L'/') + L"\r\n");
  const std::wstring fortyNine = Base64Lines(std::vector<std::uint8_t>(49, 0xFF));
  EXPECT_EQ(fortyNine, std::wstring(64, L'/') + L"\r\n/w==\r\n");
}

TEST(HostCrypto, KeyRestartsItsStreamForEveryFinalBlock) {
  HostCrypto crypto;
  const auto key = crypto.DeriveRc4KeyFromSha1("pass phrase");
  ASSERT_TRUE(key);
  auto first = Bytes("same bytes");
  auto second = Bytes("same bytes");
  ASSERT_TRUE(key->EncryptFinal(first));
  ASSERT_TRUE(key->EncryptFinal(second));
  EXPECT_EQ(first, second);
  EXPECT_NE(first, Bytes("same bytes"));
}

}  // namespace
}  // namespace setup::platform::host
