// A wizard frame on the host GUI with simple pages that record what the frame asks of them,
// and a test that presses the frame's buttons while the modal loop waits.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_gui.h"
#include "resources/resource_ids.h"
#include "support/run_fixture.h"
#include "wizard/wizard_dialog.h"

namespace setup::testing {

// A page with one label; each answer of the protocol can be replaced.
class TestPage : public WizardPageBase {
 public:
  static constexpr int kLabelId = 3001;

  TestPage(CWizardDialog& frame, std::wstring name) : WizardPageBase(frame, std::move(name)) {}

  void CreateControls(platform::WindowHandle parent, int width, int) override {
    platform::ControlSpec spec;
    spec.kind = platform::ControlKind::StaticText;
    spec.id = kLabelId;
    spec.rect = {0, 0, width, 20};
    label = gui_.CreateControl(parent, spec, nullptr);
    createdSize = gui_.ClientSize(parent);
  }
  void UpdateTexts() override {
    ++textUpdates;
    gui_.SetText(label, languages_.Text(IDS_CANCEL));
  }
  bool OnNext() override { return onNext ? onNext() : WizardPageBase::OnNext(); }
  bool OnBack() override { return onBack ? onBack() : WizardPageBase::OnBack(); }
  bool OnCancel() override { return onCancel ? onCancel() : WizardPageBase::OnCancel(); }
  void OnShow() override {
    WizardPageBase::OnShow();
    if (onShow) onShow();
  }

  // The utilities, for the tests.
  using WizardPageBase::FitHeightToText;
  using WizardPageBase::FitWidthToText;
  using WizardPageBase::FocusFrameControl;
  using WizardPageBase::GetRectInParent;
  using WizardPageBase::MeasureText;
  using WizardPageBase::MoveInParent;
  using WizardPageBase::TextHeight;

  std::function<bool()> onNext;
  std::function<bool()> onBack;
  std::function<bool()> onCancel;
  std::function<void()> onShow;
  platform::WindowHandle label = 0;
  platform::Size createdSize;
  int textUpdates = 0;
};

// Calls back when any posted message reaches its window: a user's click that arrives while a
// page pumps the queue.
class LateClick : public platform::WindowEvents {
 public:
  explicit LateClick(std::function<void()> click) : click_(std::move(click)) {}
  bool OnPostedMessage(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override {
    click_();
    return true;
  }

 private:
  std::function<void()> click_;
};

class WizardTest : public RunTest {
 public:
  TestPage& PageNamed(std::wstring_view name) {
    for (TestPage* page : pages_) {
      if (page->Name() == name) return *page;
    }
    throw std::logic_error("no such test page");
  }
  // What a page does when an installer call fails.
  void RecordFailure(std::uint32_t installerCode) { frame_->RecordInstallerError(installerCode); }

 protected:
  platform::host::HostGui& Gui() { return Host().Gui(); }

  // A frame with the named pages; "" is an empty entry, and the last name, when it is
  // "Finish", is the finish page.
  CWizardDialog& Frame(const std::vector<std::wstring>& names) {
    Run();
    frame_ = std::make_unique<CWizardDialog>(Run(), L"Tarquel Quillbook 2024 - Installer Wizard", quickInstall_,
                                             [this] {
                                               ++reports_;
                                               result_.reported = true;
                                             });
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].empty()) {
        frame_->AddEmptyEntry();
        continue;
      }
      auto page = std::make_unique<TestPage>(*frame_, names[i]);
      pages_.push_back(page.get());
      if (i + 1 == names.size() && names[i] == L"Finish") frame_->AddFinishPage(std::move(page));
      else frame_->AddPage(std::move(page));
    }
    return *frame_;
  }

  platform::WindowHandle Control(int id) { return Gui().DialogItem(Gui().ActiveDialog(), id); }

  // The name of the page whose window is shown; "" when none is.
  std::wstring ShownPage() {
    std::wstring shown;
    for (TestPage* page : pages_) {
      if (page->Window() != 0 && Gui().IsShown(page->Window())) shown += page->Name();
    }
    return shown;
  }

  // While the dialog waits: notes the shown page, then presses the button.
  void Press(int id) {
    Gui().idleActions.push_back([this, id] {
      seen_.push_back(ShownPage());
      Gui().Click(Control(id));
    });
  }
  // Runs `check` while the dialog waits.
  void While(std::function<void()> check) { Gui().idleActions.push_back(std::move(check)); }

  // The "Activating" and "Deactivating" lines of the log, without their common parts.
  std::vector<std::wstring> PageLines() {
    std::vector<std::wstring> lines;
    const std::wstring text = LogText();
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find(L"\r\n", start);
      if (end == std::wstring::npos) end = text.size();
      const std::wstring line = text.substr(start, end - start);
      const std::wstring prefix = L"TSL (c): ";
      if (line.starts_with(prefix) && line.find(L"ctivating dialog ") != std::wstring::npos) {
        lines.push_back(line.substr(prefix.size()));
      }
      start = end + 2;
    }
    return lines;
  }

  std::vector<ProductRecord> quickInstall_;
  std::unique_ptr<CWizardDialog> frame_;
  std::vector<TestPage*> pages_;
  int reports_ = 0;
  // The page shown at each press.
  std::vector<std::wstring> seen_;
};

}  // namespace setup::testing
