#include "wizard/layout/widgets.h"

#include <algorithm>

#include "wizard/layout/shared_fonts.h"

namespace setup {

namespace {

platform::ControlSpec Spec(platform::ControlKind kind, int id, std::wstring_view text, bool wrap,
                           platform::TextAlignment alignment = platform::TextAlignment::Left) {
  platform::ControlSpec spec;
  spec.kind = kind;
  spec.id = id;
  spec.text = text;
  spec.wrap = wrap;
  spec.alignment = alignment;
  return spec;
}

platform::TextAlignment TextAlignmentOf(int alignment) {
  if (alignment == kAlignCentre) return platform::TextAlignment::Centre;
  if (alignment == kAlignEnd) return platform::TextAlignment::Right;
  return platform::TextAlignment::Left;
}

}  // namespace

ICBSWidgetBase::ICBSWidgetBase(const WidgetParent& parent, const platform::ControlSpec& spec)
    : gui_(parent.gui), parent_(parent.window), window_(parent.gui.CreateControl(parent.window, spec, nullptr)) {
  // The window shows the font the widget measures with.
  if (window_ != 0) gui_.SetFont(window_, Font(), true);
}

ICBSWidgetBase::~ICBSWidgetBase() {
  if (window_ != 0) gui_.DestroyWindow(window_);
}

void ICBSWidgetBase::SetFont(platform::FontHandle font) {
  font_ = font;
  if (window_ != 0) gui_.SetFont(window_, Font(), true);
  InvalidateLayout(true);
}

platform::FontHandle ICBSWidgetBase::Font() const {
  return font_ != 0 ? font_ : GetSharedFont(gui_, parent_, L"Tahoma", 9, false);
}

void ICBSWidgetBase::Show() { gui_.Show(window_, true); }
void ICBSWidgetBase::Hide() { gui_.Show(window_, false); }
void ICBSWidgetBase::Redraw() { gui_.Invalidate(window_, true); }

bool ICBSWidgetBase::ArrangeContent(const platform::Rect& inner) {
  bool fitting = true;
  if (inner == CurrentRect()) {
    gui_.Invalidate(window_, true);
  } else {
    const platform::Size preferred = PreferredSize();
    fitting = preferred.width <= inner.width && preferred.height <= inner.height;
    gui_.Place(window_, inner, true);
  }
  return AfterPlacement(inner, fitting);
}

bool ICBSWidgetBase::AfterPlacement(const platform::Rect&, bool) { return false; }

ICBSTextBasedWidget::ICBSTextBasedWidget(const WidgetParent& parent, const platform::ControlSpec& spec)
    : ICBSWidgetBase(parent, spec), wrap_(spec.wrap), text_(spec.text) {
  expandHorizontally_ = wrap_;
}

void ICBSTextBasedWidget::SetText(std::wstring_view text) {
  if (text == text_) return;
  BeforeTextChange();
  text_ = text;
  InvalidateLayout(true);
  gui_.SetText(window_, text_);
}

platform::Size ICBSTextBasedWidget::MeasureOwnText() {
  if (window_ == 0) return {};
  const bool wrapped = wrap_ && current_.width >= 1;
  return gui_.MeasureText(window_, Font(), text_, wrapped ? current_.width : 1, !wrapped);
}

// A text that does not fit is measured again at the width it got: a wrapped text grows
// taller, and the parent arranges a second time.
bool ICBSTextBasedWidget::AfterPlacement(const platform::Rect& inner, bool fitting) {
  if (fitting) return false;
  if (wrap_ && inner.width <= 0) return false;
  const int width = current_.width;
  current_.width = inner.width;
  InvalidateLayout(false);
  current_.width = width;
  return true;
}

ICBSTextWidget::ICBSTextWidget(const WidgetParent& parent, std::wstring_view text, bool wrap, int alignment)
    : ICBSTextBasedWidget(parent, Spec(platform::ControlKind::StaticText, platform::kIdStatic, text, wrap,
                                       TextAlignmentOf(alignment))) {
  InvalidateLayout(true);
}

void ICBSTextWidget::BeforeTextChange() { gui_.Invalidate(window_, true); }

platform::Size ICBSTextWidget::ContentSize() { return text_.empty() ? platform::Size{} : MeasureOwnText(); }

ICBSCheckboxWidget::ICBSCheckboxWidget(const WidgetParent& parent, std::wstring_view text, bool wrap, int controlId)
    : ICBSTextBasedWidget(parent, Spec(platform::ControlKind::CheckBox, controlId, text, wrap)) {
  InvalidateLayout(true);
}

platform::Size ICBSCheckboxWidget::ContentSize() {
  if (text_.empty()) return {kGlyphSize, kGlyphSize};
  const platform::Size text = MeasureOwnText();
  return {text.width + kGlyphSize + 2, std::max(kGlyphSize, text.height)};
}

ICBSImageWidget::ICBSImageWidget(const WidgetParent& parent, platform::IconHandle icon)
    : ICBSWidgetBase(parent, Spec(platform::ControlKind::StaticIcon, platform::kIdStatic, L"", false)), icon_(icon) {
  if (window_ != 0) gui_.SetIconImage(window_, icon_);
  InvalidateLayout(true);
}

platform::Size ICBSImageWidget::ContentSize() { return gui_.IconSize(icon_); }

ICBSProgressWidget::ICBSProgressWidget(const WidgetParent& parent, std::uint32_t progressMessage, int maximum)
    : ICBSWidgetBase(parent, Spec(platform::ControlKind::ProgressBar, 0, L"", false)),
      progressMessage_(progressMessage),
      maximum_(maximum) {
  expandHorizontally_ = true;
  ApplyMaximum(maximum);
  InvalidateLayout(true);
}

void ICBSProgressWidget::ApplyMaximum(int maximum) {
  if (maximum > 0) gui_.SetProgressRange(window_, maximum);
  else gui_.SetProgressMarquee(window_, kMarqueeIntervalMs);
}

void ICBSProgressWidget::SetMaximum(int maximum) {
  maximum_ = maximum;
  ApplyMaximum(maximum);
}

void ICBSProgressWidget::SetPos(int position) {
  if (maximum_ <= 0) return;
  MoveTo(std::clamp(position, 0, maximum_.load()));
}

void ICBSProgressWidget::Advance(int delta) {
  if (maximum_ <= 0) return;
  // A bar that was never moved stands at 0 (its position is -1 until the first move is posted).
  const int current = std::max(0, position_.load());
  MoveTo(std::max(0, std::min(current + delta, maximum_.load())));
}

// Posts when the position changed, and always on a short bar.
void ICBSProgressWidget::MoveTo(int position) {
  const int previous = position_.exchange(position);
  if (previous != position || maximum_ < 100) {
    gui_.Post(parent_, progressMessage_, static_cast<std::uintptr_t>(position), 0);
  }
}

void ICBSProgressWidget::ApplyPendingPos() {
  const auto posted = gui_.TakePostedMessage(parent_, progressMessage_);
  if (!posted) return;
  const auto position = static_cast<std::intptr_t>(*posted);
  if (position >= 0 && position <= maximum_) gui_.SetProgressPosition(window_, static_cast<int>(position));
}

}  // namespace setup
