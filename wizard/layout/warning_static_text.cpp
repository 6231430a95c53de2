#include "wizard/layout/warning_static_text.h"

namespace setup {

WarningStaticText::WarningStaticText(platform::Gui& gui, platform::Colour textColour)
    : gui_(gui), textColour_(textColour), brush_(gui.MakeBrush(kWarningBackground)) {}

WarningStaticText::~WarningStaticText() {
  if (window_ != 0) gui_.DestroyWindow(window_);
  gui_.DestroyBrush(brush_);
}

platform::WindowHandle WarningStaticText::Create(platform::WindowHandle parent, const platform::ControlSpec& spec) {
  platform::ControlSpec text = spec;
  text.kind = platform::ControlKind::StaticText;
  window_ = gui_.CreateControl(parent, text, this);
  return window_;
}

std::optional<platform::ControlColours> WarningStaticText::OnControlColour(platform::WindowHandle control) {
  if (control != window_) return std::nullopt;
  return platform::ControlColours{textColour_, kWarningBackground, brush_};
}

void WarningStaticText::OnDestroyed(platform::WindowHandle window) {
  if (window == window_) window_ = 0;
}

}  // namespace setup
