#include "launcher/package_folder_cleanup.h"

#include <optional>
#include <vector>

#include "foundation/file_utilities.h"
#include "foundation/format.h"
#include "foundation/text.h"
#include "packages/package_folder_trust.h"
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

// The batch file's folder below the base folder, and the rights it and the batch file get:
// administrators alone, since the batch runs with their rights.
constexpr std::wstring_view kCleanupFolderName = L"SetupCleanup";
constexpr std::wstring_view kBatchName = L"SelfDelete.bat";
const std::vector<platform::AccessGrant>& AdministratorsOnly() {
  static const std::vector<platform::AccessGrant> grants = {
      {platform::WellKnownAccount::System, platform::kGenericAll},
      {platform::WellKnownAccount::Administrators, platform::kGenericAll},
  };
  return grants;
}

// The folder for the batch file, made or kept so that only administrators may change what it
// holds: the base folder lets every user create files and folders, so a folder of that name
// may have been made by someone else. Why it cannot be had, or empty when it can.
std::wstring ProvideCleanupFolder(const RunContext& run, const std::wstring& folder) {
  platform::FileSystem& files = *run.platform.files;
  if (const auto attributes = files.Attributes(folder)) {
    const std::wstring reason = PackageFolderDistrust(run.platform, folder);
    if (reason.empty()) return {};
    run.log.WriteLog(log_lines::kCleanupFolderNotTrusted, EscapeControlCharacters(folder), reason);
    // Links in it, or a link of that name, are removed, not followed; so is a file of that name.
    const bool removed = attributes->directory || attributes->reparsePoint
                             ? ICBSFileUtilities(run.platform).DeleteFolderTree(folder)
                             : files.DeleteFile(folder) == platform::DeleteResult::Deleted;
    if (!removed) return L"its folder cannot be trusted or removed";
  }
  // A folder that appears between the removal and the creation is someone else's.
  if (files.CreateProtectedDirectory(folder, AdministratorsOnly()) != platform::CreateResult::Created) {
    return L"its folder cannot be made with its own access list";
  }
  return {};
}

// Writes the batch file into its folder as a new file that only administrators may change;
// why it could not be, or empty when it was written. An earlier run's batch file is never
// written into: it goes, and a new one is made.
std::wstring WriteBatchFile(const RunContext& run, const std::wstring& folder, const std::wstring& batchPath,
                            std::string_view bytes) {
  if (std::wstring reason = ProvideCleanupFolder(run, folder); !reason.empty()) return reason;
  const platform::DeleteResult removed = run.platform.files->DeleteFile(batchPath);
  if (removed != platform::DeleteResult::Deleted && removed != platform::DeleteResult::NotFound) {
    return L"an earlier batch file cannot be removed";
  }
  if (run.platform.files->CreateProtectedFile(batchPath, AdministratorsOnly(), bytes) !=
      platform::CreateResult::Created) {
    return L"it cannot be made with its own access list";
  }
  return {};
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
  // The batch runs with administrator rights, and the command processor reads a batch file as
  // it goes: it lies in a folder of its own that only administrators may change (beside the
  // package folders, so that removing the main package's folder does not pull the running
  // batch file away from under itself), and gets that list in the call that creates it.
  const std::wstring folder = packageBaseFolder + L"\\" + std::wstring(kCleanupFolderName);
  const std::wstring batchPath = folder + L"\\" + std::wstring(kBatchName);
  // Quoted: the common application-data folder may hold blanks ("Application Data").
  const std::wstring content =
      Format(L"@ECHO OFF\n rmdir /S /Q \"%s\"\n DEL \"%%~f0\"", run.packages.Main()->packageFolder);
  if (const std::wstring refusal = WriteBatchFile(run, folder, batchPath, run.platform.files->ToAnsi(content));
      !refusal.empty()) {
    run.log.WriteLog(log_lines::kSelfDeleteSkipped, EscapeControlCharacters(batchPath), refusal);
    return;
  }
  ICBSFileUtilities(run.platform).Wait(batchPath, false, L"", {}, platform::kWaitForever, true);
}

}  // namespace setup
