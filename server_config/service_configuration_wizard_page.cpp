#include "server_config/service_configuration_wizard_page.h"

#include <algorithm>

#include "resources/resource_ids.h"
#include "server_config/connection_details_dlg.h"
#include "server_config/password_dialog.h"
#include "server_config/service_command_line.h"
#include "server_config/service_details_dlg.h"
#include "server_config/service_entries.h"
#include "server_config/service_properties.h"
#include "server_config/service_summaries.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

platform::Rect Between(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

// The width of the tab control's frame around its pages.
constexpr int kTabFrame = 2;

// Per row: its button, summary, title text, button text, and its offset below the tabs.
struct RowSpec {
  int buttonId;
  int summaryId;
  std::uint32_t titleId;
  std::uint32_t buttonTextId;
  int top;
};
constexpr RowSpec kRows[] = {
    {IDC_HTTP_CHANGE, IDC_HTTP_SUMMARY, IDS_HTTP_TITLE, IDS_HTTP_CHANGE, 13},
    {IDC_SSL_CHANGE, IDC_SSL_SUMMARY, IDS_SSL_TITLE, IDS_SSL_CHANGE, 67},
    {IDC_SERVICE_CHANGE, IDC_SERVICE_SUMMARY, IDS_SERVICE_TITLE, IDS_SERVICE_CHANGE, 121},
};

}  // namespace

ServiceConfigurationWizardPage::ServiceConfigurationWizardPage(CWizardDialog& frame, PropertyEncryption& encryption)
    : WizardPageBase(frame, L"ServiceConfiguration"),
      encryption_(encryption),
      entries_(BuildServiceEntries(frame.Run().platform, frame.Run().packages)),
      tabs_(frame.Gui()) {
  PairServiceEntries(entries_);
}

void ServiceConfigurationWizardPage::CreateControls(platform::WindowHandle parent, int width, int height) {
  if (entries_.empty()) return;
  const platform::WindowHandle tabs = tabs_.Create(parent, IDC_SERVICE_TABS, {0, 0, width, height});
  gui_.SetFont(tabs, frame_.Font(DialogFont::Tahoma9), false);
  const platform::Rect first = gui_.FirstTabRect(tabs);
  const int left = first.x;
  const int bottom = first.y + first.height;
  const auto make = [&](platform::ControlKind kind, int id, const platform::Rect& rect, DialogFont font) {
    platform::ControlSpec spec;
    spec.kind = kind;
    spec.id = id;
    spec.rect = rect;
    const platform::WindowHandle control = gui_.CreateControl(parent, spec, nullptr);
    gui_.SetFont(control, frame_.Font(font), false);
    return control;
  };
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const RowSpec& spec = kRows[i];
    const int top = bottom + spec.top;
    Row& row = rows_[i];
    row.title = make(platform::ControlKind::StaticText, platform::kIdStatic,
                     Between(left + 10, top + 2, left + 310, top + 18), DialogFont::Tahoma9);
    row.button = make(platform::ControlKind::Button, spec.buttonId, Between(left + 317, top, left + 410, top + 22),
                      DialogFont::Tahoma9);
    // The last summary ends above the tab control's lower frame even where the page came out
    // shorter than the rows (a frame font that does not grow in step with the DPI).
    row.summary = make(platform::ControlKind::RichText, spec.summaryId,
                       Between(left + 10, top + 21, left + 410, std::min(top + 53, height - kTabFrame)),
                       DialogFont::Tahoma8);
  }
  // Made first, the tab control lies above the rows; below them it leaves them visible.
  gui_.SendToBack(tabs);
}

ServiceEntry* ServiceConfigurationWizardPage::SelectedEntry() {
  if (tabs_.Window() == 0) return nullptr;
  const std::optional<std::intptr_t> index = gui_.TabSelectedData(tabs_.Window());
  if (!index || *index < 0 || static_cast<std::size_t>(*index) >= entries_.size()) return nullptr;
  return &entries_[static_cast<std::size_t>(*index)];
}

