// The service configuration page: one tab per server component about to be installed, and
// for the selected one three summaries (unencrypted web server, SSL web server, service),
// each with a button to its dialog. Leaving it forward turns the settings into the service
// property string the frame keeps for the install sequence.
#pragma once

#include <array>
#include <vector>

#include "foundation/property_encryption.h"
#include "server_config/service_entry.h"
#include "server_config/white_tab_ctrl.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class ServiceConfigurationWizardPage : public WizardPageBase {
 public:
  // Builds the entries of the run's packages; `encryption` (the process's one) encrypts the
  // passwords.
  ServiceConfigurationWizardPage(CWizardDialog& frame, PropertyEncryption& encryption);

  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void OnShow() override;
  void UpdateTexts() override;
  bool OnNext() override;
  void Deactivate() override;
  void OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) override;

  const std::vector<ServiceEntry>& Entries() const { return entries_; }

 private:
  struct Row {
    platform::WindowHandle title = 0;
    platform::WindowHandle button = 0;
    platform::WindowHandle summary = 0;
  };
  enum RowIndex { kHttpRow, kSslRow, kServiceRow };

  // The entry of the selected tab; none before the tabs are filled.
  ServiceEntry* SelectedEntry();
  void ShowRow(const Row& row, bool shown);
  void OpenDialog(int buttonId);

  PropertyEncryption& encryption_;
  std::vector<ServiceEntry> entries_;
  CWhiteTabCtrl tabs_;
  std::array<Row, 3> rows_{};
};

}  // namespace setup
