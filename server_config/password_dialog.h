// The password dialog: asks for the logon password of a service that runs under another
// user's account, when the service page is left without one.
#pragma once

#include <optional>
#include <string>

#include "server_config/service_dialog.h"
#include "server_config/service_properties.h"

namespace setup {

class CPasswordDialog : public ServiceDialog, public ServicePasswordPrompt {
 public:
  CPasswordDialog(platform::Gui& gui, const LanguageCatalog& languages);

  std::optional<std::wstring> AskPassword(std::wstring_view displayName, std::wstring_view userName) override;

 protected:
  void Initialise() override;
  void Accept() override;

 private:
  std::wstring displayName_;
  std::wstring userName_;
  std::wstring password_;
};

}  // namespace setup
