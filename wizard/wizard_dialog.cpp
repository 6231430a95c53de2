#include "wizard/wizard_dialog.h"

#include "install/installer_error.h"
#include "packages/package_resources.h"
#include "packages/product_kinds.h"
#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"

namespace setup {

CWizardDialog::CWizardDialog(const RunContext& run, std::wstring title, const std::vector<ProductRecord>& quickInstall,
                             std::function<void()> reportPendingError)
    : CDialogBase(run, true),
      title_(std::move(title)),
      quickInstall_(quickInstall),
      reportPendingError_(std::move(reportPendingError)),
      attended_(run.commandLine.UiLevel().IsFull()),
      mainProductInstalled_(run.packages.Main() != nullptr && run.packages.Main()->registered) {
  for (const SetupPackage& package : run.packages.packages) {
    for (const ProductRecord& product : package.products) servicePage_ |= IsServiceProduct(product.Entry());
  }
  for (const SetupPackage& package : run.packages.packages) {
    if (package.productName.find(L"Pellomar Server") != std::wstring::npos) {
      backupPage_ = true;
      break;
    }
    if (package.productName.find(L"Brammel Server") != std::wstring::npos &&
        package.productName.find(L"Advanced Edition") != std::wstring::npos) {
      clusterPage_ = true;
    }
  }
}

CWizardDialog::~CWizardDialog() {
  pages_.clear();
  if (whiteBrush_ != 0) gui_.DestroyBrush(whiteBrush_);
}

bool CWizardDialog::AddPage(std::unique_ptr<WizardPageBase> page) {
  if (pages_.size() >= kMaxPages) return false;
  pages_.push_back(std::move(page));
  return true;
}

bool CWizardDialog::AddEmptyEntry() { return AddPage(nullptr); }

bool CWizardDialog::AddFinishPage(std::unique_ptr<WizardPageBase> page) {
  if (pages_.size() >= kMaxPages) return false;
  finishIndex_ = static_cast<int>(pages_.size());
  return AddPage(std::move(page));
}

int CWizardDialog::DoModal() {
  const int result = CDialogBase::DoModal(IDD_WIZARD);
  if (result == platform::kDialogNotCreated) {
    // No page ran: the run did nothing, and must not end as a success.
    run_.log.WriteLog(log_lines::kWizardNotCreated);
    run_.result.Record(kResultInstallFailed, gui_.DialogCreationError(), false);
  }
  return result;
}

WizardPageBase* CWizardDialog::Entry(int index) const {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return nullptr;
  return pages_[static_cast<std::size_t>(index)].get();
}

void CWizardDialog::OnInitDialog(platform::WindowHandle dialog) {
  CDialogBase::OnInitDialog(dialog);
  if (!attended_) gui_.Show(dialog, false);
  // Made before the pages, so that their controls are drawn on white from the first paint.
  whiteBrush_ = gui_.MakeBrush(kWhite);
  const platform::WindowHandle pageArea = FrameControl(IDC_PAGE_AREA);
  const platform::Rect area = gui_.WindowRect(pageArea);
  for (const auto& page : pages_) {
    if (page) page->Create(pageArea, {20, 10, area.width - 40, area.height - 20});
  }
  current_ = 0;
  if (WizardPageBase* first = Entry(0)) first->Activate();
  gui_.SetText(dialog, title_);
  icon_ = gui_.LoadIconResource(std::uint32_t{IDI_WIZARD});
  gui_.SetWindowIcons(dialog, icon_);
}

void CWizardDialog::OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) {
  if (window != Window()) return;
  if (controlId == IDC_LANGUAGE) {
    if (notification == platform::kNotifySelectionChanged) OnLanguageChanged();
    return;
  }
  if (notification != platform::kNotifyClicked) return;
  if (controlId == platform::kIdOk) GoNext();
  else if (controlId == IDC_BACK) GoBack();
  else if (controlId == platform::kIdCancel) GoCancel();
}

bool CWizardDialog::ReportPendingError() {
  if (run_.result.kind == kResultSuccess || run_.result.reported) return false;
  reportPendingError_();
  return true;
}

