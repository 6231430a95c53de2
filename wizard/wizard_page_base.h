// The base of every wizard page: a hidden child window of the frame's page area that builds
// its own controls, the page protocol the frame drives (activate, deactivate, and the
// questions before Next, Back and Cancel), and the measuring and placing utilities pages use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/gui.h"
#include "run/language_catalog.h"

namespace setup {

class CWizardDialog;

class WizardPageBase : public platform::WindowEvents {
 public:
  // `name` names the page in the log.
  WizardPageBase(CWizardDialog& frame, std::wstring name);
  ~WizardPageBase() override;
  WizardPageBase(const WizardPageBase&) = delete;
  WizardPageBase& operator=(const WizardPageBase&) = delete;

  // Creates the page window hidden in `pageArea` at `rect`, builds the controls and
  // deactivates the page.
  void Create(platform::WindowHandle pageArea, const platform::Rect& rect);
  platform::WindowHandle Window() const { return window_; }
  const std::wstring& Name() const { return name_; }

  // The page becomes the current one: the standard sequence logs, resets the frame's
  // buttons, shows the page (OnShow), refreshes every text and, in a run that does not wait
  // for the user, moves on at once. It may run again for the same page.
  virtual void Activate();
  // Logs and hides the page.
  virtual void Deactivate();
  // Whether the frame may leave the page forward, backward or by cancelling.
  virtual bool OnNext();
  // Records the user's cancel as the pending error.
  virtual bool OnCancel();
  virtual bool OnBack();
  // Shows the page window and fills its controls.
  virtual void OnShow();
  virtual void CreateControls(platform::WindowHandle parent, int width, int height) = 0;
  // Sets every text of the page in the current language.
  virtual void UpdateTexts() = 0;

  // Controls on a page are drawn on white.
  std::optional<platform::ControlColours> OnControlColour(platform::WindowHandle control) override;
  void OnDestroyed(platform::WindowHandle window) override;

 protected:
  // The rectangle `text` needs in `font` starting at `rect`: word-wrapped within its width,
  // or on one line.
  platform::Rect MeasureText(std::wstring_view text, platform::FontHandle font, const platform::Rect& rect,
                             bool singleLine) const;
  // The height a text needs in `font`: on one line, or with its own line breaks only.
  int TextHeight(std::wstring_view text, platform::FontHandle font, bool singleLine) const;
  // Sizes the control to its text: the height within its client width, or the width; the
  // change in pixels.
  int FitHeightToText(platform::WindowHandle control);
  int FitWidthToText(platform::WindowHandle control, bool singleLine);
  // The control's rectangle relative to its parent's window rectangle.
  platform::Rect GetRectInParent(platform::WindowHandle control) const;
  // Moves the control's top-left corner to (x, y) in its parent's client area.
  void MoveInParent(platform::WindowHandle control, int x, int y);
  // Moves the focus to the frame's control `controlId` after the current message.
  void FocusFrameControl(int controlId);

  CWizardDialog& frame_;
  platform::Gui& gui_;
  LanguageCatalog& languages_;

 private:
  std::wstring name_;
  platform::WindowHandle window_ = 0;
};

}  // namespace setup
