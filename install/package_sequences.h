// The five ways the install sequence walks the packages: Install, Modify, Repair, Remove and
// Extract. Each returns 0 or the installer result that ended it.
#pragma once

#include <cstdint>

#include "install/install_request.h"
#include "packages/setup_package.h"
#include "run/run_context.h"

namespace setup {

class PackageSequences {
 public:
  PackageSequences(const RunContext& run, const InstallRequest& request) : run_(run), request_(request) {}

  // Installs the handled packages in order; when one fails, the packages installed before it
  // are removed again, last first.
  std::uint32_t Install();
  // Changes the handled packages in order; a failure does not stop the others, a cancel does.
  std::uint32_t Modify();
  // Reinstalls the handled packages in order with the repair switch's reinstall mode.
  std::uint32_t Repair();
  // Removes the handled, installed packages, last first; when one fails, the packages removed
  // before it are unpacked and installed again, in order.
  std::uint32_t Remove();
  // Copies the handled packages' MSI files into the current folder.
  std::uint32_t Extract();

  // The failure that ended the last sequence is already in the run's result (a conflicting
  // installation could not be removed), so the caller must not record it again.
  bool FailureRecorded() const { return failureRecorded_; }

 private:
  bool IsMultiPackage() const { return run_.packages.packages.size() >= 2; }
  bool IsInstalled(const SetupPackage& package) const;
  // Removes the installations that stand in the way of a Wendrak package installed by another
  // build; false when a removal failed (the run's result then tells how).
  bool RemoveConflictingInstallations(const SetupPackage& package);
  std::wstring InstallExtra(const SetupPackage& package) const;
  std::wstring ModifyExtra(const SetupPackage& package, bool showAgreement) const;
  void AppendLanguage(std::wstring& extra) const;
  void AppendTransforms(std::wstring& extra, const SetupPackage& package) const;
  void RollBackInstall(std::size_t failed);
  void ReinstallRemoved(std::size_t failed);

  const RunContext& run_;
  const InstallRequest& request_;
  bool failureRecorded_ = false;
};

}  // namespace setup
