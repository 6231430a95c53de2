#include "launcher/setup_app.h"

#include <functional>

#include "extraction/extract_mode.h"
#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "launcher/help_printer.h"
#include "launcher/package_folder_cleanup.h"
#include "launcher/parent_console.h"
#include "launcher/wizard_page_list.h"
#include "packages/package_information.h"
#include "packages/package_resource_names.h"
#include "packages/package_selection.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "run/secret_properties.h"

namespace setup {

namespace {

namespace names = package_resource_names;

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
      packageResources_(*platform_->resources, languages_),
      cacheRoot_(*platform_),
      appName_(DefaultAppName(platform_->system->ModulePath())),
      run_{*platform_,
           log_,
           result_,
           languages_,
           commandLine_,
           packages_,
           packageResources_,
           appName_,
           platform::IsSixtyFourBitArchitecture(platform_->system->NativeProcessorArchitecture())},
      options_(*platform_, run_.is64BitSystem),
      encryption_(*platform_->crypto) {
  commandLine_.ParseArguments(invocation_.arguments);
  log_.Open(commandLine_.LogPath(), commandLine_.LogMode(), commandLine_.LogAttributes());
  // The version is read from the executable's version resource only for a log that takes it.
  if (log_.IsOpen()) {
    log_.WriteLog(log_lines::kStarted, TimeStamp(platform_->system->Now()),
                  ICBSFileUtilities(*platform_).FileVersionText(platform_->system->ModulePath()));
  }
}

bool CSetupApp::InitInstance() {
  log_.WriteLog(log_lines::kCommandLine, EscapeControlCharacters(MaskSecretProperties(invocation_.rawArguments)));
  SelectLanguage();
  TellRefusedLog();
  BuildHelpModel();
  const std::optional<std::wstring> propertyErrors = CheckCommandLineProperties();

  if (commandLine_.IsValidate()) {
    RunValidationMode();
  } else if (commandLine_.IsHelp() || commandLine_.IsInvalid()) {
    RunHelpMode();
  } else if (commandLine_.IsExtract()) {
    // A taxonomy package that cannot be written ends the extraction there: the framework then
    // ends the process with the result recorded so far, unreported.
    if (!RunExtractMode()) return true;
  } else {
    RunInstallMode(propertyErrors);
  }

  ReportResult();
  platform_->ui->PostQuit(result_.kind);
  pumpOnExit_ = true;
  return false;
}

void CSetupApp::SelectLanguage() {
  languages_.SelectByName(L"English");
  for (LanguageEntry& entry : languages_.Entries()) entry.available = packageResources_.CarriesLanguage(entry);
  if (languages_.IsMultiLanguage()) {
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
    if (packageResources_.Exists(names::Name(names::kOs), entry.langId)) languages_.SelectByName(entry.name);
  }
}

void CSetupApp::TellRefusedLog() {
  const std::wstring& device = log_.RefusedDevicePath();
  if (device.empty()) return;
  const std::wstring text = languages_.FormatText(IDS_MSG_LOG_NAMES_DEVICE, EscapeControlCharacters(device));
  // The console modes answer on the console; a box there would wait for a click nobody expects.
  if (commandLine_.IsValidate() || commandLine_.IsHelp() || commandLine_.IsInvalid() || commandLine_.IsExtract()) {
    ParentConsole(*platform_->console).Write(text + L"\r\n");
  } else {
    run_.ShowMessageBox(text, platform::MessageBoxIcon::Exclamation);
  }
}

void CSetupApp::BuildHelpModel() {
  HelpModelInputs inputs;
  inputs.hasGermanPackage = packageResources_.Exists(names::TransformName(0, L"1031"), 1031);
  inputs.hasSeveralPackages = packageResources_.PackageCount() > 1;
  inputs.firstProductName = packageResources_.ReadText(names::PackageName(names::kProductName, 0));
  help_.Build(languages_, inputs);
}

std::optional<std::wstring> CSetupApp::CheckCommandLineProperties() {
  std::optional<std::wstring> errors;
  for (const CommandLineProperty& property : commandLine_.Properties()) {
    if (IsLauncherArgumentName(property.name)) continue;
    const HelpProperty* known = help_.FindProperty(property.name);
    if (!known) {
      ParentConsole(*platform_->console)
          .Write(languages_.FormatText(IDS_WARNING_UNKNOWN_PROPERTY, property.name) + L"\r\n");
      continue;
    }
    if (!known->numeric) continue;
    // An empty value passes like no value.
    std::size_t consumed = 0;
    ParseLeadingInteger(property.value, &consumed);
    if (consumed != property.value.size()) {
      errors = errors.value_or(L"") + languages_.FormatText(IDS_ERROR_PROPERTY_NOT_NUMERIC, property.name) + L"\n";
    }
  }
  return errors;
}

void CSetupApp::RunValidationMode() {
  ParentConsole console(*platform_->console);
  log_.WriteLog(log_lines::kValidationStarted);
  if (!ValidateResources(packageResources_, languages_, console.Port())) {
    log_.WriteLog(log_lines::kValidationFailed);
    result_.Record(kResultCorrupted, 0, true);
  }
}

void CSetupApp::RunHelpMode() {
  ParentConsole(*platform_->console)
      .Write(HelpText(help_, languages_, LauncherFileName(platform_->system->ModulePath())));
  // Help asked for on purpose succeeds; help shown for a bad command line is a failure.
  if (commandLine_.IsInvalid()) result_.Record(kResultInvalidCommandLine, 0, false);
}

bool CSetupApp::RunExtractMode() {
  ParentConsole console(*platform_->console);
  if (!ReadPackageInformation()) {
    result_.Record(kResultPackageInfoMissing, 0, false);
    return true;
  }
  return ExtractEveryPackage(run_) == ExtractModeEnd::Completed;
}

void CSetupApp::RunInstallMode(const std::optional<std::wstring>& propertyErrors) {
  if (!PassesPrerequisites(propertyErrors)) return;
  // A quiet run never shows its wizard: it walks the pages on windows that exist only in
  // memory, so it needs no window system and spends no time making windows.
  if (commandLine_.UiLevel().IsQuiet() && platform_->windowlessGui) {
    platform_->gui = std::move(platform_->windowlessGui);
  } else {
    platform_->ui->LoadRichEdit();
  }
  appName_ = languages_.FormatText(IDS_WIZARD_TITLE, packageResources_.ReadText(names::PackageName(names::kProductName, 0)));
  if (!PackageBaseFolderIsUsable()) return;
  if (!ReadPackageInformation()) result_.Record(kResultPackageInfoMissing, 0, false);
  ApplyCommandLineSelection(packages_, commandLine_.SubPackages(), log_);
  if (result_.kind != kResultSuccess) return;
  log_.WriteLog(log_lines::kAllInformationCollected);
  // The outcome is whatever the result record holds when the wizard ends, not the dialog's
  // own result.
  CWizardDialog wizard(run_, appName_, quickInstall_, [this] { ReportResult(); });
  BuildWizardPages(wizard, {quickInstall_, &options_, cancelRequested_, static_cast<std::uint32_t>(os_.welcomeTextId),
                            encryption_});
  wizard.DoModal();
}

bool CSetupApp::PassesPrerequisites(const std::optional<std::wstring>& propertyErrors) {
  SystemPrerequisites system(*platform_, log_, os_);
  // One row per check, in the order they run: the question, and what a failure tells the
  // log, the user or the console, and records.
  struct Check {
    std::function<bool()> passes;
    std::function<void()> tellFailure;
    ResultKind kind;
  };
  const Check checks[] = {
      {[&] { return system.CheckOsVersion(packageResources_.ReadText(names::Name(names::kOs))); },
       [&] {
         log_.WriteLog(log_lines::kOsNotAllowed, os_.detectedName);
         run_.ShowMessageBox(languages_.FormatText(IDS_MSG_OS_TOO_OLD, os_.detectedName, os_.requiredName),
                             platform::MessageBoxIcon::Error);
       },
       kResultOsTooOld},
      {[&] { return system.CheckDirect2D(); },
       [&] {
         log_.WriteLog(log_lines::kNoDirect2D);
         run_.ShowMessageBox(languages_.Text(IDS_MSG_NO_DIRECT2D), platform::MessageBoxIcon::Error);
       },
       kResultNoDirect2D},
      {[&] { return !propertyErrors; },
       [&] { ParentConsole(*platform_->console).Write(L"\r\n" + *propertyErrors + L"\r\n\r\n"); },
       kResultInvalidCommandLine},
      {[&] { return !system.AnotherLauncherRunning(); },
       [&] { log_.WriteLog(log_lines::kAlreadyRunning); },
       kResultAlreadyRunning},
      {[&] { return system.UserHasRights(); },
       [&] { log_.WriteLog(log_lines::kNoRights); },
       kResultNoRights},
  };
  for (const Check& check : checks) {
    if (check.passes()) continue;
    check.tellFailure();
    result_.Record(check.kind, 0, false);
    return false;
  }
  return true;
}

bool CSetupApp::PackageBaseFolderIsUsable() {
  cacheRoot_.Path();
  if (!cacheRoot_.Refused()) return true;
  log_.WriteLog(log_lines::kPackageBaseFolderRefused, cacheRoot_.Location());
  run_.ShowMessageBox(languages_.FormatText(IDS_MSG_PACKAGE_BASE_FOLDER_UNSAFE, cacheRoot_.Location()),
                      platform::MessageBoxIcon::Error);
  result_.Record(kResultInstallFailed, 0, false);
  return false;
}

bool CSetupApp::ReadPackageInformation() {
  const DetectionContext detection = Detection(run_);
  const PackageBuildContext building{detection, cacheRoot_, !commandLine_.IsExtract(),
                                     commandLine_.IsExtract() ? nullptr : &log_};
  const bool complete =
      setup::ReadPackageInformation(packages_, {packageResources_, commandLine_.Workload()}, building, log_);
  SetDefaultHandleFlags(packages_, detection,
                        {commandLine_.IsExtract(), commandLine_.IsRepair(), commandLine_.IsUninstall()});
  return complete;
}

void CSetupApp::ReportResult() {
  if (result_.kind == kResultSuccess || result_.reported) return;
  log_.WriteLog(log_lines::kError, DescribeResult(result_, *platform_->system));
  if (const std::uint32_t messageId = ResultMessageId(result_.kind); messageId != 0) {
    run_.ShowMessageBox(languages_.Text(messageId), platform::MessageBoxIcon::Exclamation);
  }
  result_.reported = true;
}

int CSetupApp::ExitInstance() {
  log_.WriteLog(log_lines::kEnteringExitInstance);
  if (pumpOnExit_) platform_->ui->PumpUntilQuit();
  RemoveUnneededPackageFolders(run_, cacheRoot_);
  log_.WriteLog(log_lines::kStopped, TimeStamp(platform_->system->Now()));
  StartSelfDeletingCleanup(run_, cacheRoot_);
  return result_.kind;
}

}  // namespace setup
