// The leaves of the layout tree: real child windows of a page (static text, check box, icon,
// progress bar) that measure their content and place their window where the layout puts
// them. Deleting a widget destroys its window.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gui.h"
#include "wizard/layout/layout.h"

namespace setup {

// The window the widgets are made in.
struct WidgetParent {
  platform::Gui& gui;
  platform::WindowHandle window;
};

class ICBSWidgetBase : public ICBSLayout {
 public:
  ~ICBSWidgetBase() override;

  platform::WindowHandle Window() const { return window_; }
  // The widget's own font instead of the shared "Tahoma" 9 pt one.
  void SetFont(platform::FontHandle font);
  platform::FontHandle Font() const;

  void Show() override;
  void Hide() override;
  void Redraw() override;
  bool ArrangeContent(const platform::Rect& inner) override;

 protected:
  ICBSWidgetBase(const WidgetParent& parent, const platform::ControlSpec& spec);
  // After the window was placed; `fitting`: the preferred size fits `inner`.
  virtual bool AfterPlacement(const platform::Rect& inner, bool fitting);

  platform::Gui& gui_;
  platform::WindowHandle parent_;
  platform::WindowHandle window_;

 private:
  platform::FontHandle font_ = 0;
};

class ICBSTextBasedWidget : public ICBSWidgetBase {
 public:
  const std::wstring& Text() const { return text_; }
  // Changes the text; the same text again changes nothing.
  void SetText(std::wstring_view text);

 protected:
  ICBSTextBasedWidget(const WidgetParent& parent, const platform::ControlSpec& spec);
  // The text measured word-wrapped within the current width, or on one line.
  platform::Size MeasureOwnText();
  bool AfterPlacement(const platform::Rect& inner, bool fitting) override;
  virtual void BeforeTextChange() {}

  bool wrap_;
  std::wstring text_;
};

class ICBSTextWidget : public ICBSTextBasedWidget {
 public:
  ICBSTextWidget(const WidgetParent& parent, std::wstring_view text, bool wrap, int alignment);
  platform::Size ContentSize() override;

 protected:
  // The old text is erased before the new one is drawn.
  void BeforeTextChange() override;
};

class ICBSCheckboxWidget : public ICBSTextBasedWidget {
 public:
  static constexpr int kGlyphSize = 16;
  ICBSCheckboxWidget(const WidgetParent& parent, std::wstring_view text, bool wrap, int controlId);
  platform::Size ContentSize() override;
  bool IsChecked() const { return gui_.IsChecked(window_); }
  void SetChecked(bool checked) { gui_.SetChecked(window_, checked); }
};

class ICBSImageWidget : public ICBSWidgetBase {
 public:
  ICBSImageWidget(const WidgetParent& parent, platform::IconHandle icon);
  platform::Size ContentSize() override;

 protected:
  bool AfterPlacement(const platform::Rect&, bool) override { return false; }

 private:
  platform::IconHandle icon_;
};

// A smooth progress bar; maximum 0 makes it run as a marquee. Worker threads move it with
// SetPos and Advance, which only post the progress message to the parent window; the
// user-interface thread sets the bar in ApplyPendingPos or in its handler of that message.
class ICBSProgressWidget : public ICBSWidgetBase {
 public:
  static constexpr int kMarqueeIntervalMs = 100;
  ICBSProgressWidget(const WidgetParent& parent, std::uint32_t progressMessage, int maximum);
  platform::Size ContentSize() override { return {0, 16}; }

  void SetMaximum(int maximum);
  void SetPos(int position);
  void Advance(int delta);
  void ApplyPendingPos();
  int Position() const { return position_; }

 protected:
  bool AfterPlacement(const platform::Rect&, bool) override { return false; }

 private:
  void ApplyMaximum(int maximum);
  void MoveTo(int position);

  std::uint32_t progressMessage_;
  std::atomic<int> maximum_;
  std::atomic<int> position_{-1};
};

}  // namespace setup
