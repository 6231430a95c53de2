#include "server_config/pm_options_wizard_page.h"

#include <chrono>

#include "foundation/file_utilities.h"
#include "foundation/text_mode_file.h"
#include "packages/package_cache.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

constexpr int kCheckboxIndent = 16;
constexpr int kOptionsIndent = 20;
// While the worker runs the page looks at the queue this often, so that Cancel is answered
// at once, and shows the findings at the other interval.
constexpr std::chrono::milliseconds kWorkerPoll{50};
constexpr std::uint32_t kRefreshIntervalMs = 200;
// After the worker ended the page keeps pumping for a second, 50 ms apart.
constexpr int kFinalPumpRounds = 20;
constexpr std::uint32_t kFinalPumpPauseMs = 50;

}  // namespace

PMOptionsWizardPage::PMOptionsWizardPage(CWizardDialog& frame, std::atomic<bool>& cancelRequested)
    : WizardPageBase(frame, L"BackupSettings"),
      cancelRequested_(cancelRequested),
      descriptionId_(IDS_BACKUP_DESCRIPTION),
      statusId_(IDS_BACKUP_CALCULATING) {
  const std::wstring root = PackageCacheRoot(frame.Run().platform).Path();
  if (!root.empty()) dataFolder_ = root + L"\\PellomarServer";
  configuration_.solutionsFolder = dataFolder_ + L"\\SolutionFiles";
}

PMOptionsWizardPage::~PMOptionsWizardPage() = default;

void PMOptionsWizardPage::CreateControls(platform::WindowHandle parent, int, int) {
  const WidgetParent widgets{gui_, parent};
  const auto text = [&] { return std::make_unique<ICBSTextWidget>(widgets, L"", true, kAlignStart); };
  // One line that takes only its own width: the label column stays as narrow as its longest
  // label, and the labels sit at its right edge.
  const auto line = [&] { return std::make_unique<ICBSTextWidget>(widgets, L"", false, kAlignStart); };
  root_ = std::make_unique<ICBSVerticalLayout>();
  root_->spacing = 10;

  auto header = std::make_unique<ICBSVerticalLayout>();
  header->spacing = 5;
  title_ = header->AddChild(text());
  title_->SetFont(frame_.Font(DialogFont::Tahoma9Bold));
  description_ = header->AddChild(text());
  root_->AddChild(std::move(header));

  auto stack = std::make_unique<ICBSStackLayout>();
  auto calculation = std::make_unique<ICBSVerticalLayout>();
  calculation->spacing = 5;
  status_ = calculation->AddChild(text());
  progress_ = calculation->AddChild(std::make_unique<ICBSProgressWidget>(widgets, kBackupProgressMessage, 100));
  progress_->SetExpanding(true, false);
  calculation_ = stack->AddChild(std::move(calculation));

  auto options = std::make_unique<ICBSVerticalLayout>();
  options->spacing = 10;
  options->SetLeftMargin(kOptionsIndent);
  auto sizes = std::make_unique<ICBSHorizontalLayout>();
  sizes->spacing = 5;
  auto labels = std::make_unique<ICBSVerticalLayout>();
  sizeLabel_ = labels->AddChild(line(), kAlignEnd);
  freeLabel_ = labels->AddChild(line(), kAlignEnd);
  sizes->AddChild(std::move(labels));
  auto values = std::make_unique<ICBSVerticalLayout>();
  values->SetExpanding(true, false);
  sizeValue_ = values->AddChild(line());
  freeValue_ = values->AddChild(line());
  sizeValue_->SetExpanding(true, false);
  freeValue_->SetExpanding(true, false);
  sizes->AddChild(std::move(values));
  options->AddChild(std::move(sizes));
  skip_ = options->AddChild(std::make_unique<ICBSCheckboxWidget>(widgets, L"", true, IDC_BACKUP_SKIP));
  auto reset = std::make_unique<ICBSVerticalLayout>();
  reset->spacing = 3;
  reset_ = reset->AddChild(std::make_unique<ICBSCheckboxWidget>(widgets, L"", true, IDC_BACKUP_RESET_DATABASE));
  resetExplanation_ = reset->AddChild(text());
  resetExplanation_->SetLeftMargin(kCheckboxIndent);
  options->AddChild(std::move(reset));
  options_ = stack->AddChild(std::move(options));
  calculation_->Hide();
  options_->Hide();
  stack_ = root_->AddChild(std::move(stack));

  samples_ = root_->AddChild(std::make_unique<ICBSCheckboxWidget>(widgets, L"", true, IDC_BACKUP_SAMPLES));
  samples_->SetChecked(true);
  samples_->Hide();
}

