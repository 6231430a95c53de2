// Every line the launcher writes to the setup log, one row each: its kind (a launcher step
// begins with "TSL (c): "), its level and its exact format. The code writes the rows with
// SetupLog::WriteLog and the tests compose the texts they expect from the same rows. The
// texts are an interface that readers of setup logs rely on: they are kept byte for byte,
// spelling included.
#pragma once

#include <cstdint>
#include <string_view>

#include "run/log_line.h"

namespace setup::log_lines {

using Text = std::wstring_view;
using Number = std::int32_t;

constexpr LogLineKind kStep = LogLineKind::LauncherStep;
constexpr LogLineKind kPlain = LogLineKind::Plain;

// The run and exit sequences.
inline constexpr LogLine<Text, Text> kStarted{kPlain, kLogErrors,
                                              L"=== SetupLauncher started: %s Build type: SHIP ANSI %s\r\n"};
inline constexpr LogLine<Text> kCommandLine{kStep, kLogWarnings, L"CommandLine: %s\r\n"};
inline constexpr LogLine<> kValidationStarted{kPlain, kLogInfo,
                                              L"Validation if all necessary resources have been compiled into setup."};
inline constexpr LogLine<> kValidationFailed{kPlain, kLogErrors, L"Validation failed!"};
inline constexpr LogLine<Text> kOsNotAllowed{kStep, kLogWarnings, L"Setup not allowed to run on %s\r\n"};
inline constexpr LogLine<> kNoDirect2D{kPlain, kLogWarnings, L"No Direct2D found on this machine."};
inline constexpr LogLine<> kAlreadyRunning{kStep, kLogErrors, L"Setup already in progress.\r\n"};
inline constexpr LogLine<> kNoRights{kStep, kLogErrors, L"User has no sufficient rights to run setup.\r\n"};
inline constexpr LogLine<Text> kPackageBaseFolderRefused{
    kStep, kLogErrors,
    L"Package folder root %s refused: it is a link or not owned by Administrators or SYSTEM.\r\n"};
inline constexpr LogLine<> kAllInformationCollected{kStep, kLogInfo, L"All information collected. Start processing.\r\n"};
inline constexpr LogLine<> kWizardNotCreated{kStep, kLogErrors, L"The wizard window could not be created.\r\n"};
inline constexpr LogLine<Text> kError{kStep, kLogInfo, L"ERROR: %s\r\n"};
inline constexpr LogLine<> kEnteringExitInstance{kStep, kLogInfo, L"entering ExitInstance \r\n"};
inline constexpr LogLine<Text> kDeletingPackageFolder{kStep, kLogInfo, L"Deleting MSI folder %s\r\n"};
inline constexpr LogLine<Text> kDeletedPackageFolder{kStep, kLogInfo, L"Deleted MSI folder %s\r\n"};
inline constexpr LogLine<Text> kStopped{kPlain, kLogErrors, L"=== SetupLauncher stopped: %s\r\n"};
// The self-deleting batch file's folder and why it is removed and made afresh.
inline constexpr LogLine<Text, Text> kCleanupFolderNotTrusted{kStep, kLogWarnings,
                                                              L"Clean-up folder %s not used: %s.\r\n"};
// The batch file and why it is neither written nor started.
inline constexpr LogLine<Text, Text> kSelfDeleteSkipped{kStep, kLogWarnings,
                                                        L"Self-deleting batch file %s not started: %s.\r\n"};
// Written before Windows Installer takes the file over, so that its lines start on a line of their own.
inline constexpr LogLine<> kHandOver{kPlain, kLogErrors, L"\r\n"};

// The Windows version check.
inline constexpr LogLine<> kDeterminingOsVersion{kStep, kLogInfo, L"Determining OS version\r\n"};
inline constexpr LogLine<Text> kOsFound{kStep, kLogInfo, L"found %s\r\n"};
inline constexpr LogLine<Text, Text> kOsExpected{kStep, kLogInfo, L"Expect at least %s %s\r\n"};
inline constexpr LogLine<> kNoMinimumOs{kStep, kLogWarnings,
                                        L"Not checking OS version since no minimum version specified.\r\n"};
inline constexpr LogLine<> kDefaultOsText{kStep, kLogInfo, L"Default text for supported OSes used.\r\n"};
inline constexpr LogLine<> kCheckingOsVersion{kStep, kLogInfo, L"Checking OS version\r\n"};
inline constexpr LogLine<> kUnsupportedOsRestriction{kStep, kLogWarnings, L"Unsupported OS restriction selection!\r\n"};
inline constexpr LogLine<> kOsVersionCorrect{kStep, kLogInfo, L"OS version found to be correct.\r\n"};

// The package information and workload files.
inline constexpr LogLine<> kReadingPackageInformation{kStep, kLogInfo, L"Reading package information.\r\n"};
inline constexpr LogLine<Number> kPackageCount{kStep, kLogInfo, L"Installer contains %d packages.\r\n"};
inline constexpr LogLine<Text> kPackageInitialized{kStep, kLogInfo, L"Initialized state for package %s.\r\n"};
// The product code and the product name of a package whose product code is not a braced GUID.
inline constexpr LogLine<Text, Text> kProductCodeNotAGuid{kStep, kLogErrors,
                                                          L"Product code %s of package %s is not a GUID.\r\n"};
inline constexpr LogLine<Text> kWorkloadMissing{kPlain, kLogErrors, L"Workload file '%s' does not exist.\r\n"};
inline constexpr LogLine<Text, Number, Number> kWorkloadTooLarge{
    kPlain, kLogErrors, L"Workload '%s' is larger than the %d bytes the %d packages a setup may carry need.\r\n"};
inline constexpr LogLine<Text> kWorkloadNotAPackageArray{kPlain, kLogErrors,
                                                         L"Workload '%s' is not a proper JSON package array object.\r\n"};
inline constexpr LogLine<Text> kWorkloadEmpty{kPlain, kLogErrors, L"Workload '%s' doesn't contain any pakages.\r\n"};
inline constexpr LogLine<Text, Number, Number> kWorkloadTooManyPackages{
    kPlain, kLogErrors, L"Workload '%s' holds %d packages, more than the %d a setup may carry.\r\n"};
inline constexpr LogLine<> kWorkloadNotJson{kPlain, kLogErrors, L"Workload is not a proper JSON package array object.\r\n"};

// The sub-package selection of the command line.
inline constexpr LogLine<Text, Text> kSubPackageSelected{kStep, kLogInfo,
                                                         L"Avoid skipping of sub-package %s due to pattern '%s'.\r\n"};
inline constexpr LogLine<Text> kSubPackageHandled{kStep, kLogInfo,
                                                  L"set default handling of package %s due to command line argument.\r\n"};
inline constexpr LogLine<Text> kSubPackageSkipped{kStep, kLogInfo,
                                                  L"skipped handling of package %s due to command line argument.\r\n"};

// The upgrade analysis.
inline constexpr LogLine<> kDetectingUpgrade{kStep, kLogInfo, L"detecting upgrade or downgrade scenarios...\r\n"};
inline constexpr LogLine<Text> kUpgradeOf{kPlain, kLogInfo,
                                          L"    QUICK - This is a product upgrade of your current installation of %s.\r\n"};
inline constexpr LogLine<> kInstallationReplaced{kPlain, kLogInfo,
                                                 L"    QUICL - Your current installation will get replaced.\r\n"};

// Unpacking and transforms.
inline constexpr LogLine<Text> kNoPackageFolder{kStep, kLogErrors, L"No package folder for %s.\r\n"};
inline constexpr LogLine<Text> kExtractingResource{kStep, kLogWarnings, L"Extracting resource: %s\r\n"};
inline constexpr LogLine<Number> kCabinetError{kStep, kLogErrors, L"Error extracting cabinet file - %d.\r\n"};
inline constexpr LogLine<Text> kPackageFolderNotProtected{
    kStep, kLogWarnings, L"Could not protect the access list of the package folder %s.\r\n"};
// The folder and why it is removed and unpacked afresh.
inline constexpr LogLine<Text, Text> kPackageFolderNotTrusted{kStep, kLogWarnings,
                                                              L"Package folder %s not used: %s.\r\n"};
// The package file and why it is not handed to Windows Installer.
inline constexpr LogLine<Text, Text> kPackageNotHeld{kStep, kLogErrors, L"Package %s not installed: %s.\r\n"};
inline constexpr LogLine<Text> kTransformDatabaseNotOpened{
    kStep, kLogWarnings, L"Cannot open MIS database file %s. No transformations applied."};
inline constexpr LogLine<Text> kApplyingTransforms{kStep, kLogWarnings, L"Applying transformations: %s\r\n"};
inline constexpr LogLine<> kTransformsApplied{kStep, kLogInfo, L"Transformations successfully applied\r\n"};
inline constexpr LogLine<> kTransformsFailed{kStep, kLogWarnings, L"Transformations failed\r\n"};

// The install sequence.
inline constexpr LogLine<> kDeterminingPlatform{kStep, kLogInfo, L"determine installer platform\r\n"};
inline constexpr LogLine<Text> kPlatformDetected{kStep, kLogInfo, L"dedected %s platform\r\n"};
inline constexpr LogLine<> kResettingInstallationType{kStep, kLogInfo, L"rest custom installer registry\r\n"};
inline constexpr LogLine<> kStartingTheWork{kStep, kLogInfo, L"Starting the real work\r\n"};
inline constexpr LogLine<> kDeterminingSequence{kStep, kLogInfo, L"Determine install sequence\r\n"};
inline constexpr LogLine<Text> kInstallingProduct{kStep, kLogWarnings, L"Installing product %s\r\n"};
inline constexpr LogLine<Text> kModifyingProduct{kStep, kLogWarnings, L"Modifying product %s\r\n"};
inline constexpr LogLine<Text> kReinstallingProduct{kStep, kLogWarnings, L"Reinstalling product %s\r\n"};
inline constexpr LogLine<Text> kUninstallingProduct{kStep, kLogWarnings, L"Uninstalling product %s\r\n"};
inline constexpr LogLine<Text> kExtractingProduct{kStep, kLogWarnings, L"Extracting product %s\r\n"};
inline constexpr LogLine<Text> kRollingBackProduct{kStep, kLogWarnings, L"Rolling back product %s\r\n"};
inline constexpr LogLine<Number> kInstallerFailure{kStep, kLogWarnings, L"Failure: return code = %d\r\n"};
inline constexpr LogLine<Number> kRestartSuccessIgnored{kStep, kLogWarnings,
                                                        L"Remark: ignoring specific success code = %d\r\n"};

// Removal of a conflicting installation.
inline constexpr LogLine<Text> kAutomaticUninstall{kPlain, kLogInfo, L"SIC - Automatic uninstallation of product %s.\r\n"};
inline constexpr LogLine<Number, Text> kAutomaticUninstallFailed{kPlain, kLogInfo, L"SIC - Uninstall failed - (%d) %s\r\n"};

// The system-integrity page's findings: blocking conflicts (with their messages) or a removal
// to propose.
inline constexpr LogLine<> kConflictsAbort{kPlain, kLogErrors,
                                           L"SIC - Conflicts have been detected. Installation will abort.\r\n"};
inline constexpr LogLine<Text> kBlockingConflicts{kStep, kLogErrors, L"%s\r\n"};
inline constexpr LogLine<> kAutoRemovalProposed{kPlain, kLogInfo,
                                                L"SIC - Conflicts have been detected. Auto-removal is proposed.\r\n"};

// The Add/Remove Programs entries.
inline constexpr LogLine<> kNoModuleFileName{kStep, kLogInfo, L"Failed to retrieve module file name\r\n"};
inline constexpr LogLine<> kEntryRedoAfterModify{kStep, kLogInfo,
                                                 L"redo-after modify or re-install custom installer registry\r\n"};
inline constexpr LogLine<> kEntryPrepareRemove{kStep, kLogInfo, L"prepare-remove custom installer registry\r\n"};
inline constexpr LogLine<> kEntryBeforeDeleteValue{kStep, kLogInfo, L"before delete value - custom installer registry\r\n"};
inline constexpr LogLine<> kEntryAfterDeleteValue{kStep, kLogInfo, L"after delete value - custom installer registry\r\n"};
inline constexpr LogLine<> kEntryBeforeWriteName{kStep, kLogInfo,
                                                 L"before write product name - custom installer registry\r\n"};
inline constexpr LogLine<> kEntryAfterWriteName{kStep, kLogInfo,
                                                L"after write product name - custom installer registry\r\n"};
inline constexpr LogLine<> kEntryRollBackPrepareRemove{kStep, kLogInfo,
                                                       L"roll-back prepare-remove custom installer registry\r\n"};
inline constexpr LogLine<> kEntryPerform{kStep, kLogInfo, L"perform custom installer registry\r\n"};

// The service settings of the server products.
inline constexpr LogLine<Text> kServiceConnectionNeeded{kStep, kLogErrors, L"%s\r\n"};
inline constexpr LogLine<Text, Text, Text> kServicePasswordMissing{
    kStep, kLogErrors,
    L"ERROR: No password given for the service %s of user %s; a quiet run cannot ask for it. Give it as %s.\r\n"};
inline constexpr LogLine<Text> kServicePasswordNotEncrypted{
    kStep, kLogErrors, L"ERROR: The password of the service %s could not be encrypted.\r\n"};

// The wizard's pages, by their log names.
inline constexpr LogLine<Text> kActivatingPage{kStep, kLogInfo, L"Activating dialog %s\r\n"};
inline constexpr LogLine<Text> kDeactivatingPage{kStep, kLogInfo, L"Deactivating dialog %s\r\n"};
// The finish page's tools: the program and why it is not offered, or not started after all.
inline constexpr LogLine<Text, Text> kToolNotOffered{kStep, kLogWarnings, L"Tool %s not offered: %s.\r\n"};
inline constexpr LogLine<Text, Text> kToolNotStarted{kStep, kLogWarnings, L"Tool %s not started: %s.\r\n"};
// The unpack page and its worker thread.
inline constexpr LogLine<> kWorkerThreadCreated{kStep, kLogInfo, L"Created SetupWorkerThread\r\n"};
inline constexpr LogLine<> kWorkerThreadStopped{kStep, kLogInfo, L"Worker-thread stopped\r\n"};
inline constexpr LogLine<> kQuitReceived{kStep, kLogInfo, L"Received 'quit' message\r\n"};
// The backup page's size worker.
inline constexpr LogLine<> kBackupWorkerThreadCreated{kStep, kLogInfo, L"CreatedBackupWorkerThread\r\n"};

// The installer of packages that Windows Installer does not install.
inline constexpr LogLine<> kNonMsiStartInstalling{kPlain, kLogWarnings, L"TSL: Start installing...\r\n"};
inline constexpr LogLine<> kNonMsiStartModifying{kPlain, kLogWarnings, L"TSL: Start modifying...\r\n"};
inline constexpr LogLine<> kNonMsiStartRepairing{kPlain, kLogWarnings, L"TSL: Start repairing...\r\n"};
inline constexpr LogLine<> kNonMsiStartRemoving{kPlain, kLogWarnings, L"TSL: Start removing...\r\n"};
inline constexpr LogLine<> kNonMsiStartExtracting{kPlain, kLogWarnings, L"TSL: Start extracting...\r\n"};
inline constexpr LogLine<Text> kNonMsiInstallFailed{kPlain, kLogInfo, L"Failed to install product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiInstalled{kPlain, kLogInfo, L"Successfully installed product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiRegisterFailed{kPlain, kLogInfo,
                                                     L"Failed to register product %s as installed product.\r\n"};
inline constexpr LogLine<Text> kNonMsiUninstallFailed{kPlain, kLogInfo, L"Failed to un-install product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiUninstalled{kPlain, kLogInfo, L"Successfully un-installed product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiUnregisterFailed{kPlain, kLogInfo,
                                                       L"Failed to un-register product %s as installed product.\r\n"};
inline constexpr LogLine<Text> kNonMsiRollingBackInstall{kStep, kLogWarnings, L"Rolling back installation of product %s\r\n"};
inline constexpr LogLine<Text> kNonMsiRollingBackRemoval{kStep, kLogWarnings, L"Rolling back removal of product %s\r\n"};
inline constexpr LogLine<Text> kNonMsiModifying{kPlain, kLogInfo, L"Modifying package %s...\r\n"};
inline constexpr LogLine<Text> kNonMsiModifyFailed{kPlain, kLogInfo, L"Failed to modify product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiModified{kPlain, kLogInfo, L"Successfully modified product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiRepairFailed{kPlain, kLogInfo, L"Failed to repair product %s.\r\n"};
inline constexpr LogLine<Text> kNonMsiRepaired{kPlain, kLogInfo, L"Successfully repaired product %s.\r\n"};

}  // namespace setup::log_lines
