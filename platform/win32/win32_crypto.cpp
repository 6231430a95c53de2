// The cryptographic provider: the CryptoAPI base provider.
#include <windows.h>
#include <wincrypt.h>

#include <vector>

#include "foundation/base64_lines.h"

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

// The provider context is acquired once and kept for the rest of the process.
//
// It is acquired with CRYPT_VERIFYCONTEXT: the launcher needs no key container (it derives a
// session key from a hash), and a profile without a default container (a fresh user or
// service profile on Windows, every fresh prefix under Wine) makes the acquisition with flags
// 0 fail with NTE_BAD_KEYSET, after which the password would be handed over in plain text.
HCRYPTPROV Provider() {
  static HCRYPTPROV provider = 0;
  if (!provider &&
      !ADVAPI32(CryptAcquireContextW)(&provider, nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    provider = 0;
  }
  return provider;
}

class Win32Rc4Key final : public CipherKey {
 public:
  explicit Win32Rc4Key(HCRYPTKEY key) : key_(key) {}
  ~Win32Rc4Key() override { ADVAPI32(CryptDestroyKey)(key_); }
  Win32Rc4Key(const Win32Rc4Key&) = delete;
  Win32Rc4Key& operator=(const Win32Rc4Key&) = delete;

  bool EncryptFinal(std::span<std::uint8_t> bytes) override {
    DWORD length = static_cast<DWORD>(bytes.size());
    // CryptEncrypt wants a buffer even for no data.
    std::uint8_t empty = 0;
    BYTE* data = bytes.empty() ? &empty : bytes.data();
    return ADVAPI32(CryptEncrypt)(key_, 0, TRUE, 0, data, &length, length) && length == bytes.size();
  }

 private:
  HCRYPTKEY key_;
};

class Win32Crypto final : public Crypto {
 public:
  std::unique_ptr<CipherKey> DeriveRc4KeyFromSha1(std::string_view secret) override;
  std::optional<std::wstring> ToBase64Lines(std::span<const std::uint8_t> bytes) const override;
};

std::unique_ptr<CipherKey> Win32Crypto::DeriveRc4KeyFromSha1(std::string_view secret) {
  const HCRYPTPROV provider = Provider();
  if (!provider) return nullptr;
  HCRYPTHASH hash = 0;
  if (!ADVAPI32(CryptCreateHash)(provider, CALG_SHA1, 0, 0, &hash)) return nullptr;
  HCRYPTKEY key = 0;
  const bool derived = ADVAPI32(CryptHashData)(hash, reinterpret_cast<const BYTE*>(secret.data()),
                                               static_cast<DWORD>(secret.size()), 0) &&
                       ADVAPI32(CryptDeriveKey)(provider, CALG_RC4, hash, CRYPT_EXPORTABLE | CRYPT_CREATE_SALT, &key);
  ADVAPI32(CryptDestroyHash)(hash);
  if (!derived) return nullptr;
  return std::make_unique<Win32Rc4Key>(key);
}

std::optional<std::wstring> Win32Crypto::ToBase64Lines(std::span<const std::uint8_t> bytes) const {
  if (bytes.empty()) return std::wstring();
  // crypt32 pulls in the windowing system; it is loaded only when a password is converted.
  SETUP_SYSTEM_FUNCTION(L"crypt32.dll", CryptBinaryToStringW);
  if (!CryptBinaryToStringWPtr) return std::nullopt;
  DWORD count = 0;
  if (!CryptBinaryToStringWPtr(bytes.data(), static_cast<DWORD>(bytes.size()), CRYPT_STRING_BASE64, nullptr, &count)) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(count + 1, L'\0');
  if (!CryptBinaryToStringWPtr(bytes.data(), static_cast<DWORD>(bytes.size()), CRYPT_STRING_BASE64, text.data(), &count)) {
    return std::nullopt;
  }
  // Wine's conversion leaves out the line break before a last line that holds only the final
  // partial group of an input of 48n+1 or 48n+2 bytes ("...<64 characters>Qok=\r\n"), where
  // Windows breaks the line as everywhere else. Laying the lines out anew gives the Windows
  // text on both.
  return LayOutBase64Lines(text.data());
}

}  // namespace

std::unique_ptr<Crypto> CreateCrypto() { return std::make_unique<Win32Crypto>(); }

}  // namespace setup::platform::win32
