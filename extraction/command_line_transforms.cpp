#include "extraction/command_line_transforms.h"

#include "extraction/msi_database.h"
#include "foundation/path.h"
#include "foundation/text.h"

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
    log.WriteLog(L"TSL (c): Cannot open MIS database file %s. No transformations applied.", kLogWarnings,
                 database.Path());
    return;
  }
  const std::vector<std::wstring> list = SplitTransformList(transforms);
  log.WriteLog(L"TSL (c): Applying transformations: %s\r\n", kLogWarnings, transforms);
  const std::wstring destinationFolder = ICBSFilePath(std::wstring(packageFile)).Folder().String();
  if (database.ApplyTransforms(list, currentFolder, destinationFolder)) {
    log.WriteLog(L"TSL (c): Transformations successfully applied\r\n", kLogInfo);
  } else {
    log.WriteLog(L"TSL (c): Transformations failed\r\n", kLogWarnings);
  }
  // Leaving the scope commits every transform merged, also those before a failing one.
}

}  // namespace setup
