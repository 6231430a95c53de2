#include "wizard/wizard_page_base.h"

#include "install/installer_error.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// A width no page reaches: word-wrapped within it, a text breaks only at its own line feeds.
constexpr int kUnlimitedWidth = 0x7FFF;

}  // namespace

WizardPageBase::WizardPageBase(CWizardDialog& frame, std::wstring name)
    : frame_(frame), gui_(frame.Gui()), languages_(frame.Run().languages), name_(std::move(name)) {}

WizardPageBase::~WizardPageBase() {
  if (window_ != 0) gui_.DestroyWindow(window_);
}

void WizardPageBase::Create(platform::WindowHandle pageArea, const platform::Rect& rect) {
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::Window;
  spec.id = IDC_PAGE;
  spec.rect = rect;
  spec.visible = false;
  window_ = gui_.CreateControl(pageArea, spec, this);
  const platform::Size client = gui_.ClientSize(window_);
  CreateControls(window_, client.width, client.height);
  Deactivate();
}

void WizardPageBase::Activate() {
  frame_.Run().log.WriteLog(log_lines::kActivatingPage, name_);
  gui_.Show(frame_.FrameControl(IDC_LANGUAGE), false);
  for (const int id : {IDC_BACK, platform::kIdOk, platform::kIdCancel}) gui_.Enable(frame_.FrameControl(id), true);
  OnShow();
  frame_.RefreshFrameTexts();
  if (!frame_.IsAttended()) frame_.GoNext();
}

void WizardPageBase::Deactivate() {
  frame_.Run().log.WriteLog(log_lines::kDeactivatingPage, name_);
  gui_.Show(window_, false);
}

bool WizardPageBase::OnNext() { return true; }

bool WizardPageBase::OnCancel() {
  frame_.RecordInstallerError(kInstallerUserCancelled);
  return true;
}

bool WizardPageBase::OnBack() { return true; }

void WizardPageBase::OnShow() { gui_.Show(window_, true); }

std::optional<platform::ControlColours> WizardPageBase::OnControlColour(platform::WindowHandle) {
  return platform::ControlColours{std::nullopt, kWhite, frame_.WhiteBrush()};
}

void WizardPageBase::OnDestroyed(platform::WindowHandle window) {
  if (window == window_) window_ = 0;
}

platform::Rect WizardPageBase::MeasureText(std::wstring_view text, platform::FontHandle font, const platform::Rect& rect,
                                           bool singleLine) const {
  const platform::Size size = gui_.MeasureText(window_, font, text, rect.width, singleLine);
  return {rect.x, rect.y, size.width, size.height};
}

int WizardPageBase::TextHeight(std::wstring_view text, platform::FontHandle font, bool singleLine) const {
  // Without wrapping, only the text's own line breaks start new lines.
  return gui_.MeasureText(window_, font, text, singleLine ? 0 : kUnlimitedWidth, singleLine).height;
}

int WizardPageBase::FitHeightToText(platform::WindowHandle control) {
  const platform::Rect old = GetRectInParent(control);
  const platform::Size client = gui_.ClientSize(control);
  const int height = gui_.MeasureText(control, gui_.Font(control), gui_.Text(control), client.width, false).height;
  const platform::Rect placed = gui_.ScreenToClient(gui_.Parent(control), gui_.WindowRect(control));
  gui_.Place(control, {placed.x, placed.y, placed.width, height}, false);
  return height - old.height;
}

int WizardPageBase::FitWidthToText(platform::WindowHandle control, bool singleLine) {
  const platform::Rect old = GetRectInParent(control);
  const platform::Size client = gui_.ClientSize(control);
  const int width = gui_.MeasureText(control, gui_.Font(control), gui_.Text(control), client.width, singleLine).width;
  const platform::Rect placed = gui_.ScreenToClient(gui_.Parent(control), gui_.WindowRect(control));
  gui_.Place(control, {placed.x, placed.y, width, placed.height}, false);
  return width - old.width;
}

platform::Rect WizardPageBase::GetRectInParent(platform::WindowHandle control) const {
  const platform::Rect own = gui_.WindowRect(control);
  const platform::Rect parent = gui_.WindowRect(gui_.Parent(control));
  return {own.x - parent.x, own.y - parent.y, own.width, own.height};
}

void WizardPageBase::MoveInParent(platform::WindowHandle control, int x, int y) {
  const platform::Rect own = gui_.WindowRect(control);
  gui_.Place(control, {x, y, own.width, own.height}, false);
}

void WizardPageBase::FocusFrameControl(int controlId) {
  gui_.PostFocusControl(frame_.Window(), frame_.FrameControl(controlId));
}

}  // namespace setup
