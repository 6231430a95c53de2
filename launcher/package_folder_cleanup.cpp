#include "launcher/package_folder_cleanup.h"

#include <optional>

#include "foundation/file_utilities.h"
#include "foundation/format.h"
#include "foundation/text.h"
#include "packages/package_installation_state.h"
#include "packages/setup_package.h"
#include "run/log_lines.h"

namespace setup {
namespace {

void RemovePackageFolder(const RunContext& run, const std::wstring& baseFolder, const SetupPackage& package) {
  // A package without a folder of its own (no cache root, or no usable package code) has
  // nothing to remove; an empty path would name the current folder.
  if (package.packageFolder.empty()) return;
  if (!IsPackageFolderOf(baseFolder, package.packageFolder)) return;
  ICBSFileUtilities utilities(run.platform);
  if (!utilities.FolderExists(package.packageFolder)) return;
  run.log.WriteLog(log_lines::kDeletingPackageFolder, package.packageFolder);
  if (utilities.DeleteFolderTree(package.packageFolder)) {
    run.log.WriteLog(log_lines::kDeletedPackageFolder, package.packageFolder);
  }
}

void RemoveFoldersOfPackagesNotInstalled(const RunContext& run, const std::wstring& baseFolder,
                                         const DetectionContext& detection) {
  for (const SetupPackage& package : run.packages.packages) {
    if (!IsPackageInstalled(detection, package)) RemovePackageFolder(run, baseFolder, package);
  }
}

bool IsUninstallOfSeveralPackagesThatSucceeded(const RunContext& run) {
  return run.commandLine.IsUninstall() && run.packages.packages.size() >= 2 && run.result.kind == kResultSuccess;
}

}  // namespace

void RemoveUnneededPackageFolders(const RunContext& run, PackageCacheRoot& cacheRoot) {
  const SetupPackage* main = run.packages.Main();
  if (!main) return;
  const std::wstring& baseFolder = cacheRoot.Path();
  const DetectionContext detection = Detection(run);
  const CSetupAppCommandLineInfo& commandLine = run.commandLine;
  const bool uninstall = commandLine.IsUninstall();
  const bool succeeded = run.result.kind == kResultSuccess;
  // Asked once, and only when a rule's other conditions hold: a run that needs no folder
  // removed (a successful extraction, say) never asks Windows Installer.
  std::optional<bool> mainInstalledAnswer;
  const auto mainInstalled = [&] {
    if (!mainInstalledAnswer) mainInstalledAnswer = IsPackageInstalled(detection, *main);
    return *mainInstalledAnswer;
  };
  if (!EqualsIgnoreCase(main->installerType, kInstallerTypeMsi) && uninstall) {
    RemoveFoldersOfPackagesNotInstalled(run, baseFolder, detection);
  }
  if (succeeded && commandLine.IsFastOem() && mainInstalled()) {
    RemoveFoldersOfPackagesNotInstalled(run, baseFolder, detection);
  }
  if (!uninstall && !commandLine.IsRepair() && !succeeded && !mainInstalled()) {
    RemoveFoldersOfPackagesNotInstalled(run, baseFolder, detection);
  }
  if (IsUninstallOfSeveralPackagesThatSucceeded(run) && !mainInstalled()) RemovePackageFolder(run, baseFolder, *main);
}

void StartSelfDeletingCleanup(const RunContext& run, PackageCacheRoot& cacheRoot) {
  if (!IsUninstallOfSeveralPackagesThatSucceeded(run)) return;
  const std::wstring& packageBaseFolder = cacheRoot.Path();
  // Without the base folder the batch would land in the root of the drive; and the batch
  // deletes the main package's folder, which must be a folder right below the base folder.
  if (!IsPackageFolderOf(packageBaseFolder, run.packages.Main()->packageFolder)) return;
  // The batch lies beside the package folders, so that removing the main package's folder
  // does not pull the running batch file away from under itself.
  const std::wstring batchPath = packageBaseFolder + L"\\SelfDelete.bat";
  // Quoted: the common application-data folder may hold blanks ("Application Data").
  const std::wstring content =
      Format(L"@ECHO OFF\n rmdir /S /Q \"%s\"\n DEL \"%%~f0\"", run.packages.Main()->packageFolder);
  if (!run.platform.files->WriteFile(batchPath, run.platform.files->ToAnsi(content))) return;
  ICBSFileUtilities(run.platform).Wait(batchPath, false, L"", {}, platform::kWaitForever, true);
}

}  // namespace setup
