// The cluster page of the workflow server's advanced edition: stand-alone, master (with the
// port of its master interface) or worker, starting from the role of the existing
// installation; Next leaves the choice as installer properties on the frame.
#pragma once

#include "server_config/cluster_settings.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class ClusterConfigurationWizardPage : public WizardPageBase {
 public:
  explicit ClusterConfigurationWizardPage(CWizardDialog& frame);

  // Builds the controls and reads the installation's settings.
  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  // Applies the command line on every display.
  void OnShow() override;
  void UpdateTexts() override;
  bool OnNext() override;
  // A role button takes the role it stands for.
  void OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) override;

  const ClusterSettings& Current() const { return current_; }
  const ClusterSettings& FoundAtStart() const { return initial_; }

 private:
  ClusterSettings current_;
  ClusterSettings initial_;
  platform::WindowHandle title_ = 0;
  platform::WindowHandle description_ = 0;
  platform::WindowHandle standAlone_ = 0;
  platform::WindowHandle master_ = 0;
  platform::WindowHandle worker_ = 0;
  platform::WindowHandle portLabel_ = 0;
  platform::WindowHandle port_ = 0;
  platform::WindowHandle information_ = 0;
};

}  // namespace setup
