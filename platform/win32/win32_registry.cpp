// The registry. The launcher is a 32-bit program: its default view is the 32-bit one, which
// the 64-bit build must ask for explicitly (KEY_WOW64_32KEY).
#include <windows.h>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

REGSAM ViewFlags(std::uint32_t viewFlags) {
  if (viewFlags & kRegistryView64) return KEY_WOW64_64KEY;
  return KEY_WOW64_32KEY;
}

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
  }
  return HKEY_LOCAL_MACHINE;
}

class Win32RegistryKey : public RegistryKey {
 public:
  Win32RegistryKey(HKEY key, REGSAM view) : key_(key), view_(view) {}
  ~Win32RegistryKey() override { ADVAPI32(RegCloseKey)(key_); }
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

  std::optional<RegistryValue> QueryValue(std::wstring_view name) const override {
    const std::wstring valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (ADVAPI32(RegQueryValueExW)(key_, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    RegistryValue value{type, std::string(size, '\0')};
    if (ADVAPI32(RegQueryValueExW)(key_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data.data()),
                                   &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    value.data.resize(size);
    return value;
  }

  bool SetValue(std::wstring_view name, const RegistryValue& value) override {
    return ADVAPI32(RegSetValueExW)(key_, std::wstring(name).c_str(), 0, value.type,
                                    reinterpret_cast<const BYTE*>(value.data.data()),
                                    static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  }

  bool DeleteValue(std::wstring_view name) override {
    return ADVAPI32(RegDeleteValueW)(key_, std::wstring(name).c_str()) == ERROR_SUCCESS;
  }

  std::optional<std::wstring> SubkeyName(std::uint32_t index) const override {
    wchar_t name[257];
    DWORD length = 257;
    if (ADVAPI32(RegEnumKeyExW)(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return std::nullopt;
    return std::wstring(name, length);
  }

  bool DeleteSubkey(std::wstring_view name) override {
    return ADVAPI32(RegDeleteKeyExW)(key_, std::wstring(name).c_str(), view_, 0) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
  REGSAM view_;
};

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::wstring_view path, RegistryAccess access, bool create,
                                    std::uint32_t viewFlags) override {
    const std::wstring subkey(path);
    const REGSAM view = ViewFlags(viewFlags);
    const REGSAM rights = (access == RegistryAccess::All ? KEY_ALL_ACCESS : KEY_READ) | view;
    HKEY key = nullptr;
    const LONG result = create ? ADVAPI32(RegCreateKeyExW)(RootKey(root), subkey.c_str(), 0, nullptr,
                                                           REG_OPTION_NON_VOLATILE, rights, nullptr, &key, nullptr)
                               : ADVAPI32(RegOpenKeyExW)(RootKey(root), subkey.c_str(), 0, rights, &key);
    if (result != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32RegistryKey>(key, view);
  }
};

}  // namespace

std::unique_ptr<Registry> CreateRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace setup::platform::win32
