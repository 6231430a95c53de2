#include "install/package_sequences.h"

#include <vector>

#include "foundation/file_utilities.h"
#include "foundation/installer_property_text.h"
#include "foundation/path.h"
#include "extraction/package_unpacking.h"
#include "install/conflict_removal.h"
#include "install/current_installation_type.h"
#include "install/install_call.h"
#include "install/installer_error.h"
#include "install/uninstall_entry_rewrite.h"
#include "packages/analysis_context.h"
#include "packages/conflict_analysis.h"
#include "packages/package_installation_state.h"
#include "packages/package_queries.h"
#include "packages/product_family.h"
#include "run/log_lines.h"

namespace setup {

namespace {

// What a package that is installed again or removed again during a rollback receives.
constexpr wchar_t kRollbackExtra[] = L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";

// The remove switch flipped for the length of a rollback, so that the install call adds or
// leaves out "REMOVE=ALL ".
class FlippedRemoveSwitch {
 public:
  explicit FlippedRemoveSwitch(CSetupAppCommandLineInfo& commandLine) : commandLine_(commandLine) {
    commandLine_.ToggleUninstall();
  }
  ~FlippedRemoveSwitch() { commandLine_.ToggleUninstall(); }
  FlippedRemoveSwitch(const FlippedRemoveSwitch&) = delete;
  FlippedRemoveSwitch& operator=(const FlippedRemoveSwitch&) = delete;

