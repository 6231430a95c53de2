#include "wizard/install_wizard_page.h"

#include <atomic>

#include "extraction/package_unpacking.h"
#include "install/install_sequence.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// Unpacking again after a failed removal shows no progress.
class NoProgress : public ICBSCabinetProgressCallbacks {
 public:
  void OnPercent(int) override {}
  void OnBytes(unsigned) override {}
  int GetProgressRange() override { return 0; }
  void OnFileStart(std::wstring_view) override {}
};

}  // namespace

InstallWizardPage::InstallWizardPage(CWizardDialog& frame, const std::vector<ProductRecord>& quickInstall,
                                     const SetupOptions* options)
    : WizardPageBase(frame, L"Install (hidden)"), quickInstall_(quickInstall), options_(options) {}

void InstallWizardPage::Activate() {
  const RunContext& run = frame_.Run();
  run.log.WriteLog(log_lines::kActivatingPage, Name());
  const bool wasVisible = gui_.IsShown(frame_.Window());
  gui_.Show(frame_.Window(), false);

  InstallRequest request;
  request.quickInstallList = quickInstall_;
  request.options = options_;
  if (frame_.HasBackupPage()) request.backupProperties = frame_.backupProperties;
  if (frame_.HasServicePage()) request.serviceProperties = frame_.serviceProperties;
  if (frame_.HasClusterPage()) request.clusterProperties = frame_.clusterProperties;
  const bool transformWanted = !frame_.IsRepair() && !frame_.IsRemoval();
  request.unpackAgain = [&run, transformWanted](SetupPackage& package) {
    const std::atomic<bool> notCancelled = false;
    NoProgress progress;
    UnpackCabinetPackage(run, package, progress, UnpackSettings{notCancelled, {}, transformWanted});
  };
  RunInstallSequence(run, request);

  if (wasVisible && frame_.Window() != 0) gui_.BringToForeground(frame_.Window());
  frame_.GoNext();
}

}  // namespace setup
