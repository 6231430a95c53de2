// The schema-management product's options: the server its client talks to, and how its
// server was run.
#pragma once

#include "options/setup_option_base.h"

namespace setup {

class SetupOptionServerForMebrant : public ClonableSetupOption<SetupOptionServerForMebrant> {
 public:
  explicit SetupOptionServerForMebrant(SetupOptionEnvironment& environment);

  // The client's default server from the user's settings key, when one is set.
  void Load(const ProductRecord& installed) override;
  // The server name, always written (possibly empty).
  std::optional<std::wstring> Value() const override { return serverName_; }

 private:
  std::wstring serverName_;
};

// "SERVEROPTIONSVISTA": "StandAlone" when the server runs without its Windows service;
// "STARTSERVICE": "true" when the service was running.
class SetupOptionsMebrantServer : public ClonableSetupOption<SetupOptionsMebrantServer, SetupOptionGroupBase> {
 public:
  explicit SetupOptionsMebrantServer(SetupOptionEnvironment& environment);

  // Looks for the "MebrantService" service and its current state.
  void Load(const ProductRecord& installed) override;
  std::vector<std::wstring> SubPropertyNames() const override;
  // Names compare ignoring case; both values are always written.
  std::optional<std::wstring> SubValue(std::wstring_view name) const override;

 private:
  std::wstring modeText_;
  bool startService_ = false;
};

}  // namespace setup
