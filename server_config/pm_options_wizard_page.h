// The mobile server's backup page: before an upgrade it measures on a worker thread how much
// data a backup would copy and how much space the data drive has, turns the backup off by
// default when the space is short, and lets the user skip the backup, reset the database and
// choose the example solutions. Next leaves the choice as installer properties on the frame.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "server_config/backup_options.h"
#include "server_config/backup_size_worker.h"
#include "wizard/layout/containers.h"
#include "wizard/layout/widgets.h"
#include "wizard/wizard_page_base.h"

namespace setup {

// Posted by the size worker when its findings moved on, and the progress bar's message.
inline constexpr std::uint32_t kBackupSizeChangedMessage = platform::kUserMessage + 4;
inline constexpr std::uint32_t kBackupProgressMessage = platform::kUserMessage + 2;

class PMOptionsWizardPage : public WizardPageBase {
 public:
  // `cancelRequested` is the run's cancel flag: Cancel and Escape set it, the worker polls it.
  PMOptionsWizardPage(CWizardDialog& frame, std::atomic<bool>& cancelRequested);
  ~PMOptionsWizardPage() override;

  // Measures once, then shows what there is to choose; passes on when there is nothing.
  void Activate() override;
  // Asks before a backup is skipped or the database reset, then leaves the properties.
  bool OnNext() override;
  // Stops a running measurement and stays; otherwise leaves without recording an error.
  bool OnCancel() override;
  void OnShow() override {}
  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void UpdateTexts() override;
  void OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) override;
  bool OnPostedMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) override;

  const std::wstring& DataFolder() const { return dataFolder_; }
  const std::wstring& SolutionsFolder() const { return configuration_.solutionsFolder; }

 private:
  // Reads the configuration and measures; false when there is nothing to back up or the
  // measurement was ended by a quit message.
  bool PrepareBackupOptions();
  bool Measure();
  // Shows the example-solutions choice when the database is new or is being reset.
  bool UpdateSamplesOption();
  // Takes the worker's findings into the page.
  void RefreshDisplay();
  void Relayout();

  std::atomic<bool>& cancelRequested_;
  std::wstring dataFolder_;
  BackupConfiguration configuration_;
  std::optional<bool> prepared_;
  bool quit_ = false;
  // The page passed itself on this activation: Next leaves no properties.
  bool skipped_ = false;
  std::uint32_t descriptionId_;
  std::uint32_t statusId_;
  std::uint32_t freeMegabytes_ = 0;
  std::uint64_t totalBytes_ = 0;
  std::unique_ptr<BackupSizeWorker> worker_;
  std::atomic<bool> noticePending_ = false;

  std::unique_ptr<ICBSVerticalLayout> root_;
  ICBSTextWidget* title_ = nullptr;
  ICBSTextWidget* description_ = nullptr;
  ICBSStackLayout* stack_ = nullptr;
  ICBSLayout* calculation_ = nullptr;
  ICBSTextWidget* status_ = nullptr;
  ICBSProgressWidget* progress_ = nullptr;
  ICBSLayout* options_ = nullptr;
  ICBSTextWidget* sizeLabel_ = nullptr;
  ICBSTextWidget* freeLabel_ = nullptr;
  ICBSTextWidget* sizeValue_ = nullptr;
  ICBSTextWidget* freeValue_ = nullptr;
  ICBSCheckboxWidget* skip_ = nullptr;
  ICBSCheckboxWidget* reset_ = nullptr;
  ICBSTextWidget* resetExplanation_ = nullptr;
  ICBSCheckboxWidget* samples_ = nullptr;
};

}  // namespace setup
