#include "wizard/system_integrity_wizard_page.h"

#include "install/conflict_removal.h"
#include "install/installer_error.h"
#include "packages/detection_context.h"
#include "packages/conflict_analysis.h"
#include "packages/package_queries.h"
#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// The page's picture, in pixels square.
constexpr int kPictureSize = 48;
constexpr std::size_t kListedProducts = 4;
constexpr std::wstring_view kListIndent = L"\n    ";

}  // namespace

std::wstring RemovalProductLines(const std::vector<ProductRecord>& products) {
  std::wstring lines;
  for (std::size_t i = 0; i < products.size() && i < kListedProducts; ++i) {
    lines += kListIndent;
    lines += products[i].DisplayName();
  }
  if (products.size() > kListedProducts) {
    lines += kListIndent;
    lines += L"...";
  }
  return lines;
}

SystemIntegrityWizardPage::SystemIntegrityWizardPage(CWizardDialog& frame)
    : WizardPageBase(frame, L"SystemIntegrity") {}

void SystemIntegrityWizardPage::CreateControls(platform::WindowHandle parent, int, int) {
  const WidgetParent widgets{gui_, parent};
  const auto text = [&] { return std::make_unique<ICBSTextWidget>(widgets, L"", true, kAlignStart); };
  root_ = std::make_unique<ICBSVerticalLayout>();
  root_->spacing = 10;

  auto header = std::make_unique<ICBSHorizontalLayout>();
  header->spacing = 10;
  const platform::IconHandle warning = gui_.LoadSizedIcon(std::wstring_view(L"IDB_WARNING_IMAGE"), kPictureSize);
  picture_ = header->AddChild(std::make_unique<ICBSImageWidget>(widgets, warning), kAlignStart, kAlignCentre);
  title_ = header->AddChild(text(), kAlignStart, kAlignCentre);
  title_->SetFont(frame_.Font(DialogFont::Tahoma9Bold));
  root_->AddChild(std::move(header));

  auto stack = std::make_unique<ICBSStackLayout>();
  auto abort = std::make_unique<ICBSVerticalLayout>();
  conflictList_ = abort->AddChild(text());
  conclusion_ = abort->AddChild(text());
  abortChild_ = stack->AddChild(std::move(abort));
  auto removal = std::make_unique<ICBSVerticalLayout>();
  conflictText_ = removal->AddChild(text());
  productList_ = removal->AddChild(text());
  auto instruction = text();
  instruction_ = instruction.get();
  removal->AddChild(std::make_unique<ICBSBoxLayout>(std::move(instruction), kAlignStart, kAlignEnd));
  removalChild_ = stack->AddChild(std::move(removal));
  // Widgets are made visible; the stack shows only the child that the check selects.
  abortChild_->Hide();
  removalChild_->Hide();
  stack_ = root_->AddChild(std::move(stack));
}

void SystemIntegrityWizardPage::Activate() {
  // Asked before the walk: the pages after this one may make the frame attended (the finish
  // page of a quick install waits for the user), and this page must not move on a second time.
  const bool walksByItself = !frame_.IsAttended();
  WizardPageBase::Activate();
  // A run that walks by itself has moved on already (Next passes a page without findings);
  // one that waits for the user passes the page here.
  if (finding_ == Finding::Skipped && !walksByItself) frame_.GoNext();
}

void SystemIntegrityWizardPage::OnShow() {
  const RunContext& run = frame_.Run();
  finding_ = Finding::Skipped;
  removals_.clear();
  const SetupPackage* main = run.packages.Main();
  // The check is for fresh installs and for maintenance runs of the suite.
  if (!main || frame_.IsRemoval() || frame_.IsRepair() || (frame_.IsMaintenance() && !IsSuitePackage(*main))) return;

  const ConflictAnalysis analysis = AnalyzeConflicts({Detection(run), run.packages, languages_}, *main);
  if (analysis.items.empty() && !analysis.blocking) return;
  if (analysis.blocking) ShowBlocking(analysis);
  else ShowRemovable(analysis);
}

