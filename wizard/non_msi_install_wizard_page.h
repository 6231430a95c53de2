// The install page of a setup whose packages Windows Installer does not install: a status line
// and a progress bar while the installer works on a worker thread. The page's own thread keeps
// pumping messages until the worker ends; the worker reaches the page only through posted
// messages, so a Cancel on the page's thread can never deadlock with it. Cancel (or Escape)
// asks the installer to stop after its current step.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "install/async_install_process.h"
#include "wizard/layout/containers.h"
#include "wizard/layout/widgets.h"
#include "wizard/wizard_page_base.h"

namespace setup {

// Posted by the progress bar when its position changed, and by the page when the worker left a
// new status text.
inline constexpr std::uint32_t kNonMsiProgressMessage = platform::kUserMessage + 2;
inline constexpr std::uint32_t kNonMsiStatusMessage = platform::kUserMessage + 4;

class NonMSIInstallWizardPage : public WizardPageBase, public SetupReportAsyncProgressIF {
 public:
  static constexpr int kProgressRange = 100;

  // Without an installer the page passes on at once.
  NonMSIInstallWizardPage(CWizardDialog& frame, std::unique_ptr<SetupAsyncInstallProcessIF> installer);
  ~NonMSIInstallWizardPage() override;

  // Runs the installer's operation for this run and leaves its result in the result record.
  void Activate() override;
  bool OnCancel() override;
  void OnShow() override {}
  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void UpdateTexts() override;
  bool OnPostedMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) override;

  // Told by the installer from the worker thread; the range is changed on the page's thread.
  void SetProgressRange(int range) override;
  void SetStatusText(const std::wstring& text) override;
  void SetProgressPos(int position) override;
  void StepProgress(int delta) override;

 private:
  enum class Operation { Install, Modify, Repair, Remove, Extract };
  Operation ChooseOperation() const;
  // The worker's procedure.
  SetupResult RunOperation(Operation operation);
  bool WorkerRunning() const;
  // Waits for the worker and records its result in the run's result record.
  void RecordResult();
  // On the page's thread: shows the status text handed over last.
  void ShowStatus();

  std::unique_ptr<SetupAsyncInstallProcessIF> installer_;
  std::unique_ptr<ICBSVerticalLayout> root_;
  ICBSTextWidget* status_ = nullptr;
  ICBSProgressWidget* progress_ = nullptr;
  std::future<SetupResult> worker_;
  std::mutex statusLock_;
  std::optional<std::wstring> pendingStatus_;
};

}  // namespace setup
