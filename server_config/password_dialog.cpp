#include "server_config/password_dialog.h"

#include "resources/resource_ids.h"

namespace setup {

CPasswordDialog::CPasswordDialog(platform::Gui& gui, const LanguageCatalog& languages)
    : ServiceDialog(gui, languages) {}

std::optional<std::wstring> CPasswordDialog::AskPassword(std::wstring_view displayName, std::wstring_view userName) {
  displayName_ = displayName;
  userName_ = userName;
  password_.clear();
  if (DoModal(IDD_PASSWORD) != platform::kDialogOk) return std::nullopt;
  return password_;
}

void CPasswordDialog::Initialise() {
  gui_.SetText(dialog_, languages_.Text(IDS_PASSWORD_TITLE));
  SetItemTextId(IDC_PASSWORD_TEXT, IDS_PASSWORD_TEXT);
  SetItemTextId(IDC_PASSWORD_SERVICE_LABEL, IDS_PASSWORD_SERVICE_LABEL);
  SetItemTextId(IDC_PASSWORD_ACCOUNT_LABEL, IDS_PASSWORD_ACCOUNT_LABEL);
  SetItemTextId(IDC_PASSWORD_EDIT_LABEL, IDS_PASSWORD_EDIT_LABEL);
  SetItemText(IDC_PASSWORD_SERVICE, displayName_);
  SetItemText(IDC_PASSWORD_ACCOUNT, userName_);
  SetItemText(IDC_PASSWORD_EDIT, L"");
  SetItemTextId(platform::kIdOk, IDS_SERVICE_OK);
  SetItemTextId(platform::kIdCancel, IDS_SERVICE_CANCEL);
}

void CPasswordDialog::Accept() { password_ = gui_.Text(Item(IDC_PASSWORD_EDIT)); }

}  // namespace setup
