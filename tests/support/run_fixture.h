// The shared state of a launcher run on the host platform, built as the run's start builds
// it but without the application object: what a stage below the launcher is handed.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "foundation/text.h"
#include "packages/package_resources.h"
#include "packages/setup_package.h"
#include "platform/host/host_platform.h"
#include "run/run_context.h"
#include "support/temp_folder.h"

namespace setup::testing {

// Where the tests ask for the setup log.
inline constexpr wchar_t kLogPath[] = L"C:\\Work\\setup.log";

class RunTest : public ::testing::Test {
 protected:
  RunTest() : host_(temp_.Path()) {}

  platform::host::HostPlatform& Host() { return host_; }

  // Parses the command line, opens the log and speaks English, as the start of a run does.
  RunContext& Start(std::vector<std::wstring> arguments = {L"/L*v", kLogPath}) {
    commandLine_ = CSetupAppCommandLineInfo();
    commandLine_.ParseArguments(arguments);
    log_.Open(commandLine_.LogPath(), commandLine_.LogMode(), commandLine_.LogAttributes());
    languages_.SelectByName(L"English");
    run_.emplace(RunContext{host_, log_, result_, languages_, commandLine_, packages_, packageResources_, caption_,
                            platform::IsSixtyFourBitArchitecture(host_.System().NativeProcessorArchitecture())});
    return *run_;
  }
  // The run, started with a log and no other argument unless the test started it.
  RunContext& Run() { return run_ ? *run_ : Start(); }

  std::wstring LogText() {
    const auto bytes = host_.Files().ReadFile(kLogPath);
    return bytes ? FromUtf16LeBytes(*bytes) : std::wstring();
  }
  std::size_t LogSize() { return LogText().size(); }
  std::wstring LogSince(std::size_t before) { return LogText().substr(before); }

  TempFolder temp_;
  platform::host::HostPlatform host_;
  SetupLog log_{host_.Files(), host_.Installer()};
  SetupResult result_;
  LanguageCatalog languages_{host_.Resources()};
  CSetupAppCommandLineInfo commandLine_;
  PackageList packages_;
  PackageResources packageResources_{host_.Resources(), languages_};
  std::wstring caption_ = L"Setup";
  std::optional<RunContext> run_;
};

}  // namespace setup::testing
