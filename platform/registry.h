// Port: the registry, with its 32-bit and 64-bit views.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace setup::platform {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot };

// View flags with the values of KEY_WOW64_64KEY and KEY_WOW64_32KEY. No flag means the
// default view of the launcher, a 32-bit process: the 32-bit view.
inline constexpr std::uint32_t kRegistryView64 = 0x0100;
inline constexpr std::uint32_t kRegistryView32 = 0x0200;

// Value types with their registry numbers.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

struct RegistryValue {
  std::uint32_t type = 0;
  std::string data;  // raw bytes; strings are UTF-16LE as stored
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual std::optional<RegistryValue> QueryValue(std::wstring_view name) const = 0;
  virtual bool SetValue(std::wstring_view name, const RegistryValue& value) = 0;
  virtual bool DeleteValue(std::wstring_view name) = 0;
  // Name of the subkey at `index`; empty optional past the last one.
  virtual std::optional<std::wstring> SubkeyName(std::uint32_t index) const = 0;
  // Deletes a subkey that has no subkeys of its own.
  virtual bool DeleteSubkey(std::wstring_view name) = 0;
};

enum class RegistryAccess { Read, All };

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens (with `create`, creates) root\path in the given view; empty when that fails.
  virtual std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::wstring_view path, RegistryAccess access,
                                            bool create, std::uint32_t viewFlags) = 0;
};

}  // namespace setup::platform