void SystemIntegrityWizardPage::ShowBlocking(const ConflictAnalysis& analysis) {
  const RunContext& run = frame_.Run();
  finding_ = Finding::Blocking;
  std::wstring text;
  int blockers = 0;
  for (const ConflictItem& item : analysis.items) {
    if (item.replaceable) continue;
    text += item.message + L"\n\n";
    ++blockers;
  }
  run.log.WriteLog(log_lines::kConflictsAbort);
  run.log.WriteLog(log_lines::kBlockingConflicts, text);
  const std::uint32_t listId = blockers > 1 ? IDS_INTEGRITY_CONFLICT_LIST : IDS_INTEGRITY_ONE_CONFLICT;
  conflictList_->SetText(languages_.FormatText(listId, text));
  conclusion_->SetText(languages_.Text(IDS_INTEGRITY_CANNOT_CONTINUE));
  stack_->SelectChild(abortChild_);
  gui_.SetIconImage(picture_->Window(), gui_.LoadSizedIcon(std::wstring_view(L"IDB_ERROR_IMAGE"), kPictureSize));
  // The user can only cancel or go back.
  gui_.Enable(frame_.FrameControl(platform::kIdOk), false);
  FocusFrameControl(platform::kIdCancel);
  if (frame_.IsAttended()) gui_.Show(Window(), true);
}

void SystemIntegrityWizardPage::ShowRemovable(const ConflictAnalysis& analysis) {
  const RunContext& run = frame_.Run();
  finding_ = Finding::Removable;
  conflictText_->SetText(languages_.FormatText(
      IDS_INTEGRITY_REPLACEABLE,
      analysis.items.size() == 1 ? analysis.items.front().message : languages_.Text(IDS_INTEGRITY_TITLE)));
  for (const ConflictItem& item : analysis.items) {
    if (item.installedProduct) removals_.push_back(*item.installedProduct);
  }
  run.log.WriteLog(log_lines::kAutoRemovalProposed);
  productList_->SetText(languages_.FormatText(IDS_INTEGRITY_REMOVED_PRODUCTS, RemovalProductLines(removals_)));
  instruction_->SetText(languages_.Text(IDS_INTEGRITY_SELECT_REMOVE));
  stack_->SelectChild(removalChild_);
  gui_.SetIconImage(picture_->Window(), gui_.LoadSizedIcon(std::wstring_view(L"IDB_WARNING_IMAGE"), kPictureSize));
  // In a quick install the removal runs without asking, through Next.
  if (frame_.IsAttended()) gui_.Show(Window(), true);
}

void SystemIntegrityWizardPage::UpdateTexts() {
  title_->SetText(languages_.Text(IDS_INTEGRITY_TITLE));
  const bool removing = !removals_.empty();
  gui_.SetText(frame_.FrameControl(platform::kIdOk), languages_.Text(removing ? IDS_INTEGRITY_REMOVE : IDS_NEXT));
  // Back returns to the previous page; the check runs again when this page comes back.
  gui_.SetText(frame_.FrameControl(IDC_BACK), languages_.Text(removing ? IDS_INTEGRITY_RETRY : IDS_BACK));
  const platform::Size client = gui_.ClientSize(Window());
  root_->SetGeometry({0, 0, client.width, client.height});
}

bool SystemIntegrityWizardPage::OnNext() {
  if (finding_ == Finding::Blocking) {
    // Reached only in a run that walks by itself: it ends as cancelled by the user, on the
    // finish page.
    frame_.RecordInstallerError(kInstallerUserCancelled);
    Deactivate();
    return false;
  }
  if (!removals_.empty()) {
    const RunContext& run = frame_.Run();
    gui_.Enable(frame_.Window(), false);
    for (ProductRecord& product : removals_) {
      if (!RemoveConflictingInstallation(run, product)) {
        // The removal's failure is the pending error: the frame reports it and shows the
        // finish page. Products removed before stay removed.
        gui_.Enable(frame_.Window(), true);
        Deactivate();
        return false;
      }
    }
    gui_.Enable(frame_.Window(), true);
  }
  gui_.SetText(frame_.FrameControl(platform::kIdOk), languages_.Text(IDS_NEXT));
  return true;
}

}  // namespace setup
