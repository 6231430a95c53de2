#include "extraction/package_folder.h"

#include "foundation/file_utilities.h"
#include "run/log_lines.h"

namespace setup {

bool CreatePackageFolder(platform::Platform& platform, SetupLog& log, std::wstring_view folder) {
  ICBSFileUtilities files(platform);
  if (files.FolderExists(folder)) return true;
  if (!files.CreateFolderTree(folder)) return false;
  const std::vector<platform::AccessGrant> grants = {
      {platform::WellKnownAccount::System, platform::kGenericAll},
      {platform::WellKnownAccount::Administrators, platform::kGenericAll},
      {platform::WellKnownAccount::Users, platform::kGenericRead | platform::kGenericExecute},
  };
  if (!platform.files->SetProtectedAccess(folder, grants)) {
    log.WriteLog(log_lines::kPackageFolderNotProtected, folder);
  }
  return true;
}

}  // namespace setup
