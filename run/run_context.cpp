#include "run/run_context.h"

namespace setup {

void RunContext::ShowMessageBox(std::wstring_view text, platform::MessageBoxIcon icon) const {
  if (!commandLine.UiLevel().IsQuiet()) platform.ui->ShowMessageBox(text, caption, icon);
}

}  // namespace setup
