// The web server dialog of the service page: the switch and port of the unencrypted or the
// SSL web server of one entry and, for SSL, the certificate files of the entry that owns them.
#pragma once

#include "server_config/service_dialog.h"
#include "server_config/service_entry.h"

namespace setup {

class CConnectionDetailsDlg : public ServiceDialog {
 public:
  enum class Mode { Unencrypted, Ssl };

  // `owner` keeps the certificate files that `entry`'s SSL web server uses.
  CConnectionDetailsDlg(platform::Gui& gui, const LanguageCatalog& languages, ServiceEntry& entry, ServiceEntry& owner,
                        Mode mode);

  int DoModal();

 protected:
  void Initialise() override;
  void Accept() override;
  void OnControl(int controlId) override;

 private:
  // Takes a chosen certificate file into the path static `pathId`.
  void Browse(int pathId);
  void StoreFile(int pathId, CertificateFile& file);

  ServiceEntry& entry_;
  ServiceEntry& owner_;
  Mode mode_;
};

}  // namespace setup
