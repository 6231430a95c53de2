#include "wizard/unpack_wizard_page.h"

#include <chrono>

#include "extraction/unpack_list.h"
#include "extraction/unpack_worker.h"
#include "packages/package_resource_names.h"
#include "packages/package_resources.h"
#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// A product name this long needs two lines in the detail text.
constexpr std::size_t kLongProductName = 50;
constexpr int kDetailTop = 96;
constexpr int kProgressHeight = 14;
// How long the page waits for the worker between looks at the queue.
constexpr std::chrono::milliseconds kWorkerPoll{50};
// After the worker ended, the page keeps pumping this often, 50 ms apart, so that the last
// progress values are shown.
constexpr int kFinalPumpRounds = 20;
constexpr std::uint32_t kFinalPumpPauseMs = 50;

std::wstring MainProductName(const RunContext& run) {
  namespace names = package_resource_names;
  return run.packageResources.ReadText(names::PackageName(names::kProductName, 0));
}

std::wstring WithoutTrademarkSigns(std::wstring text) {
  std::erase(text, L'\u2122');
  return text;
}

}  // namespace

UnpackWizardPage::UnpackWizardPage(CWizardDialog& frame, std::atomic<bool>& cancelRequested)
    : WizardPageBase(frame, L"UnpackMSIFromEXE"), cancelRequested_(cancelRequested) {}

UnpackWizardPage::~UnpackWizardPage() = default;

void UnpackWizardPage::CreateControls(platform::WindowHandle parent, int width, int) {
  const auto make = [&](platform::ControlKind kind, int id, const platform::Rect& rect, DialogFont font) {
    platform::ControlSpec spec;
    spec.kind = kind;
    spec.id = id;
    spec.rect = rect;
    const platform::WindowHandle control = gui_.CreateControl(parent, spec, nullptr);
    if (kind != platform::ControlKind::ProgressBar) gui_.SetFont(control, frame_.Font(font), false);
    return control;
  };
  const bool longName = MainProductName(frame_.Run()).size() >= kLongProductName;
  const int detailBottom = longName ? 134 : 115;
  title_ = make(platform::ControlKind::StaticText, platform::kIdStatic, {0, 20, width, 19}, DialogFont::Tahoma9Bold);
  description_ = make(platform::ControlKind::StaticText, platform::kIdStatic, {0, 39, width, 57}, DialogFont::Tahoma9);
  detail_ = make(platform::ControlKind::StaticText, platform::kIdStatic, {0, kDetailTop, width, detailBottom - kDetailTop},
                 DialogFont::Tahoma9);
  progress_ = make(platform::ControlKind::ProgressBar, IDC_UNPACK_PROGRESS, {0, detailBottom, width, kProgressHeight},
                   DialogFont::Tahoma9);
  progressSink_ = std::make_unique<ExtractionProgressHandler>(gui_, *frame_.Run().platform.system,
                                                              Window());
  gui_.SetProgressRange(progress_, kUnpackProgressRange);
}

void UnpackWizardPage::UpdateTexts() {
  const RunContext& run = frame_.Run();
  gui_.SetText(title_, languages_.Text(IDS_UNPACK_TITLE));
  const std::wstring title = languages_.FormatText(IDS_WIZARD_TITLE, MainProductName(run));
  const std::uint32_t description =
      run.packages.packages.size() == 1 ? IDS_UNPACK_DESCRIPTION_ONE : IDS_UNPACK_DESCRIPTION_SEVERAL;
  gui_.SetText(description_, WithoutTrademarkSigns(languages_.FormatText(description, title)));
}

