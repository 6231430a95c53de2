// A registry key opened below one of the predefined roots, in the default (32-bit) or the
// 64-bit view, with its values and subkeys.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace setup {

class ICBSRegistryKey {
 public:
  explicit ICBSRegistryKey(platform::Registry& registry) : registry_(&registry) {}

  // Opens root\path for reading (KEY_READ) or with full access (KEY_ALL_ACCESS) in the view
  // of `viewFlags` (0 or platform::kRegistryView64); with `create` a missing key is created.
  bool Open(platform::RegistryRoot root, std::wstring_view path, bool readOnly, bool create, std::uint32_t viewFlags);
  // The same for a full path such as "HKEY_LOCAL_MACHINE\Software\Tarquel": the text before
  // the first backslash must be "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER" or "HKEY_CLASSES_ROOT".
  bool Open(std::wstring_view fullPath, bool readOnly, bool create, std::uint32_t viewFlags);
  bool IsOpen() const { return key_ != nullptr; }
  void Close() { key_.reset(); }

  // The path below the root, and with the root's name in front.
  const std::wstring& KeyPath() const { return path_; }
  std::wstring FullPath() const;
  std::uint32_t ViewFlags() const { return viewFlags_; }

  // The text of a string or expandable-string value (not expanded), up to its first NUL;
  // empty for a missing value or another type.
  std::wstring ReadString(std::wstring_view name) const;
  // The value of a DWORD value, else 0.
  std::uint32_t ReadDword(std::wstring_view name) const;
  // A REG_SZ value including its terminating NUL.
  bool WriteString(std::wstring_view name, std::wstring_view text);
  bool WriteDword(std::wstring_view name, std::uint32_t value);
  bool DeleteValue(std::wstring_view name);
  // Deletes the subkey with everything below it, depth first; false when any part remains.
  bool DeleteSubkeyTree(std::wstring_view name);
  // Every subkey in index order, opened with this key's access and view.
  std::vector<ICBSRegistryKey> EnumerateSubkeys() const;

 private:
  std::optional<platform::RegistryValue> Query(std::wstring_view name) const;
  std::wstring ChildPath(std::wstring_view name) const;

  platform::Registry* registry_;
  std::unique_ptr<platform::RegistryKey> key_;
  platform::RegistryRoot root_ = platform::RegistryRoot::LocalMachine;
  std::wstring path_;
  bool readOnly_ = true;
  std::uint32_t viewFlags_ = 0;
};

}  // namespace setup
