// Host stand-in of the registry port: an in-memory registry with a 32-bit and a 64-bit view.
// As on 64-bit Windows, only HKEY_LOCAL_MACHINE\Software differs between the views.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/registry.h"

namespace setup::platform::host {

class HostRegistry : public Registry {
 public:
  struct StoredValue {
    std::wstring name;  // as written
    RegistryValue value;
  };
  struct StoredKey {
    std::wstring name;                           // the last path component, as created
    std::map<std::wstring, StoredValue> values;  // by lower-cased name
  };
  // Keys by (view, root, lower-cased path without trailing backslash).
  using KeyId = std::tuple<int, RegistryRoot, std::wstring>;

  std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::wstring_view path, RegistryAccess access, bool create,
                                    std::uint32_t viewFlags) override;

  // Test conveniences that write through the same store.
  void SetString(RegistryRoot root, std::wstring_view path, std::wstring_view name, std::wstring_view text,
                 std::uint32_t viewFlags = 0);
  void SetDword(RegistryRoot root, std::wstring_view path, std::wstring_view name, std::uint32_t value,
                std::uint32_t viewFlags = 0);
  bool KeyExists(RegistryRoot root, std::wstring_view path, std::uint32_t viewFlags = 0) const;

  KeyId Id(RegistryRoot root, std::wstring_view path, std::uint32_t viewFlags) const;
  std::map<KeyId, StoredKey> keys;
};

}  // namespace setup::platform::host
