// Whether the product's shortcut was put on the desktop of all users.
#pragma once

#include "options/setup_option_base.h"

namespace setup {

class SetupOptionDesktopShortcut : public ClonableSetupOption<SetupOptionDesktopShortcut> {
 public:
  explicit SetupOptionDesktopShortcut(SetupOptionEnvironment& environment);

  // Looks for the installation's shortcut in the common desktop folder; finding it makes the
  // run's shared shortcut value "Yes".
  void Load(const ProductRecord& installed) override;
  // The run's shared shortcut value ("Yes" or empty), always written.
  std::optional<std::wstring> Value() const override { return Environment().desktopShortcutValue; }
};

// "Tarquel Quibrix 2023 (x64).lnk": the file name the product's installer gives the shortcut.
std::wstring DesktopShortcutFileName(const ProductRecord& installed);

}  // namespace setup
