#include "install/uninstall_entry_rewrite.h"

#include <optional>
#include <string>

#include "foundation/file_utilities.h"
#include "foundation/registry_key.h"
#include "install/launcher_copy.h"
#include "packages/package_cache.h"
#include "packages/package_folder_trust.h"
#include "packages/packed_product_code.h"
#include "run/log_lines.h"

namespace setup {

namespace {

constexpr std::size_t kProductIconChars = 260;

struct EntryFacts {
  std::wstring uninstallKey;
  std::uint32_t uninstallView = 0;
  std::wstring productsKey;
  std::wstring languageArgument;
  std::wstring productIcon;
  std::wstring launcher;
  std::wstring launcherCopy;
  bool oldWindows = false;
};

// Windows before 7 (6.1) shows the installer's product name in Add/Remove Programs beside the
// entry; an empty name hides that second line while the launcher owns the entry.
bool IsOlderThanWindows7(const platform::SystemInfo& system) {
  const std::optional<platform::OsVersion> version = system.QueryOsVersion();
  return version && (version->major < 6 || (version->major == 6 && version->minor == 0));
}

std::optional<EntryFacts> GatherFacts(const RunContext& run, const SetupPackage& package) {
  // Any other text would name another key, or with an empty code the Uninstall key itself.
  if (!IsBracedGuid(package.productCode)) return std::nullopt;
  EntryFacts facts;
  facts.uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + package.productCode;
  facts.uninstallView = package.is64Bit ? platform::kRegistryView64 : 0;
  facts.productsKey = L"Software\\Classes\\Installer\\Products\\" + PackedProductCode(package.productCode);
  if (run.languages.IsMultiLanguage() && run.languages.Current()) {
    facts.languageArgument = L" lang=" + std::wstring(run.languages.Current()->name);
  }
  facts.launcher = run.platform.system->ModulePath();
  if (facts.launcher.empty()) {
    run.log.WriteLog(log_lines::kNoModuleFileName);
    return std::nullopt;
  }
  facts.oldWindows = IsOlderThanWindows7(*run.platform.system);
  facts.launcherCopy = LauncherCopyPath(package, facts.launcher);
  // A product without an icon of its own shows the icon of the launcher copy that its
  // entry now starts.
  facts.productIcon = run.platform.installer->GetProductInfo(package.productCode, L"ProductIcon", kProductIconChars)
                          .value_or(facts.launcherCopy);
  if (facts.productIcon.empty()) facts.productIcon = facts.launcherCopy;
  return facts;
}

bool OpenKey(ICBSRegistryKey& key, const std::wstring& path, std::uint32_t view) {
  return key.Open(platform::RegistryRoot::LocalMachine, path, false, false, view);
}

void SetProductName(const RunContext& run, const EntryFacts& facts, std::wstring_view name) {
  ICBSRegistryKey products(*run.platform.registry);
  if (facts.oldWindows && OpenKey(products, facts.productsKey, platform::kRegistryView64)) {
    products.WriteString(L"ProductName", name);
  }
}

// Add/Remove Programs starts the launcher copy with administrator rights: its folder must be
// one that only administrators can change.
bool CopyFolderIsTrusted(const RunContext& run, const SetupPackage& package) {
  const std::wstring reason = PackageFolderDistrust(run.platform, package.packageFolder);
  if (!reason.empty()) run.log.WriteLog(log_lines::kPackageFolderNotTrusted, package.packageFolder, reason);
  return reason.empty();
}

void RedoAfterModify(const RunContext& run, const EntryFacts& facts) {
  run.log.WriteLog(log_lines::kEntryRedoAfterModify);
  if (!run.platform.files->Attributes(facts.launcherCopy)) {
    ICBSFileUtilities(run.platform).CopyFile(facts.launcher, facts.launcherCopy, false);
  }
  ICBSRegistryKey uninstall(*run.platform.registry);
  if (OpenKey(uninstall, facts.uninstallKey, facts.uninstallView)) {
    uninstall.WriteDword(L"WindowsInstaller", 0);
    uninstall.WriteString(L"ModifyPath", facts.launcherCopy + facts.languageArgument);
    uninstall.WriteString(L"UninstallString", facts.launcherCopy + L" /x" + facts.languageArgument);
    uninstall.WriteString(L"DisplayIcon", facts.productIcon);
  }
  SetProductName(run, facts, L"");
}

void PrepareRemove(const RunContext& run, const EntryFacts& facts, const SetupPackage& package) {
  run.log.WriteLog(log_lines::kEntryPrepareRemove);
  ICBSRegistryKey uninstall(*run.platform.registry);
  if (OpenKey(uninstall, facts.uninstallKey, facts.uninstallView)) {
    uninstall.WriteDword(L"WindowsInstaller", 1);
    run.log.WriteLog(log_lines::kEntryBeforeDeleteValue);
    uninstall.DeleteValue(L"DisplayIcon");
    run.log.WriteLog(log_lines::kEntryAfterDeleteValue);
  }
  ICBSRegistryKey products(*run.platform.registry);
  if (facts.oldWindows && OpenKey(products, facts.productsKey, platform::kRegistryView64)) {
    run.log.WriteLog(log_lines::kEntryBeforeWriteName);
    products.WriteString(L"ProductName", package.productName);
    run.log.WriteLog(log_lines::kEntryAfterWriteName);
  }
}

void RollBackPrepareRemove(const RunContext& run, const EntryFacts& facts) {
  run.log.WriteLog(log_lines::kEntryRollBackPrepareRemove);
  ICBSRegistryKey uninstall(*run.platform.registry);
  if (OpenKey(uninstall, facts.uninstallKey, facts.uninstallView)) {
    uninstall.WriteDword(L"WindowsInstaller", 0);
    uninstall.WriteString(L"DisplayIcon", facts.productIcon);
  }
  SetProductName(run, facts, L"");
}

}  // namespace

void RewriteUninstallEntries(const RunContext& run, UninstallEntryRewrite mode, const SetupPackage& package) {
  const std::optional<EntryFacts> facts = GatherFacts(run, package);
  if (!facts) return;
  switch (mode) {
    case UninstallEntryRewrite::Perform:
      run.log.WriteLog(log_lines::kEntryPerform);
      if (!CopyFolderIsTrusted(run, package)) break;
      ICBSFileUtilities(run.platform).CopyFile(facts->launcher, facts->launcherCopy, false);
      RedoAfterModify(run, *facts);
      break;
    case UninstallEntryRewrite::RedoAfterModify:
      if (CopyFolderIsTrusted(run, package)) RedoAfterModify(run, *facts);
      break;
    case UninstallEntryRewrite::PrepareRemove:
      PrepareRemove(run, *facts, package);
      break;
    case UninstallEntryRewrite::RollBackPrepareRemove:
      RollBackPrepareRemove(run, *facts);
      break;
  }
}

}  // namespace setup
