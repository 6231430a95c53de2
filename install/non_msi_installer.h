// The installer of packages that Windows Installer does not install. It walks the packages the
// run acts on, registers each package it installed in the current user's Add/Remove Programs
// list itself, and undoes the packages done before a failing one; a subclass supplies what
// installing, modifying, repairing, removing and extracting one package means.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "install/async_install_process.h"
#include "run/log_line.h"
#include "run/run_context.h"

namespace setup {

// Result kinds of these installers, in the numbering of the launcher's own.
inline constexpr std::int32_t kResultAlreadyInstalled = kResultOtherVersionInstalled;
inline constexpr std::int32_t kResultRegistrationKeyNotCreated = kResultCorrupted;

class NonMSIInstaller : public SetupAsyncInstallProcessIF {
 public:
  explicit NonMSIInstaller(const RunContext& run) : run_(run) {}

  // On the first failure the packages installed before are removed again.
  SetupResult Install(PackageList& packages, SetupReportAsyncProgressIF& progress) override;
  SetupResult Modify(PackageList& packages, SetupReportAsyncProgressIF& progress) override;
  SetupResult Repair(PackageList& packages, SetupReportAsyncProgressIF& progress) override;
  // On the first failure the packages removed before are installed again.
  SetupResult Remove(PackageList& packages, SetupReportAsyncProgressIF& progress) override;
  SetupResult Extract(PackageList& packages, SetupReportAsyncProgressIF& progress) override;
  void Cancel() override { CancelAction(); }

 protected:
  virtual SetupResult InstallPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult ModifyPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult RepairPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult RemovePackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult ExtractPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) = 0;
  virtual void CancelAction() = 0;

  // A rollback is running: it starts with a fresh cancel state and runs to its end, so the
  // package actions do not stop for a cancel meanwhile (the cancel that started it included).
  bool RollingBack() const { return rollingBack_; }

  const RunContext& run_;

 private:
  // One package, with its registration.
  SetupResult InstallOne(SetupPackage& package, SetupReportAsyncProgressIF& progress);
  SetupResult RemoveOne(SetupPackage& package, SetupReportAsyncProgressIF& progress);
  // Undoes, last first, what `undo` is for the handled packages before `failed`.
  template <class Undo>
  void RollBack(PackageList& packages, std::size_t failed, Undo undo);
  bool IsRegistered(const SetupPackage& package) const;

  // Written by the worker only.
  std::atomic<bool> rollingBack_ = false;

  // The lines of a maintenance operation over the installed packages.
  struct MaintenanceLines {
    const LogLine<>& start;
    const LogLine<std::wstring_view>& failed;
    const LogLine<std::wstring_view>& succeeded;
  };
  using PackageAction = SetupResult (NonMSIInstaller::*)(SetupPackage&, SetupReportAsyncProgressIF&);
  // Runs `action` on each handled package, which must be installed; stops at the first failure.
  SetupResult Maintain(PackageList& packages, SetupReportAsyncProgressIF& progress, const MaintenanceLines& lines,
                       PackageAction action);
};

}  // namespace setup
