#include "foundation/property_encryption.h"

#include <vector>

#include "foundation/text.h"

namespace setup {

platform::CipherKey* PropertyEncryption::GetPropertyKey() {
  if (!key_) key_ = crypto_.DeriveRc4KeyFromSha1(kPropertyPassPhrase);
  return key_.get();
}

std::wstring PropertyEncryption::EncryptPropertyValue(std::wstring_view value) {
  platform::CipherKey* key = GetPropertyKey();
  if (!key) return std::wstring(value);
  const std::string units = ToUtf16LeBytes(value);
  std::vector<std::uint8_t> bytes(units.begin(), units.end());
  if (!key->EncryptFinal(bytes)) return {};
  return crypto_.ToBase64Lines(bytes).value_or(std::wstring());
}

}  // namespace setup
