#include "install/conflict_removal.h"

#include "packages/uninstall_from_cache.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"

namespace setup {

bool RemoveConflictingInstallation(const RunContext& run, ProductRecord& installed) {
  const std::wstring displayName = installed.DisplayName();
  run.log.WriteLog(log_lines::kAutomaticUninstall, displayName);
  // Only a launcher without any interface removes without one; "/qn+" with its finish message
  // box shows the basic interface.
  const UiLevel uiLevel = run.commandLine.UiLevel() == UiLevel::None() ? UiLevel::None() : UiLevel::Basic();
  const SetupResult removal = UninstallFromCache(run.platform, run.log, installed, uiLevel);
  if (removal.kind == kResultSuccess) return true;
  if (removal.kind == kResultNoMsiForUninstall) {
    run.ShowMessageBox(run.languages.FormatText(IDS_MSG_REMOVAL_RESOURCES_MISSING, displayName),
                       platform::MessageBoxIcon::None);
  }
  run.result = removal;
  run.log.WriteLog(log_lines::kAutomaticUninstallFailed, removal.kind, DescribeResult(removal, *run.platform.system));
  return false;
}

}  // namespace setup
