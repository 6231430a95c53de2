#include "server_config/service_details_dlg.h"

#include <algorithm>
#include <iterator>

#include "resources/resource_ids.h"

namespace setup {

namespace {

// The start types in the order the list offers them, with their texts.
struct StartTypeItem {
  ServiceStartType startType;
  std::uint32_t textId;
};
constexpr StartTypeItem kStartTypes[] = {
    {ServiceStartType::Auto, IDS_START_AUTOMATIC},
    {ServiceStartType::Demand, IDS_START_ON_DEMAND},
    {ServiceStartType::AutoDelayed, IDS_START_AUTOMATIC_DELAYED},
    {ServiceStartType::Disabled, IDS_START_DISABLED},
};

// The radio buttons in the order of LogonAccount.
constexpr int kAccountButtons[] = {IDC_ACCOUNT_LOCAL_SYSTEM, IDC_ACCOUNT_LOCAL_SERVICE, IDC_ACCOUNT_NETWORK_SERVICE,
                                   IDC_ACCOUNT_OTHER_USER};

}  // namespace

CServiceDetailsDlg::CServiceDetailsDlg(platform::Gui& gui, const LanguageCatalog& languages, ServiceEntry& entry)
    : ServiceDialog(gui, languages), entry_(entry) {}

int CServiceDetailsDlg::DoModal() { return ServiceDialog::DoModal(IDD_SERVICE_DETAILS); }

void CServiceDetailsDlg::Initialise() {
  gui_.AddToolTip(dialog_, Item(IDC_USER_NAME), languages_.Text(IDS_TIP_USER_NAME));
  gui_.AddToolTip(dialog_, Item(IDC_START_TYPE), languages_.Text(IDS_TIP_START_TYPE));
  gui_.SetText(dialog_, languages_.Text(IDS_SERVICE_TITLE));
  const std::pair<int, std::uint32_t> labels[] = {
      {IDC_SERVICE_NAME_LABEL, IDS_SERVICE_NAME_LABEL},
      {IDC_DISPLAY_NAME_LABEL, IDS_DISPLAY_NAME_LABEL},
      {IDC_START_TYPE_LABEL, IDS_START_TYPE_LABEL},
      {IDC_ACCOUNT_LABEL, IDS_ACCOUNT_LABEL},
      {IDC_ACCOUNT_LOCAL_SYSTEM, IDS_RADIO_LOCAL_SYSTEM},
      {IDC_ACCOUNT_LOCAL_SERVICE, IDS_RADIO_LOCAL_SERVICE},
      {IDC_ACCOUNT_NETWORK_SERVICE, IDS_RADIO_NETWORK_SERVICE},
      {IDC_ACCOUNT_OTHER_USER, IDS_RADIO_OTHER_USER},
      {IDC_USER_NAME_LABEL, IDS_USER_NAME_LABEL},
      {IDC_PASSWORD_LABEL, IDS_PASSWORD_LABEL},
      {platform::kIdOk, IDS_SERVICE_OK},
      {platform::kIdCancel, IDS_SERVICE_CANCEL},
      {IDC_SERVICE_EXPLANATION, IDS_SERVICE_EXPLANATION},
  };
  for (const auto& [control, text] : labels) SetItemTextId(control, text);

  const platform::WindowHandle combo = Item(IDC_START_TYPE);
  gui_.ComboClear(combo);
  for (const StartTypeItem& item : kStartTypes) {
    gui_.ComboAdd(combo, languages_.Text(item.textId));
    if (item.startType == entry_.startType) gui_.ComboSelect(combo, languages_.Text(item.textId));
  }
  SetItemText(IDC_SERVICE_NAME, entry_.serviceName);
  SetItemText(IDC_DISPLAY_NAME, entry_.displayName);
  SetItemText(IDC_USER_NAME, entry_.userName);
  SetItemText(IDC_PASSWORD, entry_.password);
  for (std::size_t i = 0; i < std::size(kAccountButtons); ++i) {
    gui_.SetChecked(Item(kAccountButtons[i]), static_cast<std::size_t>(entry_.account) == i);
  }
  if (entry_.kind->restrictedAccounts) {
    EnableItem(IDC_ACCOUNT_LOCAL_SERVICE, false);
    EnableItem(IDC_ACCOUNT_NETWORK_SERVICE, false);
  }
  UpdateUserControls();
}

void CServiceDetailsDlg::UpdateUserControls() {
  const bool otherUser = gui_.IsChecked(Item(IDC_ACCOUNT_OTHER_USER));
  for (const int control : {IDC_USER_NAME_LABEL, IDC_USER_NAME, IDC_PASSWORD_LABEL, IDC_PASSWORD}) {
    EnableItem(control, otherUser);
  }
}

void CServiceDetailsDlg::OnControl(int controlId) {
  if (std::find(std::begin(kAccountButtons), std::end(kAccountButtons), controlId) != std::end(kAccountButtons)) {
    UpdateUserControls();
  }
}

void CServiceDetailsDlg::Accept() {
  const std::wstring chosen = gui_.ComboSelectedText(Item(IDC_START_TYPE));
  for (const StartTypeItem& item : kStartTypes) {
    if (languages_.Text(item.textId) == chosen) entry_.startType = item.startType;
  }
  entry_.userName = gui_.Text(Item(IDC_USER_NAME));
  entry_.password = gui_.Text(Item(IDC_PASSWORD));
  for (std::size_t i = 0; i < std::size(kAccountButtons); ++i) {
    if (gui_.IsChecked(Item(kAccountButtons[i]))) entry_.account = static_cast<LogonAccount>(i);
  }
}

}  // namespace setup
