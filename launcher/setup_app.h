// The launcher's application object: built first, it parses the command line and opens the
// log; its run sequence chooses between validation, help, extraction and the wizard; its
// exit sequence cleans up package folders and returns the result kind as the exit code.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launcher/command_line_info.h"
#include "launcher/help_model.h"
#include "launcher/language_catalog.h"
#include "launcher/setup_log.h"
#include "launcher/setup_result.h"
#include "launcher/system_prerequisites.h"
#include "packages/detection_context.h"
#include "packages/package_cache.h"
#include "packages/package_resources.h"
#include "packages/setup_package.h"
#include "platform/platform.h"

namespace setup {

// How the process was started: the raw command line after the program name, and its
// arguments as the platform's standard splitting cuts them.
struct ProcessInvocation {
  std::wstring rawArguments;
  std::vector<std::wstring> arguments;
};

class CSetupApp {
 public:
  CSetupApp(std::unique_ptr<platform::Platform> platform, ProcessInvocation invocation);
  CSetupApp(const CSetupApp&) = delete;
  CSetupApp& operator=(const CSetupApp&) = delete;

  // The run sequence. True only when the extract mode stops early; false makes the caller
  // skip the message loop and go straight to ExitInstance.
  bool InitInstance();
  // The exit sequence; returns the process exit code.
  int ExitInstance();

  platform::Platform& Platform() { return *platform_; }
  SetupLog& Log() { return log_; }
  SetupResult& Result() { return result_; }
  const SetupResult& Result() const { return result_; }
  CSetupAppCommandLineInfo& CommandLine() { return commandLine_; }
  const CSetupAppCommandLineInfo& CommandLine() const { return commandLine_; }
  LanguageCatalog& Languages() { return languages_; }
  const HelpModel& Help() const { return help_; }
  PackageList& Packages() { return packages_; }
  const OsFacts& Os() const { return os_; }
  bool IsMultiLanguage() const { return multiLanguage_; }
  const std::wstring& AppName() const { return appName_; }

  // A package text resource ("PRODUCT_NAME_0", "OS", ...); empty when missing.
  std::wstring ReadPackageText(std::wstring_view name) const;
  // The machine-wide folder that holds the package folders ("...\ProgramData\Tarquel"),
  // created and opened to every user on first use; empty while it cannot be had.
  const std::wstring& PackageBaseFolder() { return cacheRoot_.Path(); }
  // What the detection of installed products reads on this machine.
  DetectionContext Detection() { return {*platform_, packages_.is64BitSystem}; }
  // Fills the package list from the resources or the workload file; false when the package
  // information is incomplete.
  bool ReadPackageInformation();
  // Logs the ERROR line and shows the message box of an unreported failure, once.
  void ReportResult();
  // A message box with the application name as caption, unless the UI level is a quiet one.
  void ShowMessageBox(std::wstring_view text, platform::MessageBoxIcon icon);

 private:
  void SelectLanguage();
  void BuildHelpModel();
  bool CheckCommandLineProperties(std::wstring& errorText);
  void RunValidationMode();
  void RunHelpMode();
  void RunExtractMode();
  // The wizard path; `propertyErrors` holds the texts of a failed property check.
  void RunInstallMode(const std::optional<std::wstring>& propertyErrors);
  void EndConsole();

  void RemoveFoldersOfPackagesNotInstalled();
  void RemovePackageFolder(const SetupPackage& package);
  void StartSelfDeletingCleanup();

  std::unique_ptr<platform::Platform> platform_;
  ProcessInvocation invocation_;
  HelpModel help_;
  OsFacts os_;
  SetupResult result_;
  SetupLog log_;
  PackageList packages_;
  LanguageCatalog languages_;
  CSetupAppCommandLineInfo commandLine_;
  PackageResources packageResources_;
  PackageCacheRoot cacheRoot_;
  bool pumpOnExit_ = false;
  bool multiLanguage_ = false;
  std::wstring appName_;
};

}  // namespace setup
