#include "extraction/command_line_transforms.h"

#include "extraction/msi_database.h"
#include "foundation/path.h"
#include "foundation/text.h"
#include "run/log_lines.h"

namespace setup {

std::vector<std::wstring> SplitTransformList(std::wstring_view transforms) {
  std::vector<std::wstring> entries;
  for (const std::wstring_view entry : Split(transforms, L';')) {
    if (!entry.empty()) entries.emplace_back(entry);
  }
  return entries;
}

void ApplyCommandLineTransforms(platform::Platform& platform, SetupLog& log, std::wstring_view packageFile,
                                std::wstring_view transforms, std::wstring_view currentFolder) {
  if (transforms.empty()) return;
  ICBSMSIDatabase database(platform, std::wstring(packageFile));
  if (database.Handle() == 0) {
    log.WriteLog(log_lines::kTransformDatabaseNotOpened, database.Path());
    return;
  }
  const std::vector<std::wstring> list = SplitTransformList(transforms);
  log.WriteLog(log_lines::kApplyingTransforms, transforms);
  const std::wstring destinationFolder = ICBSFilePath(std::wstring(packageFile)).Folder().String();
  if (database.ApplyTransforms(list, currentFolder, destinationFolder)) {
    log.WriteLog(log_lines::kTransformsApplied);
  } else {
    log.WriteLog(log_lines::kTransformsFailed);
  }
  // Leaving the scope commits every transform merged, also those before a failing one.
}

}  // namespace setup
