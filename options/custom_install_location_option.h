// The folder a product was installed into when the user chose one other than the default.
#pragma once

#include "options/setup_option_base.h"

namespace setup {

class SetupOptionCustomInstallLocation : public SetupMultiNameOptionBase {
 public:
  explicit SetupOptionCustomInstallLocation(SetupOptionEnvironment& environment);

  std::unique_ptr<SetupOptionBase> Clone() const override;
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

// The installed folder of the installation when it differs (ignoring case) from the product's
// default install folder and exists as a folder; otherwise empty.
std::wstring CustomInstallFolder(const ProductRecord& installed, const SetupOptionEnvironment& environment);

}  // namespace setup