void UnpackWizardPage::Activate() {
  const RunContext& run = frame_.Run();
  run.log.WriteLog(log_lines::kActivatingPage, Name());
  UpdateTexts();
  gui_.Enable(frame_.FrameControl(IDC_BACK), false);
  gui_.Enable(frame_.FrameControl(platform::kIdOk), false);
  gui_.Enable(frame_.FrameControl(platform::kIdCancel), true);
  gui_.Show(Window(), true);
  // A quick install runs by itself: nothing on the wizard is for the user meanwhile.
  const bool quickInstall = frame_.IsQuickInstall();
  if (quickInstall) gui_.Enable(frame_.Window(), false);

  UnpackSettings settings{cancelRequested_, [this](const std::wstring& text) { HandOverDetail(text); },
                          !frame_.IsRepair() && !frame_.IsRemoval()};
  worker_ = std::make_unique<UnpackWorker>(&run, BuildUnpackList(run.packages, frame_.IsRepair(), run.platform),
                                           *progressSink_, std::move(settings));
  worker_->Start();
  run.log.WriteLog(log_lines::kWorkerThreadCreated);

  while (!worker_->Finished()) {
    TakeProgress();
    if (!gui_.PumpPendingMessages()) {
      run.log.WriteLog(log_lines::kQuitReceived);
      // The quit is left in the queue for the application; the worker stops at the next package.
      cancelRequested_ = true;
      worker_.reset();
      return;
    }
    worker_->WaitFinished(kWorkerPoll);
  }
  run.log.WriteLog(log_lines::kWorkerThreadStopped);
  TakeProgress();
  // Only a frame that someone can see needs time to show the last progress values.
  for (int round = 0; round < kFinalPumpRounds && gui_.IsShown(frame_.Window()); ++round) {
    TakeProgress();
    if (!gui_.PumpPendingMessages()) break;
    run.platform.system->Sleep(kFinalPumpPauseMs);
  }
  worker_.reset();

  if (cancelRequested_) run.result.Record(kResultUserCancelled, 0, false);
  gui_.Enable(frame_.FrameControl(platform::kIdOk), true);
  if (quickInstall) gui_.Enable(frame_.Window(), true);
  frame_.GoNext();
}

bool UnpackWizardPage::OnCancel() {
  if (!worker_) return WizardPageBase::OnCancel();
  // The worker looks at the flag between packages and at every read of a cabinet; the page's
  // loop keeps pumping (and painting) until it has stopped, then records the user's exit.
  cancelRequested_ = true;
  return false;
}

void UnpackWizardPage::HandOverDetail(const std::wstring& text) {
  {
    const std::lock_guard lock(detailLock_);
    pendingDetail_ = text;
  }
  gui_.Post(Window(), kUnpackDetailMessage, 0, 0);
}

bool UnpackWizardPage::OnPostedMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t) {
  if (window != Window()) return false;
  // Progress values also arrive here when the page's pump delivers them.
  if (message == kUnpackProgressMessage) {
    if (progress_ != 0) gui_.SetProgressPosition(progress_, static_cast<int>(wParam));
    return true;
  }
  if (message != kUnpackDetailMessage) return false;
  ShowDetail();
  return true;
}

void UnpackWizardPage::ShowDetail() {
  std::optional<std::wstring> text;
  {
    const std::lock_guard lock(detailLock_);
    text.swap(pendingDetail_);
  }
  if (!text || !gui_.IsShown(Window())) return;
  gui_.SetText(detail_, *text);
  if (detailGrown_) return;
  const platform::Rect before = GetRectInParent(detail_);
  const int needed = gui_.MeasureText(detail_, gui_.Font(detail_), *text, before.width, false).height;
  if (needed <= before.height) return;
  detailGrown_ = true;
  const int gained = FitHeightToText(detail_);
  const platform::Rect bar = GetRectInParent(progress_);
  MoveInParent(progress_, bar.x, bar.y + gained + 5);
  gui_.Invalidate(gui_.Parent(Window()), true);
}

void UnpackWizardPage::TakeProgress() {
  while (const auto value = gui_.TakePostedMessage(Window(), kUnpackProgressMessage)) {
    if (progress_ != 0) gui_.SetProgressPosition(progress_, static_cast<int>(*value));
  }
}

}  // namespace setup
