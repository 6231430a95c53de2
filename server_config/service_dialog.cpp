#include "server_config/service_dialog.h"

#include "wizard/wizard_dialog.h"

namespace setup {

ServiceDialog::ServiceDialog(platform::Gui& gui, const LanguageCatalog& languages) : gui_(gui), languages_(languages) {}

ServiceDialog::~ServiceDialog() {
  if (whiteBrush_ != 0) gui_.DestroyBrush(whiteBrush_);
}

int ServiceDialog::DoModal(std::uint32_t templateId) {
  const int result = gui_.RunModalDialog(templateId, *this);
  dialog_ = 0;
  return result;
}

void ServiceDialog::OnInitDialog(platform::WindowHandle dialog) {
  dialog_ = dialog;
  if (whiteBrush_ == 0) whiteBrush_ = gui_.MakeBrush(kWhite);
  Initialise();
}

std::optional<platform::ControlColours> ServiceDialog::OnControlColour(platform::WindowHandle) {
  return platform::ControlColours{std::nullopt, kWhite, whiteBrush_};
}

void ServiceDialog::OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) {
  if (window != dialog_ || notification != platform::kNotifyClicked) return;
  if (controlId == platform::kIdOk) {
    Accept();
    gui_.EndDialog(dialog_, platform::kDialogOk);
  } else if (controlId == platform::kIdCancel) {
    gui_.EndDialog(dialog_, platform::kDialogCancel);
  } else {
    OnControl(controlId);
  }
}

}  // namespace setup