void PMOptionsWizardPage::UpdateTexts() {
  title_->SetText(languages_.Text(IDS_UNPACK_TITLE));
  description_->SetText(languages_.Text(descriptionId_));
  status_->SetText(languages_.Text(statusId_));
  sizeLabel_->SetText(languages_.Text(IDS_BACKUP_SIZE));
  freeLabel_->SetText(languages_.Text(IDS_BACKUP_AVAILABLE));
  skip_->SetText(languages_.Text(IDS_BACKUP_SKIP));
  reset_->SetText(languages_.Text(IDS_BACKUP_RESET_DATABASE));
  resetExplanation_->SetText(languages_.Text(IDS_BACKUP_RESET_EXPLANATION));
  samples_->SetText(languages_.Text(IDS_BACKUP_SAMPLES));
  sizeValue_->SetText(MegabytesText(languages_, totalBytes_ / kBytesPerMegabyte));
  freeValue_->SetText(MegabytesText(languages_, freeMegabytes_));
  Relayout();
}

void PMOptionsWizardPage::Relayout() {
  const platform::Size client = gui_.ClientSize(Window());
  root_->SetGeometry({0, 0, client.width, client.height});
}

void PMOptionsWizardPage::Activate() {
  const RunContext& run = frame_.Run();
  run.log.WriteLog(log_lines::kActivatingPage, Name());
  skipped_ = false;
  if (!frame_.IsFreshInstall() || !frame_.IsAttended()) {
    skipped_ = true;
    frame_.GoNext();
    return;
  }
  gui_.Show(frame_.FrameControl(IDC_LANGUAGE), false);
  gui_.Enable(frame_.FrameControl(IDC_BACK), true);
  stack_->SelectChild(calculation_);
  UpdateTexts();
  const bool ok = PrepareBackupOptions();
  if (quit_) return;
  stack_->SelectChild(ok ? options_ : nullptr);
  const bool shown = UpdateSamplesOption();
  samples_->SetLeftMargin(ok ? kCheckboxIndent : 0);
  if (shown && !ok) descriptionId_ = IDS_BACKUP_SAMPLES_ONLY;
  frame_.RefreshFrameTexts();
  if (!ok && !shown) {
    skipped_ = true;
    frame_.GoNext();
    return;
  }
  gui_.Enable(frame_.FrameControl(platform::kIdOk), true);
  // Disabled while measuring, Next lost the keyboard focus, and a window without a focus
  // takes no Tab: the focus goes back to it.
  FocusFrameControl(platform::kIdOk);
  gui_.Show(Window(), true);
}

bool PMOptionsWizardPage::PrepareBackupOptions() {
  if (prepared_) return *prepared_;
  prepared_ = false;
  const ICBSFileUtilities files(frame_.Run().platform);
  const auto lines = ReadTextModeLines(*frame_.Run().platform.files, ICBSFilePath(dataFolder_ + L"\\pellomarserver.cfg"));
  if (dataFolder_.empty() || !lines) return false;
  configuration_ = ParseBackupConfiguration(*lines, dataFolder_ + L"\\SolutionFiles");

  UpdateTexts();
  gui_.Enable(frame_.FrameControl(platform::kIdCancel), true);
  if (!files.FolderExists(dataFolder_)) return false;
  prepared_ = Measure();
  return *prepared_;
}