void ServiceConfigurationWizardPage::OnShow() {
  if (tabs_.Window() == 0 || gui_.TabCount(tabs_.Window()) == 0) {
    for (std::size_t i = 0; i < entries_.size() && tabs_.Window() != 0; ++i) {
      if (entries_[i].IsSelected()) gui_.TabAdd(tabs_.Window(), entries_[i].Label(), static_cast<std::intptr_t>(i));
    }
    if (tabs_.Window() == 0 || gui_.TabCount(tabs_.Window()) == 0) {
      // Nothing to configure: the page passes on. A run that does not wait for the user
      // moves on by itself once the page is active.
      if (frame_.IsAttended()) frame_.GoNext();
      return;
    }
    const RunContext& run = frame_.Run();
    ApplyCommandLine(entries_, run.packages, run.commandLine.Properties());
  }
  gui_.Enable(frame_.FrameControl(IDC_BACK), false);
  gui_.Show(tabs_.Window(), true);
  for (const Row& row : rows_) ShowRow(row, true);
  UpdateTexts();
  FocusFrameControl(platform::kIdOk);
  WizardPageBase::OnShow();
}

void ServiceConfigurationWizardPage::ShowRow(const Row& row, bool shown) {
  for (const platform::WindowHandle control : {row.title, row.button, row.summary}) gui_.Show(control, shown);
}

void ServiceConfigurationWizardPage::UpdateTexts() {
  const ServiceEntry* entry = SelectedEntry();
  if (!entry) return;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    gui_.SetText(rows_[i].title, languages_.Text(kRows[i].titleId));
    gui_.SetText(rows_[i].button, languages_.Text(kRows[i].buttonTextId));
  }
  gui_.SetRichText(rows_[kHttpRow].summary, HttpSummary(languages_, *entry));
  ShowRow(rows_[kSslRow], entry->kind->sslSupported);
  if (entry->kind->sslSupported) gui_.SetRichText(rows_[kSslRow].summary, SslSummary(languages_, *entry));
  ShowRow(rows_[kServiceRow], entry->kind->HasService());
  if (entry->kind->HasService()) gui_.SetRichText(rows_[kServiceRow].summary, ServiceSummary(languages_, *entry));
}

bool ServiceConfigurationWizardPage::OnNext() {
  CPasswordDialog prompt(gui_, languages_);
  const std::optional<std::wstring> properties =
      BuildProperties(frame_.Run(), entries_, prompt, encryption_, frame_.IsAttended());
  if (!properties) return false;
  frame_.serviceProperties = *properties;
  return true;
}

void ServiceConfigurationWizardPage::Deactivate() {
  if (tabs_.Window() != 0) gui_.Show(tabs_.Window(), false);
  for (const Row& row : rows_) {
    if (row.title != 0) ShowRow(row, false);
  }
  WizardPageBase::Deactivate();
}

void ServiceConfigurationWizardPage::OnCommand(platform::WindowHandle, int controlId, std::uint16_t notification) {
  if (controlId == IDC_SERVICE_TABS && notification == platform::kNotifyTabChanged) {
    UpdateTexts();
  } else if (notification == platform::kNotifyClicked &&
             (controlId == IDC_HTTP_CHANGE || controlId == IDC_SSL_CHANGE || controlId == IDC_SERVICE_CHANGE)) {
    OpenDialog(controlId);
  }
}

void ServiceConfigurationWizardPage::OpenDialog(int buttonId) {
  ServiceEntry* entry = SelectedEntry();
  if (!entry) return;
  int result = 0;
  if (buttonId == IDC_SERVICE_CHANGE) {
    result = CServiceDetailsDlg(gui_, languages_, *entry).DoModal();
  } else {
    const auto mode =
        buttonId == IDC_SSL_CHANGE ? CConnectionDetailsDlg::Mode::Ssl : CConnectionDetailsDlg::Mode::Unencrypted;
    result = CConnectionDetailsDlg(gui_, languages_, *entry, entries_.at(entry->settingsOwner), mode).DoModal();
  }
  if (result < 0) frame_.Run().ShowMessageBox(languages_.Text(IDS_ERROR_CREATING_DIALOG), platform::MessageBoxIcon::Error);
  UpdateTexts();
}

}  // namespace setup
