// The unpack page: a progress bar while a worker thread unpacks the packages this run acts
// on. The page's own thread keeps pumping messages until the worker ends, then moves on.
// The worker reaches the page only through posted messages (progress values and the detail
// line), so a Cancel that waits for the worker can never deadlock with it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "extraction/extraction_progress_handler.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class UnpackWorker;

// Posted by the worker when it has a new detail line for the page.
inline constexpr std::uint32_t kUnpackDetailMessage = platform::kUserMessage + 3;

class UnpackWizardPage : public WizardPageBase {
 public:
  // `cancelRequested` is the run's cancel flag, polled by the worker between packages.
  UnpackWizardPage(CWizardDialog& frame, std::atomic<bool>& cancelRequested);
  ~UnpackWizardPage() override;

  void Activate() override;
  bool OnCancel() override;
  void OnShow() override {}
  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void UpdateTexts() override;
  bool OnPostedMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) override;

 private:
  // Runs on the worker's thread: keeps the text and posts a notice; never waits for the page.
  void HandOverDetail(const std::wstring& text);
  // On the page's thread: shows the detail handed over last.
  void ShowDetail();
  // Moves the bar to every progress value waiting in the queue.
  void TakeProgress();

  std::atomic<bool>& cancelRequested_;
  platform::WindowHandle title_ = 0;
  platform::WindowHandle description_ = 0;
  platform::WindowHandle detail_ = 0;
  platform::WindowHandle progress_ = 0;
  std::unique_ptr<ExtractionProgressHandler> progressSink_;
  std::unique_ptr<UnpackWorker> worker_;
  bool detailGrown_ = false;
  std::mutex detailLock_;
  std::optional<std::wstring> pendingDetail_;
};

}  // namespace setup
