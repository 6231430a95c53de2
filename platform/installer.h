// Port: Windows Installer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup::platform {

// Installer log attribute: append to an existing log file.
inline constexpr std::uint32_t kInstallLogAppend = 0x1;

// User-interface levels of Windows Installer (INSTALLUILEVEL), and the flag that adds the
// small completion box at the end.
inline constexpr std::int32_t kInstallUiLevelNone = 2;
inline constexpr std::int32_t kInstallUiLevelBasic = 3;
inline constexpr std::int32_t kInstallUiLevelReduced = 4;
inline constexpr std::int32_t kInstallUiLevelFull = 5;
inline constexpr std::int32_t kInstallUiLevelEndDialog = 0x80;

// Installer result codes the launcher tells apart (Windows error numbers).
inline constexpr std::uint32_t kInstallerSuccess = 0;
inline constexpr std::uint32_t kInstallerNoMoreItems = 259;
inline constexpr std::uint32_t kInstallerMoreData = 234;
inline constexpr std::uint32_t kInstallerUnknownProduct = 1605;
inline constexpr std::uint32_t kInstallerUnknownProperty = 1608;
inline constexpr std::uint32_t kInstallerPackageOpenFailed = 1619;
inline constexpr std::uint32_t kInstallerRebootInitiated = 1641;
inline constexpr std::uint32_t kInstallerRebootRequired = 3010;
inline constexpr std::uint32_t kInstallerRestartRequired = 3011;

// Results after which the product has been changed: plain success, and success that needs or
// has started a restart.
inline constexpr bool IsInstallerSuccess(std::uint32_t result) {
  return result == kInstallerSuccess || result == kInstallerRebootInitiated || result == kInstallerRebootRequired ||
         result == kInstallerRestartRequired;
}

// Message types of the installer (the high byte of a message's type; the low 24 bits of a user
// message are the style of its message box) and the filter that routes fatal exits, errors,
// warnings and user messages (bit n: message type n) to a handler of the launcher.
inline constexpr std::uint32_t kInstallMessageTypeMask = 0xFF000000;
inline constexpr std::uint32_t kInstallMessageUser = 0x03000000;
inline constexpr std::uint32_t kInstallMessageStyleMask = 0x00FFFFFF;
inline constexpr std::uint32_t kInstallMessageFilterLauncher = 15;

// Characters of a product code in braces, without the terminating zero.
inline constexpr std::size_t kProductCodeLength = 38;

// Answers the installer's messages while a call runs; 0 lets the installer handle the message
// itself.
class InstallerMessageHandler {
 public:
  virtual ~InstallerMessageHandler() = default;
  virtual int HandleMessage(std::uint32_t messageType, std::wstring_view text) = 0;
};

class Installer {
 public:
  virtual ~Installer() = default;
  // Makes the installer write its own log of the following calls into `path`.
  virtual std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) = 0;
  // Sets the user-interface level of the following calls (no owner window); returns the
  // previous level.
  virtual std::int32_t SetInternalUi(std::int32_t uiLevel) = 0;
  // Routes the messages of the kinds in `filter` to `handler` during the following calls, or,
  // given back the handler an earlier call returned (with filter 0), restores it; returns the
  // handler that was in place (nullptr: the installer's own handling).
  virtual InstallerMessageHandler* SetExternalUi(InstallerMessageHandler* handler, std::uint32_t filter) = 0;
  // Installs, changes or removes the product of the package file as the property string
  // ("NAME=VALUE " items) says; 0 or an installer result code.
  virtual std::uint32_t InstallProduct(std::wstring_view packagePath, std::wstring_view properties) = 0;
  // Reinstalls an installed product with the reinstall-mode bits; 0 or a result code.
  virtual std::uint32_t ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) = 0;
  // The product code of the installed product at `index` (from 0); empty past the last one or
  // when the enumeration fails.
  virtual std::optional<std::wstring> EnumProducts(std::uint32_t index) = 0;
  // A property of an installed product, read through a buffer of `bufferChars` characters
  // (terminating zero included); empty when the product, the property or the buffer fails.
  virtual std::optional<std::wstring> GetProductInfo(std::wstring_view productCode, std::wstring_view property,
                                                     std::size_t bufferChars) = 0;
};

}  // namespace setup::platform
