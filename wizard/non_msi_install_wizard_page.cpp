#include "wizard/non_msi_install_wizard_page.h"

#include <chrono>

#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// How long the page waits for the worker between looks at the queue.
constexpr std::chrono::milliseconds kWorkerPoll{50};
constexpr int kSpacing = 5;

}  // namespace

NonMSIInstallWizardPage::NonMSIInstallWizardPage(CWizardDialog& frame,
                                                 std::unique_ptr<SetupAsyncInstallProcessIF> installer)
    : WizardPageBase(frame, L"NonMSIInstall"), installer_(std::move(installer)) {}

NonMSIInstallWizardPage::~NonMSIInstallWizardPage() = default;

void NonMSIInstallWizardPage::CreateControls(platform::WindowHandle parent, int, int) {
  const WidgetParent widgets{gui_, parent};
  root_ = std::make_unique<ICBSVerticalLayout>();
  root_->spacing = kSpacing;
  auto status = std::make_unique<ICBSTextWidget>(widgets, L" ", true, kAlignStart);
  status->SetExpanding(true, false);
  status_ = root_->AddChild(std::move(status));
  progress_ = root_->AddChild(std::make_unique<ICBSProgressWidget>(widgets, kNonMsiProgressMessage, kProgressRange));
}

void NonMSIInstallWizardPage::UpdateTexts() {
  const platform::Size client = gui_.ClientSize(Window());
  root_->SetGeometry({0, 0, client.width, client.height});
}

NonMSIInstallWizardPage::Operation NonMSIInstallWizardPage::ChooseOperation() const {
  if (frame_.Run().commandLine.IsExtract()) return Operation::Extract;
  if (frame_.IsRepair()) return Operation::Repair;
  if (frame_.IsRemoval()) return Operation::Remove;
  if (frame_.IsMaintenance()) return Operation::Modify;
  return Operation::Install;
}

SetupResult NonMSIInstallWizardPage::RunOperation(Operation operation) {
  PackageList& packages = frame_.Run().packages;
  switch (operation) {
    case Operation::Extract:
      return installer_->Extract(packages, *this);
    case Operation::Repair:
      return installer_->Repair(packages, *this);
    case Operation::Remove:
      return installer_->Remove(packages, *this);
    case Operation::Modify:
      return installer_->Modify(packages, *this);
    case Operation::Install:
      break;
  }
  return installer_->Install(packages, *this);
}

bool NonMSIInstallWizardPage::WorkerRunning() const {
  return worker_.valid() && worker_.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready;
}

void NonMSIInstallWizardPage::Activate() {
  const RunContext& run = frame_.Run();
  run.log.WriteLog(log_lines::kActivatingPage, Name());
  UpdateTexts();
  gui_.Show(frame_.FrameControl(IDC_LANGUAGE), false);
  gui_.Enable(frame_.FrameControl(IDC_BACK), false);
  gui_.Enable(frame_.FrameControl(platform::kIdOk), false);
  gui_.Enable(frame_.FrameControl(platform::kIdCancel), true);
  gui_.Show(Window(), true);
  if (!installer_) {
    frame_.GoNext();
    return;
  }

  const Operation operation = ChooseOperation();
  worker_ = std::async(std::launch::async, [this, operation] { return RunOperation(operation); });
  while (worker_.wait_for(kWorkerPoll) != std::future_status::ready) {
    progress_->ApplyPendingPos();
    if (!gui_.PumpPendingMessages()) {
      // The quit is left in the queue for the application. The installer stops after its
      // current step, and the run ends with the installer's result rather than the success
      // of the pages before.
      run.log.WriteLog(log_lines::kQuitReceived);
      installer_->Cancel();
      RecordResult();
      return;
    }
  }
  // The last status text and position are shown before the page moves on.
  gui_.PumpPendingMessages();
  RecordResult();
  gui_.Enable(frame_.FrameControl(platform::kIdOk), true);
  frame_.GoNext();
}

// The worker's result is the page's: a failed or cancelled run is never told as a success.
void NonMSIInstallWizardPage::RecordResult() {
  const SetupResult result = worker_.get();
  frame_.Run().result.Record(result.kind, result.installerCode, result.reported);
}

bool NonMSIInstallWizardPage::OnCancel() {
  if (!WorkerRunning()) return WizardPageBase::OnCancel();
  // The worker stops after its current step and ends with the cancel as its result.
  installer_->Cancel();
  return false;
}

void NonMSIInstallWizardPage::SetProgressRange(int range) { progress_->SetMaximum(range); }

void NonMSIInstallWizardPage::SetProgressPos(int position) { progress_->SetPos(position); }

void NonMSIInstallWizardPage::StepProgress(int delta) { progress_->Advance(delta); }

void NonMSIInstallWizardPage::SetStatusText(const std::wstring& text) {
  {
    const std::lock_guard lock(statusLock_);
    pendingStatus_ = text;
  }
  gui_.Post(Window(), kNonMsiStatusMessage, 0, 0);
}

bool NonMSIInstallWizardPage::OnPostedMessage(platform::WindowHandle window, std::uint32_t message,
                                              std::uintptr_t wParam, std::intptr_t) {
  if (window != Window()) return false;
  if (message == kNonMsiStatusMessage) {
    ShowStatus();
    return true;
  }
  if (message == kNonMsiProgressMessage) {
    gui_.SetProgressPosition(progress_->Window(), static_cast<int>(wParam));
    return true;
  }
  return false;
}

void NonMSIInstallWizardPage::ShowStatus() {
  std::optional<std::wstring> text;
  {
    const std::lock_guard lock(statusLock_);
    text.swap(pendingStatus_);
  }
  if (text) status_->SetText(*text);
}

}  // namespace setup
