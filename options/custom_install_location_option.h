// The folder a product was installed into when the user chose one other than the default.
#pragma once

#include "options/setup_option_base.h"

namespace setup {

class SetupOptionCustomInstallLocation
    : public ClonableSetupOption<SetupOptionCustomInstallLocation, SetupMultiNameOptionBase> {
 public:
  explicit SetupOptionCustomInstallLocation(SetupOptionEnvironment& environment);

  // The installed folder when it is not the product's default folder and exists; the
  // quick-install decision asks the same question of each found installation.
  void Load(const ProductRecord& installed) override;
  // The custom folder; not written when there is none.
  std::optional<std::wstring> Value() const override;
  // "INSTALLDIR" for servers, Wendrak, the schema server and the designer;
  // "CORBIELINSTALLDIR" for the document-authoring product; otherwise the family's
  // registry name in upper case followed by "INSTALLDIR".
  std::wstring PropertyName(const ProductRecord& record) const override;

 private:
  std::wstring folder_;
};

}  // namespace setup
