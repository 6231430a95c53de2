// Port: Windows Installer.
#pragma once

#include <cstdint>
#include <string_view>

namespace setup::platform {

// Installer log attribute: append to an existing log file.
inline constexpr std::uint32_t kInstallLogAppend = 0x1;

class Installer {
 public:
  virtual ~Installer() = default;
  // Makes the installer write its own log of the following calls into `path`.
  virtual std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) = 0;
};

}  // namespace setup::platform
