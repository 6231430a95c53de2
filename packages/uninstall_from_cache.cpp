#include "packages/uninstall_from_cache.h"

#include "foundation/path.h"
#include "foundation/registry_key.h"
#include "packages/held_package.h"
#include "packages/msi_products.h"
#include "packages/package_cache.h"
#include "run/setup_log.h"

namespace setup {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The launcher rewrites the entries of the products it installs so that maintenance comes
// back through the launcher; a removal through Windows Installer needs the original entry.
void RestoreInstallerUninstallEntry(platform::Registry& registry, const ProductRecord& installed) {
  ICBSRegistryKey entry(registry);
  if (!entry.Open(platform::RegistryRoot::LocalMachine, kUninstallKey + installed.MsiProductCode(), false, false,
                  installed.Is64Bit() ? platform::kRegistryView64 : 0)) {
    return;
  }
  entry.WriteDword(L"WindowsInstaller", 1);
  entry.DeleteValue(L"DisplayIcon");
}

}  // namespace

SetupResult UninstallFromCache(platform::Platform& platform, SetupLog& log, ProductRecord& installed,
                               UiLevel uiLevel) {
  constexpr SetupResult kNoMsiFile{kResultNoMsiForUninstall, 0, false};
  platform::Installer& installer = *platform.installer;
  const std::wstring& productCode = FindMsiProductCode(installer, installed);
  if (productCode.empty()) return kNoMsiFile;
  const auto source = ReadMsiProductProperty(installer, productCode, kMsiInstallSource);
  if (!source) return kNoMsiFile;
  const std::wstring msiFile = CachedMsiFile(platform, ICBSFolderPath(*source).String());
  if (msiFile.empty()) return kNoMsiFile;
  // Removed with administrator rights: only the package that installed the product, and
  // nothing swapped in for it during the call.
  const auto packageCode = ReadMsiProductProperty(installer, productCode, kMsiPackageCode);
  if (!packageCode) return kNoMsiFile;
  const HeldPackage held = HoldPackageFile(platform, log, msiFile, *packageCode);
  if (held.refusal != HeldPackage::Refusal::None) return kNoMsiFile;

  RestoreInstallerUninstallEntry(*platform.registry, installed);
  log.Suspend();
  installer.SetInternalUi(uiLevel.Value());
  const std::uint32_t result = installer.InstallProduct(msiFile, L"REMOVE=ALL ");
  log.Resume();
  if (platform::IsInstallerSuccess(result)) return SetupResult{};
  return SetupResult{kResultInstallFailed, result, false};
}

}  // namespace setup
