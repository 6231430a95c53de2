// Prints the encrypted property value of a fixed set of passwords, one line each as
// "encrypt.<n>=<hex of the UTF-16LE text>". Built for Windows (CryptoAPI) and for the host (own
// SHA-1, RC4 and Base64); the Wine test compares the two outputs byte for byte.
#include <cstdio>
#include <memory>
#include <string>

#include "foundation/property_encryption.h"
#include "foundation/text.h"

#ifdef _WIN32
#include "platform/win32/win32_ports.h"
#else
#include "platform/host/host_crypto.h"
#endif

namespace {

std::unique_ptr<setup::platform::Crypto> PlatformCrypto() {
#ifdef _WIN32
  return setup::platform::win32::CreateCrypto();
#else
  return std::make_unique<setup::platform::host::HostCrypto>();
#endif
}

// Empty, short, exactly one Base64 line (24 characters = 48 bytes), just over one and two lines
// (25 and 49 characters: a last line of only the final partial group), long, and non-ASCII
// text including a character beyond the basic plane.
const wchar_t* const kPasswords[] = {
    L"",
    L"a",
    L"secret",
    L"Passw0rd!Passw0rd!Passw0",
    L"Passw0rd!Passw0rd!Passw0r",
    L"correct horse battery staple, correct horse battery staple, correct horse battery staple!",
    L"forty-nine characters make ninety-eight bytes ...",
    L"Gr\u00FC\u00DFe-\u65E5\u672C-\U0001F600",
};

}  // namespace

int main() {
  const auto crypto = PlatformCrypto();
  setup::PropertyEncryption encryption(*crypto);
  int index = 0;
  for (const wchar_t* password : kPasswords) {
    const std::string bytes = setup::ToUtf16LeBytes(encryption.EncryptPropertyValue(password));
    std::printf("encrypt.%d=", index++);
    for (const char byte : bytes) std::printf("%02x", static_cast<unsigned char>(byte));
    std::printf("\n");
  }
  return 0;
}
