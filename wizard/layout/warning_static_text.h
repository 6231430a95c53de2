// A static text on a light red background in a fixed text colour, for warnings (dark red) and
// confirmations (dark green) on pages.
#pragma once

#include <optional>

#include "platform/gui.h"

namespace setup {

inline constexpr platform::Colour kWarningBackground = platform::Rgb(255, 200, 200);
inline constexpr platform::Colour kWarningTextRed = platform::Rgb(100, 10, 10);
inline constexpr platform::Colour kWarningTextGreen = platform::Rgb(10, 100, 10);

class WarningStaticText : public platform::WindowEvents {
 public:
  WarningStaticText(platform::Gui& gui, platform::Colour textColour);
  ~WarningStaticText() override;
  WarningStaticText(const WarningStaticText&) = delete;
  WarningStaticText& operator=(const WarningStaticText&) = delete;

  // Makes the control in `parent`.
  platform::WindowHandle Create(platform::WindowHandle parent, const platform::ControlSpec& spec);
  platform::WindowHandle Window() const { return window_; }

  // The colours it draws itself with, asked before its parent's.
  std::optional<platform::ControlColours> OnControlColour(platform::WindowHandle control) override;
  void OnDestroyed(platform::WindowHandle window) override;

 private:
  platform::Gui& gui_;
  platform::Colour textColour_;
  platform::BrushHandle brush_;
  platform::WindowHandle window_ = 0;
};

}  // namespace setup
