// The installer of taxonomy packages: installing, modifying and removing one are ten timed
// steps of a second each that report their progress and stop at a cancel after the current
// step; a repair has nothing to do, and extracting a package is not supported.
#pragma once

#include <atomic>

#include "install/non_msi_installer.h"

namespace setup {

class TaxonomyInstaller : public NonMSIInstaller {
 public:
  static constexpr int kSteps = 10;
  static constexpr int kStepProgress = 10;
  static constexpr unsigned kStepMs = 1000;

  explicit TaxonomyInstaller(const RunContext& run) : NonMSIInstaller(run) {}

 protected:
  SetupResult InstallPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) override;
  SetupResult ModifyPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) override;
  SetupResult RepairPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) override;
  SetupResult RemovePackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) override;
  SetupResult ExtractPackage(SetupPackage& package, SetupReportAsyncProgressIF& progress) override;
  // Set from the page's thread, read by the worker after every step.
  void CancelAction() override { cancelled_ = true; }

 private:
  // The timed steps, each announced with the STRINGTABLE text `actionTextId` and its number.
  SetupResult RunSteps(std::uint32_t actionTextId, SetupReportAsyncProgressIF& progress);

  std::atomic<bool> cancelled_ = false;
};

}  // namespace setup