bool PMOptionsWizardPage::Measure() {
  const RunContext& run = frame_.Run();
  gui_.Show(Window(), true);
  gui_.Enable(frame_.FrameControl(platform::kIdOk), false);
  // Leaving the page would activate another one inside this page's loop.
  gui_.Enable(frame_.FrameControl(IDC_BACK), false);
  skip_->SetChecked(configuration_.avoidBackup);
  const platform::WindowHandle page = Window();
  worker_ = std::make_unique<BackupSizeWorker>(run.platform, dataFolder_, configuration_.solutionsFolder,
                                               cancelRequested_, [this, page] {
                                                 // One notice at a time: the page reads every field when it comes.
                                                 if (!noticePending_.exchange(true)) {
                                                   gui_.Post(page, kBackupSizeChangedMessage, 0, 0);
                                                 }
                                               });
  worker_->Start();
  run.log.WriteLog(log_lines::kBackupWorkerThreadCreated);

  std::uint32_t lastRefresh = run.platform.system->TickCount();
  while (!worker_->Finished()) {
    if (!gui_.PumpPendingMessages()) {
      // The quit stays in the queue for the wizard's loop; the worker stops at its next look.
      run.log.WriteLog(log_lines::kQuitReceived);
      cancelRequested_ = true;
      worker_.reset();
      quit_ = true;
      return false;
    }
    if (worker_->WaitFinished(kWorkerPoll)) break;
    if (run.platform.system->TickCount() - lastRefresh >= kRefreshIntervalMs) {
      RefreshDisplay();
      lastRefresh = run.platform.system->TickCount();
    }
  }
  run.log.WriteLog(log_lines::kWorkerThreadStopped);
  RefreshDisplay();
  for (int round = 0; round < kFinalPumpRounds; ++round) {
    if (!gui_.PumpPendingMessages()) break;
    run.platform.system->Sleep(kFinalPumpPauseMs);
  }
  worker_->Join();
  RefreshDisplay();
  worker_.reset();

  gui_.Enable(frame_.FrameControl(IDC_BACK), true);
  if (cancelRequested_) run.result.Record(kResultUserCancelled, 0, false);
  statusId_ = IDS_BACKUP_FINISHED;
  status_->SetText(languages_.Text(statusId_));
  return true;
}

void PMOptionsWizardPage::RefreshDisplay() {
  if (!worker_) return;
  noticePending_ = false;
  freeMegabytes_ = worker_->freeMegabytes;
  totalBytes_ = worker_->totalBytes;
  if (BackupSpaceShort(freeMegabytes_, totalBytes_)) skip_->SetChecked(true);
  gui_.SetProgressRange(progress_->Window(), worker_->progressMaximum);
  gui_.SetProgressPosition(progress_->Window(), worker_->progressPosition);
  sizeValue_->SetText(MegabytesText(languages_, totalBytes_ / kBytesPerMegabyte));
  freeValue_->SetText(MegabytesText(languages_, freeMegabytes_));
}

bool PMOptionsWizardPage::OnPostedMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t,
                                          std::intptr_t) {
  if (window != Window() || message != kBackupSizeChangedMessage) return false;
  RefreshDisplay();
  return true;
}

bool PMOptionsWizardPage::UpdateSamplesOption() {
  const bool shown = !ICBSFileUtilities(frame_.Run().platform).FileExists(dataFolder_ + L"\\pellomar.db") ||
                     reset_->IsChecked();
  if (shown) samples_->Show();
  else samples_->Hide();
  samples_->InvalidateLayout(true);
  return shown;
}

void PMOptionsWizardPage::OnCommand(platform::WindowHandle, int controlId, std::uint16_t notification) {
  if (controlId != IDC_BACKUP_RESET_DATABASE || notification != platform::kNotifyClicked) return;
  UpdateSamplesOption();
  Relayout();
}

bool PMOptionsWizardPage::OnCancel() {
  // Leaving the setup here is the user's exit like anywhere else.
  if (!worker_) return WizardPageBase::OnCancel();
  cancelRequested_ = true;
  // The worker looks at the flag between files; it never waits for this thread.
  worker_->Join();
  return false;
}

bool PMOptionsWizardPage::OnNext() {
  if (skipped_) return true;
  const BackupChoice choice{skip_->IsChecked(), reset_->IsChecked(), gui_.IsShown(samples_->Window()),
                            samples_->IsChecked()};
  if (const std::wstring warning = BackupWarning(languages_, choice); !warning.empty()) {
    const std::uint32_t style =
        platform::kMessageBoxOkCancel | static_cast<std::uint32_t>(platform::MessageBoxIcon::Exclamation);
    if (frame_.Run().platform.ui->AskMessageBox(warning, frame_.Run().caption, style) != platform::kDialogOk) {
      return false;
    }
  }
  frame_.backupProperties = BackupProperties(choice);
  return true;
}

}  // namespace setup
