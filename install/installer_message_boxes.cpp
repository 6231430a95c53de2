#include "install/installer_message_boxes.h"

namespace setup {

int InstallerMessageBoxes::HandleMessage(std::uint32_t messageType, std::wstring_view text) {
  if ((messageType & platform::kInstallMessageTypeMask) != platform::kInstallMessageUser) return 0;
  if (run_.commandLine.UiLevel().IsQuiet()) return 0;
  return run_.platform.ui->AskMessageBox(text, run_.caption, messageType & platform::kInstallMessageStyleMask);
}

}  // namespace setup
