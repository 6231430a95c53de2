#include "server_config/connection_details_dlg.h"

#include <string>

#include "foundation/text.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

// The controls of the certificate rows, shown only for the SSL web server.
constexpr int kCertificateRows[] = {IDC_CERTIFICATE_LABEL,  IDC_CERTIFICATE_PATH, IDC_CERTIFICATE_BROWSE,
                                    IDC_PRIVATE_KEY_LABEL,  IDC_PRIVATE_KEY_PATH, IDC_PRIVATE_KEY_BROWSE,
                                    IDC_CHAIN_LABEL,        IDC_CHAIN_PATH,       IDC_CHAIN_BROWSE};

}  // namespace

CConnectionDetailsDlg::CConnectionDetailsDlg(platform::Gui& gui, const LanguageCatalog& languages, ServiceEntry& entry,
                                             ServiceEntry& owner, Mode mode)
    : ServiceDialog(gui, languages), entry_(entry), owner_(owner), mode_(mode) {}

int CConnectionDetailsDlg::DoModal() { return ServiceDialog::DoModal(IDD_CONNECTION_DETAILS); }

void CConnectionDetailsDlg::Initialise() {
  const bool ssl = mode_ == Mode::Ssl;
  gui_.SetText(dialog_, languages_.Text(ssl ? IDS_SSL_TITLE : IDS_HTTP_TITLE));
  const std::pair<int, std::uint32_t> labels[] = {
      {IDC_CONNECTION_ENABLED, IDS_CONNECTION_ENABLED}, {IDC_CONNECTION_PORT_LABEL, IDS_CONNECTION_PORT},
      {IDC_CERTIFICATE_LABEL, IDS_CERTIFICATE},         {IDC_CERTIFICATE_BROWSE, IDS_CERTIFICATE_BROWSE},
      {IDC_PRIVATE_KEY_LABEL, IDS_PRIVATE_KEY},         {IDC_PRIVATE_KEY_BROWSE, IDS_PRIVATE_KEY_BROWSE},
      {IDC_CHAIN_LABEL, IDS_CHAIN},                     {IDC_CHAIN_BROWSE, IDS_CHAIN_BROWSE},
      {platform::kIdOk, IDS_CONNECTION_OK},             {platform::kIdCancel, IDS_CONNECTION_CANCEL},
      {IDC_CONNECTION_EXPLANATION, ssl ? IDS_SSL_EXPLANATION : IDS_HTTP_EXPLANATION},
  };
  for (const auto& [control, text] : labels) SetItemTextId(control, text);
  SetItemText(IDC_CONNECTION_HEADING, entry_.Label());

  const platform::WindowHandle enabled = Item(IDC_CONNECTION_ENABLED);
  if (ssl) {
    gui_.SetChecked(enabled, entry_.sslEnabled);
    SetItemText(IDC_CONNECTION_PORT, std::to_wstring(entry_.sslPort));
    SetItemText(IDC_CERTIFICATE_PATH, owner_.certificate.path);
    SetItemText(IDC_PRIVATE_KEY_PATH, owner_.privateKey.path);
    SetItemText(IDC_CHAIN_PATH, owner_.certificateChain.path);
  } else {
    gui_.SetChecked(enabled, entry_.httpEnabled);
    // Without SSL the unencrypted web server is the only connection: it cannot be switched off.
    gui_.Enable(enabled, entry_.kind->sslSupported);
    gui_.Show(enabled, !entry_.kind->webServerAlwaysOn);
    SetItemText(IDC_CONNECTION_PORT, std::to_wstring(entry_.httpPort));
  }
  for (const int control : kCertificateRows) ShowItem(control, ssl);
}

void CConnectionDetailsDlg::Accept() {
  const bool enabled = gui_.IsChecked(Item(IDC_CONNECTION_ENABLED));
  const auto port = static_cast<std::int32_t>(ParseLeadingInteger(gui_.Text(Item(IDC_CONNECTION_PORT))));
  if (mode_ == Mode::Unencrypted) {
    entry_.httpEnabled = enabled;
    entry_.httpPort = port;
    return;
  }
  entry_.sslEnabled = enabled;
  entry_.sslPort = port;
  StoreFile(IDC_CERTIFICATE_PATH, owner_.certificate);
  StoreFile(IDC_PRIVATE_KEY_PATH, owner_.privateKey);
  StoreFile(IDC_CHAIN_PATH, owner_.certificateChain);
}

void CConnectionDetailsDlg::StoreFile(int pathId, CertificateFile& file) {
  const std::wstring path = gui_.Text(Item(pathId));
  if (path == file.path) return;
  file.path = path;
  file.given = true;
}

void CConnectionDetailsDlg::OnControl(int controlId) {
  switch (controlId) {
    case IDC_CERTIFICATE_BROWSE: Browse(IDC_CERTIFICATE_PATH); break;
    case IDC_PRIVATE_KEY_BROWSE: Browse(IDC_PRIVATE_KEY_PATH); break;
    case IDC_CHAIN_BROWSE: Browse(IDC_CHAIN_PATH); break;
    default: break;
  }
}

void CConnectionDetailsDlg::Browse(int pathId) {
  if (const std::optional<std::wstring> chosen = gui_.ChooseExistingFile(dialog_)) SetItemText(pathId, *chosen);
}

}  // namespace setup
