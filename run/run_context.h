// The state of one launcher run that every stage shares: the platform, the setup log, the
// result record, the languages, the command line, the package list and its resources, and
// the rule for showing a message box. The application object owns all of it and hands this
// context to each stage; a stage keeps only the references it needs.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "run/command_line_info.h"
#include "run/language_catalog.h"
#include "run/setup_log.h"
#include "run/setup_result.h"

namespace setup {

// The package list and the package resources belong to the packages layer above this one;
// the context refers to them without needing their definitions.
struct PackageList;
class PackageResources;

struct RunContext {
  platform::Platform& platform;
  SetupLog& log;
  SetupResult& result;
  LanguageCatalog& languages;
  CSetupAppCommandLineInfo& commandLine;
  PackageList& packages;
  const PackageResources& packageResources;
  // The caption of every message box: the launcher's name, the wizard title once it is known.
  const std::wstring& caption;
  // Read once when the run starts: the operating system is 64-bit, so that both registry
  // views are searched.
  const bool is64BitSystem;

  // A message box, unless the user-interface level is a quiet one; log lines are written
  // regardless by the callers.
  void ShowMessageBox(std::wstring_view text, platform::MessageBoxIcon icon) const;
};

}  // namespace setup
