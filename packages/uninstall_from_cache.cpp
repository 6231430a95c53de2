#include "packages/uninstall_from_cache.h"

#include "foundation/path.h"
#include "foundation/registry_key.h"
#include "launcher/setup_app.h"
#include "packages/msi_products.h"
#include "packages/package_cache.h"
#include "resources/resource_ids.h"

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
                               std::int32_t uiLevel) {
  constexpr SetupResult kNoMsiFile{kResultNoMsiForUninstall, 0, false};
  platform::Installer& installer = *platform.installer;
  const std::wstring& productCode = FindMsiProductCode(installer, installed);
  if (productCode.empty()) return kNoMsiFile;
  const auto source = ReadMsiProductProperty(installer, productCode, kMsiInstallSource);
  if (!source) return kNoMsiFile;
  const std::wstring msiFile = CachedMsiFile(platform, ICBSFolderPath(*source).String());
  if (msiFile.empty()) return kNoMsiFile;

  RestoreInstallerUninstallEntry(*platform.registry, installed);
  log.Suspend();
  installer.SetInternalUi(uiLevel);
  const std::uint32_t result = installer.InstallProduct(msiFile, L"REMOVE=ALL ");
  log.Resume();
  if (platform::IsInstallerSuccess(result)) return SetupResult{};
  return SetupResult{kResultInstallFailed, result, false};
}

bool RemoveConflictingInstallation(CSetupApp& app, ProductRecord& installed) {
  SetupLog& log = app.Log();
  const std::wstring displayName = installed.DisplayName();
  log.WriteLog(L"SIC - Automatic uninstallation of product %s.\r\n", kLogInfo, displayName);
  // A silent launcher (with or without its finish message box) removes silently too.
  const bool silent = (app.CommandLine().UiLevel() & ~kUiLevelEndDialog) == kUiLevelNone;
  const std::int32_t uiLevel = silent ? kUiLevelNone : kUiLevelBasic;
  const SetupResult removal = UninstallFromCache(app.Platform(), log, installed, uiLevel);
  if (removal.kind == kResultSuccess) return true;
  if (removal.kind == kResultNoMsiForUninstall) {
    app.ShowMessageBox(app.Languages().FormatText(IDS_MSG_REMOVAL_RESOURCES_MISSING, displayName),
                       platform::MessageBoxIcon::None);
  }
  app.Result() = removal;
  log.WriteLog(L"SIC - Uninstall failed - (%d) %s\r\n", kLogInfo, removal.kind,
               DescribeResult(removal, *app.Platform().system));
  return false;
}

}  // namespace setup
