#include "platform/win32/win32_crypto.h"

#include <windows.h>
#include <wincrypt.h>

#include <vector>

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
  if (!provider && !CryptAcquireContextW(&provider, nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    provider = 0;
  }
  return provider;
}

class Win32Rc4Key final : public CipherKey {
 public:
  explicit Win32Rc4Key(HCRYPTKEY key) : key_(key) {}
  ~Win32Rc4Key() override { CryptDestroyKey(key_); }
  Win32Rc4Key(const Win32Rc4Key&) = delete;
  Win32Rc4Key& operator=(const Win32Rc4Key&) = delete;

  bool EncryptFinal(std::span<std::uint8_t> bytes) override {
    DWORD length = static_cast<DWORD>(bytes.size());
    // CryptEncrypt wants a buffer even for no data.
    std::uint8_t empty = 0;
    BYTE* data = bytes.empty() ? &empty : bytes.data();
    return CryptEncrypt(key_, 0, TRUE, 0, data, &length, length) && length == bytes.size();
  }

 private:
  HCRYPTKEY key_;
};

}  // namespace

std::unique_ptr<CipherKey> Win32Crypto::DeriveRc4KeyFromSha1(std::string_view secret) {
  const HCRYPTPROV provider = Provider();
  if (!provider) return nullptr;
  HCRYPTHASH hash = 0;
  if (!CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash)) return nullptr;
  HCRYPTKEY key = 0;
  const bool derived =
      CryptHashData(hash, reinterpret_cast<const BYTE*>(secret.data()), static_cast<DWORD>(secret.size()), 0) &&
      CryptDeriveKey(provider, CALG_RC4, hash, CRYPT_EXPORTABLE | CRYPT_CREATE_SALT, &key);
  CryptDestroyHash(hash);
  if (!derived) return nullptr;
  return std::make_unique<Win32Rc4Key>(key);
}

std::optional<std::wstring> Win32Crypto::ToBase64Lines(std::span<const std::uint8_t> bytes) const {
  if (bytes.empty()) return std::wstring();
  DWORD count = 0;
  if (!CryptBinaryToStringW(bytes.data(), static_cast<DWORD>(bytes.size()), CRYPT_STRING_BASE64, nullptr, &count)) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(count + 1, L'\0');
  if (!CryptBinaryToStringW(bytes.data(), static_cast<DWORD>(bytes.size()), CRYPT_STRING_BASE64, text.data(), &count)) {
    return std::nullopt;
  }
  return std::wstring(text.data());
}

}  // namespace setup::platform::win32
