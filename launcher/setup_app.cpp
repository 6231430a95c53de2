#include "launcher/setup_app.h"

#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "launcher/help_printer.h"
#include "packages/package_information.h"
#include "packages/package_installation_state.h"
#include "packages/package_selection.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

std::wstring TimeStamp(const platform::LocalTime& t) {
  return Format(L"%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// The framework's application name before the wizard title replaces it: the file name of
// the launcher without its extension.
std::wstring DefaultAppName(std::wstring_view modulePath) {
  const std::wstring_view fileName = LauncherFileName(modulePath);
  return std::wstring(fileName.substr(0, fileName.rfind(L'.')));
}

}  // namespace

CSetupApp::CSetupApp(std::unique_ptr<platform::Platform> platform, ProcessInvocation invocation)
    : platform_(std::move(platform)),
      invocation_(std::move(invocation)),
      log_(*platform_->files, *platform_->installer),
      languages_(*platform_->resources),
      packageResources_(*platform_->resources),
      cacheRoot_(*platform_),
      appName_(DefaultAppName(platform_->system->ModulePath())) {
  commandLine_.ParseArguments(invocation_.arguments);
  log_.Open(commandLine_.LogPath(), commandLine_.LogMode(), commandLine_.LogAttributes());
  log_.WriteLog(L"=== SetupLauncher started: %s Build type: SHIP ANSI %s\r\n", kLogErrors,
                TimeStamp(platform_->system->Now()),
                ICBSFileUtilities(*platform_).FileVersionText(platform_->system->ModulePath()));
}

std::wstring CSetupApp::ReadPackageText(std::wstring_view name) const {
  return packageResources_.ReadText(name, multiLanguage_);
}

bool CSetupApp::InitInstance() {
  log_.WriteLog(L"TSL (c): CommandLine: %s\r\n", kLogWarnings, invocation_.rawArguments);
  SelectLanguage();
  BuildHelpModel();
  std::wstring propertyErrors;
  const bool propertiesValid = CheckCommandLineProperties(propertyErrors);

  if (commandLine_.IsValidate()) {
    RunValidationMode();
  } else if (commandLine_.IsHelp() || commandLine_.IsInvalid()) {
    RunHelpMode();
  } else if (commandLine_.IsExtract()) {
    RunExtractMode();
  } else {
    RunInstallMode(propertiesValid ? std::nullopt : std::optional(propertyErrors));
  }

  ReportResult();
  platform_->ui->PostQuit(result_.kind);
  pumpOnExit_ = true;
  return false;
}

void CSetupApp::SelectLanguage() {
  languages_.SelectByName(L"English");
  const platform::Resources& resources = *platform_->resources;
  int available = 0;
  for (LanguageEntry& entry : languages_.Entries()) {
    const std::wstring name = entry.langId == kLangEnglish ? L"PACKAGE_0" : L"PACKAGE_0_" + std::wstring(entry.lcidText);
    if (resources.FindPackageResource(name, entry.langId)) {
      entry.available = true;
      ++available;
    }
  }
  multiLanguage_ = available >= 2;
  if (multiLanguage_) {
    if (!commandLine_.Language().empty()) {
      languages_.SelectByName(commandLine_.Language());
    } else {
      languages_.SelectByLangId(platform_->system->UserDefaultUiLanguage());
    }
    return;
  }
  // A single-language setup speaks the language of its "OS" resource; the last one found wins.
  for (std::size_t i = 0; i < kLanguageCount; ++i) {
    const LanguageEntry& entry = languages_.Entries()[i];
    if (resources.FindPackageResource(L"OS", entry.langId)) languages_.SelectByName(entry.name);
  }
}

void CSetupApp::BuildHelpModel() {
  HelpModelInputs inputs;
  inputs.hasGermanPackage = platform_->resources->FindPackageResource(L"PACKAGE_0_1031", 1031).has_value();
  inputs.hasSeveralPackages = packageResources_.PackageCount(multiLanguage_) > 1;
  inputs.firstProductName = ReadPackageText(L"PRODUCT_NAME_0");
  help_.Build(languages_, inputs);
}

bool CSetupApp::CheckCommandLineProperties(std::wstring& errorText) {
  bool valid = true;
  for (const std::wstring& property : commandLine_.Properties()) {
    const std::size_t equals = property.find(L'=');
    const std::wstring_view name = std::wstring_view(property).substr(0, equals);
    const std::wstring_view value = std::wstring_view(property).substr(equals + 1);
    if (EqualsIgnoreCase(name, L"lang") || EqualsIgnoreCase(name, L"SubPackages") ||
        EqualsIgnoreCase(name, L"TRANSFORMS")) {
      continue;
    }
    if (help_.IsKnownProperty(name)) {
      const std::size_t underscore = name.find(L'_');
      const std::wstring_view setting = underscore == std::wstring_view::npos ? std::wstring_view() : name.substr(underscore + 1);
      if (!EqualsIgnoreCase(setting, L"WebServer_Port") && !EqualsIgnoreCase(setting, L"SSLWebServer_Port")) continue;
      // An empty value reaches the list as two double quotes; it passes like no value.
      const std::wstring_view number = value == L"\"\"" ? std::wstring_view() : value;
      std::size_t consumed = 0;
      ParseLeadingInteger(number, &consumed);
      if (!number.empty() && consumed != number.size()) {
        errorText += languages_.FormatText(IDS_ERROR_PROPERTY_NOT_NUMERIC, name) + L"\n";
        valid = false;
      }
      continue;
    }
    platform::Console& console = *platform_->console;
    console.AttachToParent();
    console.Write(languages_.FormatText(IDS_WARNING_UNKNOWN_PROPERTY, name) + L"\r\n");
    console.PostEnterToConsoleWindow();
    console.Free();
  }
  return valid;
}

void CSetupApp::RunValidationMode() {
  platform_->console->AttachToParent();
  log_.WriteLog(L"Validation if all necessary resources have been compiled into setup.", kLogInfo);
  if (!ValidateResources(packageResources_, languages_, multiLanguage_, *platform_->console)) {
    log_.WriteLog(L"Validation failed!", kLogErrors);
    result_.Record(kResultCorrupted, 0, true);
  }
  EndConsole();
}

void CSetupApp::RunHelpMode() {
  platform_->console->AttachToParent();
  platform_->console->Write(HelpText(help_, languages_, LauncherFileName(platform_->system->ModulePath())));
  EndConsole();
}

void CSetupApp::RunExtractMode() {
  platform_->console->AttachToParent();
  // Unpacking the packages into the current folder is not part of this build yet; the run
  // ends as a failed extraction instead of pretending to have extracted anything.
  result_.Record(kResultInstallFailed, 0, false);
  EndConsole();
}

void CSetupApp::EndConsole() {
  platform_->console->PostEnterToConsoleWindow();
  platform_->console->Free();
}

void CSetupApp::ShowMessageBox(std::wstring_view text, platform::MessageBoxIcon icon) {
  if (!commandLine_.ForbidsMessageBoxes()) platform_->ui->ShowMessageBox(text, appName_, icon);
}

void CSetupApp::RunInstallMode(const std::optional<std::wstring>& propertyErrors) {
  SystemPrerequisites prerequisites(*platform_, log_, os_);
  if (!prerequisites.CheckOsVersion(ReadPackageText(L"OS"))) {
    log_.WriteLog(L"TSL (c): Setup not allowed to run on %s\r\n", kLogWarnings, os_.detectedName);
    ShowMessageBox(languages_.FormatText(IDS_MSG_OS_TOO_OLD, os_.detectedName, os_.requiredName),
                   platform::MessageBoxIcon::Error);
    result_.Record(kResultOsTooOld, 0, false);
    return;
  }
  packages_.is64BitSystem = os_.is64BitSystem;
  if (!prerequisites.CheckDirect2D()) {
    log_.WriteLog(L"No Direct2D found on this machine.", kLogWarnings);
    ShowMessageBox(languages_.Text(IDS_MSG_NO_DIRECT2D), platform::MessageBoxIcon::Error);
    result_.Record(kResultNoDirect2D, 0, false);
    return;
  }
  if (propertyErrors) {
    platform_->console->AttachToParent();
    platform_->console->Write(L"\r\n" + *propertyErrors + L"\r\n\r\n");
    EndConsole();
    return;
  }
  if (prerequisites.AnotherLauncherRunning()) {
    log_.WriteLog(L"TSL (c): Setup already in progress.\r\n", kLogErrors);
    result_.Record(kResultAlreadyRunning, 0, false);
    return;
  }
  if (!prerequisites.UserHasRights()) {
    log_.WriteLog(L"TSL (c): User has no sufficient rights to run setup.\r\n", kLogErrors);
    result_.Record(kResultNoRights, 0, false);
    return;
  }
  platform_->ui->LoadRichEdit();
  appName_ = languages_.FormatText(IDS_WIZARD_TITLE, ReadPackageText(L"PRODUCT_NAME_0"));
  if (!ReadPackageInformation()) result_.Record(kResultPackageInfoMissing, 0, false);
  ApplyCommandLineSelection(packages_, commandLine_.SubPackages(), log_);
  if (result_.kind != kResultSuccess) return;
  log_.WriteLog(L"TSL (c): All information collected. Start processing.\r\n", kLogInfo);
  // The wizard and the install sequence are not part of this build yet; the run ends as a
  // failed installation instead of reporting success for work it has not done.
  result_.Record(kResultInstallFailed, 0, false);
}

bool CSetupApp::ReadPackageInformation() {
  const PackageInformationSources sources{packageResources_, multiLanguage_, commandLine_.Workload()};
  const bool complete =
      setup::ReadPackageInformation(packages_, sources, PackageBuildContext{Detection(), cacheRoot_}, log_);
  SetDefaultHandleFlags(packages_, Detection(), commandLine_);
  return complete;
}

void CSetupApp::ReportResult() {
  if (result_.kind == kResultSuccess || result_.reported) return;
  log_.WriteLog(L"TSL (c): ERROR: %s\r\n", kLogInfo, DescribeResult(result_, *platform_->system));
  if (const std::uint32_t messageId = ResultMessageId(result_.kind); messageId != 0) {
    ShowMessageBox(languages_.Text(messageId), platform::MessageBoxIcon::Exclamation);
  }
  result_.reported = true;
}

int CSetupApp::ExitInstance() {
  log_.WriteLog(L"TSL (c): entering ExitInstance \r\n", kLogInfo);
  if (pumpOnExit_) platform_->ui->PumpUntilQuit();

  const SetupPackage* main = packages_.Main();
  const bool uninstall = commandLine_.IsUninstall();
  const bool succeeded = result_.kind == kResultSuccess;
  if (main) {
    const bool mainInstalled = IsPackageInstalled(Detection(), *main);
    if (!EqualsIgnoreCase(main->installerType, L"msi") && uninstall) RemoveFoldersOfPackagesNotInstalled();
    if (succeeded && mainInstalled && commandLine_.IsFastOem()) RemoveFoldersOfPackagesNotInstalled();
    if (!uninstall && !commandLine_.IsRepair() && !mainInstalled && !succeeded) RemoveFoldersOfPackagesNotInstalled();
    if (uninstall && packages_.packages.size() >= 2 && succeeded && !mainInstalled) RemovePackageFolder(*main);
  }

  log_.WriteLog(L"=== SetupLauncher stopped: %s\r\n", kLogErrors, TimeStamp(platform_->system->Now()));
  if (packages_.packages.size() >= 2 && uninstall && succeeded) StartSelfDeletingCleanup();
  return result_.kind;
}

void CSetupApp::RemoveFoldersOfPackagesNotInstalled() {
  for (const SetupPackage& package : packages_.packages) {
    if (!IsPackageInstalled(Detection(), package)) RemovePackageFolder(package);
  }
}

void CSetupApp::RemovePackageFolder(const SetupPackage& package) {
  // A package without a folder of its own (no cache root, or no usable package code) has
  // nothing to remove; an empty path would name the current folder.
  if (package.packageFolder.empty()) return;
  ICBSFileUtilities utilities(*platform_);
  if (!utilities.FolderExists(package.packageFolder)) return;
  log_.WriteLog(L"TSL (c): Deleting MSI folder %s\r\n", kLogInfo, package.packageFolder);
  if (utilities.DeleteFolderTree(package.packageFolder)) {
    log_.WriteLog(L"TSL (c): Deleted MSI folder %s\r\n", kLogInfo, package.packageFolder);
  }
}

void CSetupApp::StartSelfDeletingCleanup() {
  // The batch lies beside the package folders, so that removing the main package's folder
  // does not pull the running batch file away from under itself.
  const std::wstring batchPath = PackageBaseFolder() + L"\\SelfDelete.bat";
  const std::wstring content = Format(L"@ECHO OFF\n rmdir /S /Q %s\n DEL \"%%~f0\"", packages_.Main()->packageFolder);
  if (!platform_->files->WriteFile(batchPath, platform_->files->ToAnsi(content))) return;
  ICBSFileUtilities(*platform_).Wait(batchPath, false, L"", {}, platform::kWaitForever, true);
}

}  // namespace setup
