#include "install/non_msi_installer.h"

#include "foundation/text.h"
#include "install/non_msi_package_registration.h"
#include "packages/non_msi_registration.h"
#include "run/log_lines.h"

namespace setup {

namespace {

SetupResult Succeeded() { return SetupResult{}; }
SetupResult Failed(std::int32_t kind) { return SetupResult{kind, 0, false}; }
bool IsSuccess(const SetupResult& result) { return result.kind == kResultSuccess; }

// The remove switch of the command line is on while a rollback runs, and as before afterwards.
class RemoveSwitchOn {
 public:
  explicit RemoveSwitchOn(CSetupAppCommandLineInfo& commandLine)
      : commandLine_(commandLine), toggled_(!commandLine.IsUninstall()) {
    if (toggled_) commandLine_.ToggleUninstall();
  }
  ~RemoveSwitchOn() {
    if (toggled_) commandLine_.ToggleUninstall();
  }
  RemoveSwitchOn(const RemoveSwitchOn&) = delete;
  RemoveSwitchOn& operator=(const RemoveSwitchOn&) = delete;

 private:
  CSetupAppCommandLineInfo& commandLine_;
  bool toggled_;
};

}  // namespace

bool NonMSIInstaller::IsRegistered(const SetupPackage& package) const {
  return IsNonMsiPackageRegistered(*run_.platform.registry, package.productCode, package.is64Bit);
}

SetupResult NonMSIInstaller::InstallOne(SetupPackage& package, SetupReportAsyncProgressIF& progress) {
  if (IsRegistered(package)) return Failed(kResultAlreadyInstalled);
  if (!CreateNonMsiRegistrationKey(run_, package)) return Failed(kResultRegistrationKeyNotCreated);
  const SetupResult installed = InstallPackage(package, progress);
  if (!IsSuccess(installed)) {
    run_.log.WriteLog(log_lines::kNonMsiInstallFailed, EscapeControlCharacters(package.productName));
    // The key alone would make the package count as installed on the next run.
    DeleteNonMsiRegistration(run_, package);
    return installed;
  }
  if (!WriteNonMsiRegistration(run_, package)) {
    run_.log.WriteLog(log_lines::kNonMsiRegisterFailed, EscapeControlCharacters(package.productName));
    return Failed(kResultInstallFailed);
  }
  run_.log.WriteLog(log_lines::kNonMsiInstalled, EscapeControlCharacters(package.productName));
  return Succeeded();
}

SetupResult NonMSIInstaller::RemoveOne(SetupPackage& package, SetupReportAsyncProgressIF& progress) {
  if (!IsRegistered(package)) return Failed(kResultInstallFailed);
  const SetupResult removed = RemovePackage(package, progress);
  if (!IsSuccess(removed)) {
    run_.log.WriteLog(log_lines::kNonMsiUninstallFailed, EscapeControlCharacters(package.productName));
    return removed;
  }
  if (!DeleteNonMsiRegistration(run_, package)) {
    run_.log.WriteLog(log_lines::kNonMsiUnregisterFailed, EscapeControlCharacters(package.productName));
    return Failed(kResultInstallFailed);
  }
  run_.log.WriteLog(log_lines::kNonMsiUninstalled, EscapeControlCharacters(package.productName));
  return Succeeded();
}

template <class Undo>
void NonMSIInstaller::RollBack(PackageList& packages, std::size_t failed, Undo undo) {
  const RemoveSwitchOn removeSwitch(run_.commandLine);
  rollingBack_ = true;
  for (std::size_t index = failed; index-- > 0;) {
    if (packages.packages[index].handle) undo(packages.packages[index]);
  }
  rollingBack_ = false;
}

SetupResult NonMSIInstaller::Install(PackageList& packages, SetupReportAsyncProgressIF& progress) {
  run_.log.WriteLog(log_lines::kNonMsiStartInstalling);
  for (std::size_t index = 0; index < packages.packages.size(); ++index) {
    if (!packages.packages[index].handle) continue;
    const SetupResult result = InstallOne(packages.packages[index], progress);
    if (IsSuccess(result)) continue;
    RollBack(packages, index, [&](SetupPackage& package) {
      run_.log.WriteLog(log_lines::kNonMsiRollingBackInstall, EscapeControlCharacters(package.productName));
      RemoveOne(package, progress);
    });
    return result;
  }
  return Succeeded();
}

SetupResult NonMSIInstaller::Remove(PackageList& packages, SetupReportAsyncProgressIF& progress) {
  run_.log.WriteLog(log_lines::kNonMsiStartRemoving);
  for (std::size_t index = 0; index < packages.packages.size(); ++index) {
    if (!packages.packages[index].handle) continue;
    const SetupResult result = RemoveOne(packages.packages[index], progress);
    if (IsSuccess(result)) continue;
    RollBack(packages, index, [&](SetupPackage& package) {
      run_.log.WriteLog(log_lines::kNonMsiRollingBackRemoval, EscapeControlCharacters(package.productName));
      InstallOne(package, progress);
    });
    return result;
  }
  return Succeeded();
}

SetupResult NonMSIInstaller::Maintain(PackageList& packages, SetupReportAsyncProgressIF& progress,
                                      const MaintenanceLines& lines, PackageAction action) {
  run_.log.WriteLog(lines.start);
  for (SetupPackage& package : packages.packages) {
    if (!package.handle) continue;
    if (!IsRegistered(package)) return Failed(kResultInstallFailed);
    // A repair announces itself with the modification's line as well.
    run_.log.WriteLog(log_lines::kNonMsiModifying, EscapeControlCharacters(package.productName));
    const SetupResult result = (this->*action)(package, progress);
    if (!IsSuccess(result)) {
      run_.log.WriteLog(lines.failed, EscapeControlCharacters(package.productName));
      return result;
    }
    run_.log.WriteLog(lines.succeeded, EscapeControlCharacters(package.productName));
  }
  return Succeeded();
}

SetupResult NonMSIInstaller::Modify(PackageList& packages, SetupReportAsyncProgressIF& progress) {
  static constexpr MaintenanceLines kLines{log_lines::kNonMsiStartModifying, log_lines::kNonMsiModifyFailed,
                                           log_lines::kNonMsiModified};
  return Maintain(packages, progress, kLines, &NonMSIInstaller::ModifyPackage);
}

SetupResult NonMSIInstaller::Repair(PackageList& packages, SetupReportAsyncProgressIF& progress) {
  static constexpr MaintenanceLines kLines{log_lines::kNonMsiStartRepairing, log_lines::kNonMsiRepairFailed,
                                           log_lines::kNonMsiRepaired};
  return Maintain(packages, progress, kLines, &NonMSIInstaller::RepairPackage);
}

SetupResult NonMSIInstaller::Extract(PackageList& packages, SetupReportAsyncProgressIF& progress) {
  run_.log.WriteLog(log_lines::kNonMsiStartExtracting);
  for (SetupPackage& package : packages.packages) {
    if (!package.handle) continue;
    const SetupResult result = ExtractPackage(package, progress);
    if (!IsSuccess(result)) return result;
  }
  return Succeeded();
}

}  // namespace setup
