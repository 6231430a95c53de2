// Windows Installer (msi.dll), loaded on first use.
#include <windows.h>

#include <msi.h>

#include <vector>

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

  std::int32_t SetInternalUi(std::int32_t uiLevel) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiSetInternalUI);
    if (!MsiSetInternalUIPtr) return INSTALLUILEVEL_NOCHANGE;
    return MsiSetInternalUIPtr(static_cast<INSTALLUILEVEL>(uiLevel), nullptr);
  }

  std::uint32_t InstallProduct(std::wstring_view packagePath, std::wstring_view properties) override {
    const std::wstring path(packagePath);
    const std::wstring commandLine(properties);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiInstallProductW);
    return MsiInstallProductWPtr ? MsiInstallProductWPtr(path.c_str(), commandLine.c_str()) : ERROR_MOD_NOT_FOUND;
  }

  std::uint32_t ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) override {
    const std::wstring code(productCode);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiReinstallProductW);
    return MsiReinstallProductWPtr ? MsiReinstallProductWPtr(code.c_str(), reinstallMode) : ERROR_MOD_NOT_FOUND;
  }

  std::optional<std::wstring> EnumProducts(std::uint32_t index) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiEnumProductsW);
    wchar_t code[kProductCodeLength + 1] = {};
    if (!MsiEnumProductsWPtr || MsiEnumProductsWPtr(index, code) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(code);
  }

  std::optional<std::wstring> GetProductInfo(std::wstring_view productCode, std::wstring_view property,
                                             std::size_t bufferChars) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiGetProductInfoW);
    if (!MsiGetProductInfoWPtr || bufferChars == 0) return std::nullopt;
    const std::wstring code(productCode);
    const std::wstring name(property);
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    DWORD length = static_cast<DWORD>(bufferChars);
    if (MsiGetProductInfoWPtr(code.c_str(), name.c_str(), buffer.data(), &length) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(buffer.data(), length);
  }
};

}  // namespace

std::unique_ptr<Installer> CreateInstaller() { return std::make_unique<Win32Installer>(); }

}  // namespace setup::platform::win32
