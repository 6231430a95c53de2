// Windows Installer (msi.dll).
#include <windows.h>

#include <msi.h>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32Installer : public Installer {
 public:
  std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) override {
    const std::wstring logPath(path);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiEnableLogW);
    return MsiEnableLogWPtr ? MsiEnableLogWPtr(logMode, logPath.c_str(), attributes) : ERROR_MOD_NOT_FOUND;
  }
};

}  // namespace

std::unique_ptr<Installer> CreateInstaller() { return std::make_unique<Win32Installer>(); }

}  // namespace setup::platform::win32
