// The service dialog of the service page: start type and logon account of one entry's
// service, with tooltips on the user name and the start type.
#pragma once

#include "server_config/service_dialog.h"
#include "server_config/service_entry.h"

namespace setup {

class CServiceDetailsDlg : public ServiceDialog {
 public:
  CServiceDetailsDlg(platform::Gui& gui, const LanguageCatalog& languages, ServiceEntry& entry);

  int DoModal();

 protected:
  void Initialise() override;
  void Accept() override;
  void OnControl(int controlId) override;

 private:
  // The user name and password are for another user only.
  void UpdateUserControls();

  ServiceEntry& entry_;
};

}  // namespace setup
