// The user-interface level of a run, in Windows Installer's values: a base level (none,
// basic, reduced or full) and the end-dialog flag. The "/q" switch sets it; the launcher asks
// it the questions below instead of testing bits.
#pragma once

#include <cstdint>

#include "platform/installer.h"

namespace setup {

class UiLevel {
 public:
  static constexpr UiLevel None() { return UiLevel(platform::kInstallUiLevelNone); }
  static constexpr UiLevel Basic() { return UiLevel(platform::kInstallUiLevelBasic); }
  static constexpr UiLevel Reduced() { return UiLevel(platform::kInstallUiLevelReduced); }
  static constexpr UiLevel Full() { return UiLevel(platform::kInstallUiLevelFull); }

  // The same level with the small completion box at the end.
  constexpr UiLevel WithEndDialog() const { return UiLevel(value_ | platform::kInstallUiLevelEndDialog); }

  // The value Windows Installer takes.
  constexpr std::int32_t Value() const { return value_; }
  constexpr bool HasEndDialog() const { return (value_ & platform::kInstallUiLevelEndDialog) != 0; }
  // None and basic, with or without the end dialog: no message box is shown.
  constexpr bool IsQuiet() const { return (value_ & 0x2) != 0; }
  // The full user interface: the only level at which the wizard waits for the user.
  constexpr bool IsFull() const { return Base() == platform::kInstallUiLevelFull; }

  friend constexpr bool operator==(UiLevel, UiLevel) = default;

 private:
  constexpr explicit UiLevel(std::int32_t value) : value_(value) {}
  constexpr std::int32_t Base() const { return value_ & ~platform::kInstallUiLevelEndDialog; }

  std::int32_t value_;
};

}  // namespace setup