 private:
  CSetupAppCommandLineInfo& commandLine_;
};

// The family registry names of the quick-install list's installations, joined by ","; an
// installation without a catalogue family contributes an empty name.
std::wstring QuickInstallFamilies(std::span<const ProductRecord> quickInstallList) {
  std::wstring names;
  for (std::size_t i = 0; i < quickInstallList.size(); ++i) {
    if (i > 0) names += L',';
    const ProductRecord& installation = quickInstallList[i];
    const ProductFamily* family = installation.HasEntry() ? FindProductFamily(installation.Entry()->family) : nullptr;
    if (family) names += family->registryName;
  }
  return names;
}

void LogFailure(const RunContext& run, std::uint32_t result) {
  run.log.WriteLog(log_lines::kInstallerFailure, static_cast<std::int32_t>(result));
}

}  // namespace

bool PackageSequences::IsInstalled(const SetupPackage& package) const {
  return IsPackageInstalled(Detection(run_), package);
}

std::uint32_t PackageSequences::Install() {
  failureRecorded_ = false;
  std::vector<SetupPackage>& packages = run_.packages.packages;
  for (std::size_t i = 0; i < packages.size(); ++i) {
    SetupPackage& package = packages[i];
    if (!package.handle) continue;
    run_.log.WriteLog(log_lines::kInstallingProduct, package.productName);
    if (IsWendrakPackage(package) && package.installedFromOtherInstaller && !RemoveConflictingInstallations(package)) {
      failureRecorded_ = true;
      return static_cast<std::uint32_t>(run_.result.kind);
    }
    const std::uint32_t result = InstallCall(run_, package, InstallExtra(package));
    if (result != 0) {
      LogFailure(run_, result);
      RollBackInstall(i);
      return result;
    }
  }
  return 0;
}

bool PackageSequences::RemoveConflictingInstallations(const SetupPackage& package) {
  const AnalysisContext context{Detection(run_), run_.packages, run_.languages};
  for (const ConflictItem& item : AnalyzeConflicts(context, package).items) {
    if (!item.replaceable || !item.installedProduct) continue;
    ProductRecord installed = *item.installedProduct;
    if (!RemoveConflictingInstallation(run_, installed)) return false;
  }
  return true;
}

void PackageSequences::RollBackInstall(std::size_t failed) {
  FlippedRemoveSwitch removing(run_.commandLine);
  for (std::size_t i = failed; i-- > 0;) {
    const SetupPackage& package = run_.packages.packages[i];
    if (!package.handle) continue;
    run_.log.WriteLog(log_lines::kRollingBackProduct, package.productName);
    InstallCall(run_, package, kRollbackExtra);
  }
}

std::wstring PackageSequences::InstallExtra(const SetupPackage& package) const {
  std::wstring extra;
  if (IsMultiPackage()) {
    extra += L"HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
    if (!package.main) {
      // Read afresh for every sub-package: the main package writes it when its user chose
      // a custom installation, and the sub-packages then show their customization dialogs.
      extra += IsCustomInstallation(*run_.platform.registry) ? L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" "
                                                              : L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" ";
    }
  }
  if (!request_.quickInstallList.empty()) {
    extra += L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" ";
    AppendQuotedProperty(extra, L"DO_QUICK_INSTALL", QuickInstallFamilies(request_.quickInstallList));
    if (request_.options) extra += request_.options->PropertyText(package.products, request_.quickInstallList);
  }
  AppendLanguage(extra);
  for (const auto* properties : {&request_.backupProperties, &request_.serviceProperties, &request_.clusterProperties}) {
    if (*properties) extra += **properties + L" ";
  }
  AppendTransforms(extra, package);
  return extra;
}

void PackageSequences::AppendLanguage(std::wstring& extra) const {
  const LanguageEntry* language = run_.languages.Current();
  if (run_.languages.IsMultiLanguage() && language) AppendQuotedProperty(extra, L"INSTALLER_LANGUAGE", language->isoCode);
}

void PackageSequences::AppendTransforms(std::wstring& extra, const SetupPackage& package) const {
  if (run_.languages.IsMultiLanguage() && run_.languages.CurrentLangId() != kLangEnglish &&
      !package.transformFile.empty()) {
    AppendQuotedProperty(extra, L"TRANSFORMS", package.transformFile);
  }
}

std::uint32_t PackageSequences::Modify() {
  failureRecorded_ = false;
  bool showAgreement = false;
  for (const SetupPackage& package : run_.packages.packages) {
    if (!package.main && package.handle && !IsInstalled(package)) showAgreement = true;
  }
  std::uint32_t firstFailure = 0;
  for (const SetupPackage& package : run_.packages.packages) {
    if (!package.handle) continue;
    run_.log.WriteLog(log_lines::kModifyingProduct, package.productName);
    const std::uint32_t result = InstallCall(run_, package, ModifyExtra(package, showAgreement));
    if (result == 0) continue;
    LogFailure(run_, result);
    if (result == kInstallerUserCancelled) return result;
    if (firstFailure == 0) firstFailure = result;
  }
  return firstFailure;
}

std::wstring PackageSequences::ModifyExtra(const SetupPackage& package, bool showAgreement) const {
  std::wstring extra;
  if (IsMultiPackage()) {
    extra += L"HAS_SUB_PACKAGES=\"Yes\" ";
    extra += package.main ? L"UI_HIDE_FINISH_DLG=\"Yes\" " : L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" ";
    // A sub-package being added brings its end-user agreement with it.
    if (showAgreement) extra += L"UI_SHOW_LICENSE_AGREEMENT_DLG=\"Yes\" ";
  }
  AppendLanguage(extra);
  for (const auto* properties : {&request_.serviceProperties, &request_.clusterProperties}) {
    if (*properties) extra += **properties + L" ";
  }
  AppendTransforms(extra, package);
  return extra;
}

std::uint32_t PackageSequences::Repair() {
  failureRecorded_ = false;
  platform::Installer& installer = *run_.platform.installer;
  std::uint32_t firstFailure = 0;
  for (const SetupPackage& package : run_.packages.packages) {
    if (!package.handle) continue;
    run_.log.WriteLog(log_lines::kReinstallingProduct, package.productName);
    installer.SetInternalUi(run_.commandLine.UiLevel().Value());
    run_.log.Suspend();
    std::uint32_t result = kInstallerFatalError;
    if (!package.productCode.empty()) {
      result = installer.ReinstallProduct(package.productCode, run_.commandLine.ReinstallMode());
    }
    run_.log.Resume();
    result = IgnoreRestartSuccess(run_, result);
    if (result == 0) continue;
    LogFailure(run_, result);
    if (firstFailure == 0) firstFailure = result;
  }
  return firstFailure;
}

std::uint32_t PackageSequences::Remove() {
  failureRecorded_ = false;
  const SetupPackage* main = run_.packages.Main();
  if (main && main->handle && !IsInstalled(*main)) return kInstallerFatalError;
  std::vector<SetupPackage>& packages = run_.packages.packages;
  for (std::size_t i = packages.size(); i-- > 0;) {
    const SetupPackage& package = packages[i];
    if (!package.handle || !IsInstalled(package)) continue;
    if (!package.main) RewriteUninstallEntries(run_, UninstallEntryRewrite::PrepareRemove, package);
    run_.log.WriteLog(log_lines::kUninstallingProduct, package.productName);
    const wchar_t* extra =
        IsMultiPackage() ? L"HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" " : L"";
    const std::uint32_t result = InstallCall(run_, package, extra);
    if (result != 0) {
      LogFailure(run_, result);
      ReinstallRemoved(i);
      return result;
    }
  }
  return 0;
}

void PackageSequences::ReinstallRemoved(std::size_t failed) {
  FlippedRemoveSwitch installing(run_.commandLine);
  std::vector<SetupPackage>& packages = run_.packages.packages;
  for (std::size_t i = failed + 1; i < packages.size(); ++i) {
    SetupPackage& package = packages[i];
    if (!package.handle || IsInstalled(package)) continue;
    run_.log.WriteLog(log_lines::kRollingBackProduct, package.productName);
    // The removal may have taken the unpacked file with it: the package is unpacked afresh.
    UnpackPackageAgain(run_, package);
    InstallCall(run_, package, kRollbackExtra);
  }
}

std::uint32_t PackageSequences::Extract() {
  failureRecorded_ = false;
  for (const SetupPackage& package : run_.packages.packages) {
    if (!package.handle) continue;
    run_.log.WriteLog(log_lines::kExtractingProduct, package.productName);
    // A bare file name is a path in the current folder.
    ICBSFileUtilities(run_.platform).CopyFile(package.packageFile, ICBSFilePath(package.packageFile).FileName(), false);
  }
  return 0;
}

}  // namespace setup
