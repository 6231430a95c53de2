#include "extraction/package_folder.h"

#include "foundation/file_utilities.h"
#include "foundation/path.h"
#include "run/log_lines.h"

namespace setup {

bool CreatePackageFolder(platform::Platform& platform, SetupLog& log, std::wstring_view folder) {
  ICBSFileUtilities files(platform);
  if (files.FolderExists(folder)) return true;
  const std::wstring parent = ICBSFilePath(std::wstring(folder)).Folder().String();
  if (!parent.empty() && !files.FolderExists(parent) && !files.CreateFolderTree(parent)) return false;
  const std::vector<platform::AccessGrant> grants = {
      {platform::WellKnownAccount::System, platform::kGenericAll},
      {platform::WellKnownAccount::Administrators, platform::kGenericAll},
      {platform::WellKnownAccount::Users, platform::kGenericRead | platform::kGenericExecute},
  };
  switch (platform.files->CreateProtectedDirectory(folder, grants)) {
    case platform::CreateResult::Created:
      return true;
    case platform::CreateResult::AlreadyExists:
      // Made by someone else since the look above: not a folder of this run's making.
      return false;
    case platform::CreateResult::Failed:
      break;
  }
  // A file system without access lists: the folder is made and used without one.
  if (platform.files->CreateDirectory(folder) == platform::CreateResult::Failed) return false;
  log.WriteLog(log_lines::kPackageFolderNotProtected, folder);
  return true;
}

}  // namespace setup
