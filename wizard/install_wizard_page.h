// The install page: no content of its own. It hides the wizard while the install sequence
// runs (Windows Installer shows the package's own dialogs meanwhile), shows it again and
// moves on; the sequence leaves its outcome in the result record.
#pragma once

#include <vector>

#include "options/setup_options.h"
#include "packages/product_record.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class InstallWizardPage : public WizardPageBase {
 public:
  // `quickInstall` and `options` are the run's quick-install list and the setup options bound
  // to it (null when the run has none).
  InstallWizardPage(CWizardDialog& frame, const std::vector<ProductRecord>& quickInstall, const SetupOptions* options);

  void Activate() override;
  void OnShow() override {}
  void CreateControls(platform::WindowHandle, int, int) override {}
  void UpdateTexts() override {}

 private:
  const std::vector<ProductRecord>& quickInstall_;
  const SetupOptions* options_;
};

}  // namespace setup
