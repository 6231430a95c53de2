#include "install/taxonomy_installer.h"

#include "resources/resource_ids.h"

namespace setup {

SetupResult TaxonomyInstaller::RunSteps(std::uint32_t actionTextId, SetupReportAsyncProgressIF& progress) {
  for (int step = 1; step <= kSteps; ++step) {
    progress.SetStatusText(run_.languages.FormatText(actionTextId, step));
    run_.platform.system->Sleep(kStepMs);
    progress.StepProgress(kStepProgress);
    if (cancelled_ && !RollingBack()) return SetupResult{kResultUserCancelled, 0, false};
  }
  return SetupResult{};
}

SetupResult TaxonomyInstaller::InstallPackage(SetupPackage&, SetupReportAsyncProgressIF& progress) {
  return RunSteps(IDS_TAXONOMY_INSTALL_ACTION, progress);
}

SetupResult TaxonomyInstaller::ModifyPackage(SetupPackage&, SetupReportAsyncProgressIF& progress) {
  return RunSteps(IDS_TAXONOMY_MODIFY_ACTION, progress);
}

SetupResult TaxonomyInstaller::RemovePackage(SetupPackage&, SetupReportAsyncProgressIF& progress) {
  return RunSteps(IDS_TAXONOMY_REMOVE_ACTION, progress);
}

SetupResult TaxonomyInstaller::RepairPackage(SetupPackage&, SetupReportAsyncProgressIF&) { return SetupResult{}; }

SetupResult TaxonomyInstaller::ExtractPackage(SetupPackage&, SetupReportAsyncProgressIF&) {
  return SetupResult{kResultInstallFailed, 0, false};
}

}  // namespace setup
