#include "server_config/white_tab_ctrl.h"

#include "wizard/wizard_dialog.h"

namespace setup {

CWhiteTabCtrl::~CWhiteTabCtrl() {
  if (whiteBrush_ != 0) gui_.DestroyBrush(whiteBrush_);
}

platform::WindowHandle CWhiteTabCtrl::Create(platform::WindowHandle parent, int id, const platform::Rect& rect) {
  if (whiteBrush_ == 0) whiteBrush_ = gui_.MakeBrush(kWhite);
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::TabControl;
  spec.id = id;
  spec.rect = rect;
  window_ = gui_.CreateControl(parent, spec, this);
  return window_;
}

std::optional<platform::ControlColours> CWhiteTabCtrl::OnControlColour(platform::WindowHandle) {
  return platform::ControlColours{std::nullopt, kWhite, whiteBrush_};
}

void CWhiteTabCtrl::OnDestroyed(platform::WindowHandle window) {
  if (window == window_) window_ = 0;
}

}  // namespace setup
