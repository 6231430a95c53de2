#include "wizard/install_wizard_page.h"

#include "install/install_sequence.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

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
  RunInstallSequence(run, request);

  if (wasVisible && frame_.Window() != 0) gui_.BringToForeground(frame_.Window());
  frame_.GoNext();
}

}  // namespace setup