void CWizardDialog::GoNext() {
  bool refused = false;
  if (WizardPageBase* page = Entry(current_)) {
    refused = !page->OnNext();
    if (!refused) {
      page->Deactivate();
      ++current_;
    }
  }
  // Nobody can put a refusal right in a run that does not wait: activated again, the page
  // would walk into the same refusal for ever. Such a run ends with a failure.
  if (refused && !IsAttended() && run_.result.kind == kResultSuccess) {
    run_.result.Record(kResultInstallFailed, 0, false);
  }
  if (ReportPendingError() || (refused && !IsAttended())) {
    if (finishIndex_ > 0 && current_ != finishIndex_) {
      current_ = finishIndex_;
      gui_.BringToForeground(Window());
    } else {
      current_ = static_cast<int>(pages_.size());
    }
  }
  if (WizardPageBase* next = Entry(current_)) {
    gui_.Enable(FrameControl(IDC_BACK), true);
    next->Activate();
  } else {
    gui_.EndDialog(Window(), platform::kDialogOk);
  }
}

void CWizardDialog::GoBack() {
  WizardPageBase* page = Entry(current_);
  if (!page || !page->OnBack()) return;
  page->Deactivate();
  if (current_ == 0) {
    GoCancel();
    return;
  }
  --current_;
  if (current_ == 0) gui_.Enable(FrameControl(IDC_BACK), false);
  if (WizardPageBase* previous = Entry(current_)) previous->Activate();
}

void CWizardDialog::GoCancel() {
  if (WizardPageBase* page = Entry(current_)) {
    if (!page->OnCancel()) return;
    page->Deactivate();
  }
  if (finishIndex_ <= 0 || current_ == finishIndex_) {
    gui_.EndDialog(Window(), platform::kDialogCancel);
    return;
  }
  ReportPendingError();
  current_ = finishIndex_;
  Entry(current_)->Activate();
}

bool CWizardDialog::HasNextPage() const { return current_ >= 0 && Entry(current_ + 1) != nullptr; }

bool CWizardDialog::IsAttended() const { return attended_ && quickInstall_.empty(); }
bool CWizardDialog::IsRepair() const { return run_.commandLine.IsRepair(); }
bool CWizardDialog::IsRemoval() const { return run_.commandLine.IsUninstall(); }
bool CWizardDialog::IsFreshInstall() const { return !IsRemoval() && !IsRepair() && !mainProductInstalled_; }
bool CWizardDialog::IsMaintenance() const { return mainProductInstalled_ && !IsRepair() && !IsRemoval(); }

void CWizardDialog::RecordInstallerError(std::uint32_t installerCode) {
  setup::RecordInstallerError(run_.result, installerCode);
}

void CWizardDialog::RefreshFrameTexts() {
  const LanguageCatalog& languages = run_.languages;
  gui_.SetText(Window(), languages.FormatText(IDS_WIZARD_TITLE, run_.packageResources.ReadText(L"PRODUCT_NAME_0")));
  gui_.SetText(FrameControl(platform::kIdOk), languages.Text(IDS_NEXT));
  gui_.SetText(FrameControl(platform::kIdCancel), languages.Text(IDS_CANCEL));
  gui_.SetText(FrameControl(IDC_BACK), languages.Text(IDS_BACK));
  if (languages.IsMultiLanguage()) {
    const platform::WindowHandle combo = FrameControl(IDC_LANGUAGE);
    gui_.ComboClear(combo);
    for (const LanguageEntry& entry : languages.Entries()) {
      if (entry.available) gui_.ComboAdd(combo, entry.displayName);
    }
    if (const LanguageEntry* current = languages.Current()) gui_.ComboSelect(combo, current->displayName);
  }
  if (WizardPageBase* page = Entry(current_)) page->UpdateTexts();
}

void CWizardDialog::OnLanguageChanged() {
  run_.languages.SelectByName(gui_.ComboSelectedText(FrameControl(IDC_LANGUAGE)));
  WizardPageBase* page = Entry(current_);
  if (page) gui_.Show(page->Window(), false);
  RefreshFrameTexts();
  if (page) gui_.Show(page->Window(), true);
}

}  // namespace setup
