// The launcher's application object: built first, it parses the command line and opens the
// log; its run sequence chooses between validation, help, extraction and the wizard; its
// exit sequence cleans up package folders and returns the result kind as the exit code.
// It owns everything a run shares and hands it to the stages as one RunContext.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/property_encryption.h"
#include "launcher/help_model.h"
#include "launcher/system_prerequisites.h"
#include "options/setup_options.h"
#include "packages/package_cache.h"
#include "packages/package_resources.h"
#include "packages/setup_package.h"
#include "platform/platform.h"
#include "run/command_line_info.h"
#include "run/language_catalog.h"
#include "run/run_context.h"
#include "run/setup_log.h"
#include "run/setup_result.h"

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

  // What every stage of the run shares.
  const RunContext& Context() const { return run_; }
  const OsFacts& Os() const { return os_; }
  // Logs the ERROR line and shows the message box of an unreported failure, once.
  void ReportResult();

 private:
  void SelectLanguage();
  // A log path that named a device opened no log: the user is told where the run can tell.
  void TellRefusedLog();
  void BuildHelpModel();
  // Checks the command-line properties; the texts of the failed checks, none when all pass.
  std::optional<std::wstring> CheckCommandLineProperties();
  void RunValidationMode();
  void RunHelpMode();
  // False when the extraction stopped at a taxonomy package it could not write.
  bool RunExtractMode();
  void RunInstallMode(const std::optional<std::wstring>& propertyErrors);
  bool PassesPrerequisites(const std::optional<std::wstring>& propertyErrors);
  // Logs, tells and records a refused package base folder; false then.
  bool PackageBaseFolderIsUsable();
  // Fills the package list from the resources or the workload file; false when the package
  // information is incomplete.
  bool ReadPackageInformation();

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
  std::wstring appName_;
  RunContext run_;
  // The installations a quick install upgrades (the wizard runs by itself when there are
  // any), the setup options bound to them, and the cancel request the workers poll.
  std::vector<ProductRecord> quickInstall_;
  SetupOptions options_;
  std::atomic<bool> cancelRequested_ = false;
  // Encrypts the passwords handed to the packages; its key is made once per process.
  PropertyEncryption encryption_;
};

}  // namespace setup
