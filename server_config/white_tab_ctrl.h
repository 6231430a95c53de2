// A tab control drawn on white, like the pages it sits on.
#pragma once

#include <optional>

#include "platform/gui.h"

namespace setup {

class CWhiteTabCtrl : public platform::WindowEvents {
 public:
  explicit CWhiteTabCtrl(platform::Gui& gui) : gui_(gui) {}
  ~CWhiteTabCtrl() override;
  CWhiteTabCtrl(const CWhiteTabCtrl&) = delete;
  CWhiteTabCtrl& operator=(const CWhiteTabCtrl&) = delete;

  // Makes the control as a visible child of `parent`.
  platform::WindowHandle Create(platform::WindowHandle parent, int id, const platform::Rect& rect);
  platform::WindowHandle Window() const { return window_; }

  std::optional<platform::ControlColours> OnControlColour(platform::WindowHandle control) override;
  void OnDestroyed(platform::WindowHandle window) override;

 private:
  platform::Gui& gui_;
  platform::BrushHandle whiteBrush_ = 0;
  platform::WindowHandle window_ = 0;
};

}  // namespace setup
