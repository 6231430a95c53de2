// Whether the document-authoring product's examples folder was added to the trusted locations.
#pragma once

#include "options/setup_option_base.h"

namespace setup {

class SetupOptionAddExamplesToTrustedLocations : public ClonableSetupOption<SetupOptionAddExamplesToTrustedLocations> {
 public:
  explicit SetupOptionAddExamplesToTrustedLocations(SetupOptionEnvironment& environment);

  // Reads "CorbielTrustedLocations" of the installation key (the parent of its "Setup" key);
  // keeps the default when that key does not open.
  void Load(const ProductRecord& installed) override;
  // "#1" when on; the empty string (still written) when off.
  std::optional<std::wstring> Value() const override;

 private:
  bool on_ = true;
};

}  // namespace setup
