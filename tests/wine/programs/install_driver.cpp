// Stands in for the wizard in the end-to-end tests of the install sequence. Packed by setuppack
// like the launcher template, it runs as a setup: it parses its command line, opens the setup
// log, reads its packages as the launcher does and runs the install sequence over the MSI
// files that the test has put into the package folders (in place of the unpack page; a removal
// rolled back unpacks from the driver's own resources as the launcher does), and exits with
// the result kind. Its copy in the main package's folder is what the rewritten
// Add/Remove Programs entry starts.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "install/install_sequence.h"
#include "packages/package_cache.h"
#include "packages/package_information.h"
#include "packages/package_resources.h"
#include "packages/package_selection.h"
#include "platform/win32/win32_ports.h"
#include "run/log_lines.h"
#include "run/run_context.h"

int wmain(int argc, wchar_t** argv) {
  using namespace setup;
  const std::unique_ptr<platform::Platform> platform = platform::win32::CreatePlatform();
  CSetupAppCommandLineInfo commandLine;
  commandLine.ParseArguments(std::vector<std::wstring>(argv + 1, argv + argc));
  SetupLog log(*platform->files, *platform->installer);
  log.Open(commandLine.LogPath(), commandLine.LogMode(), commandLine.LogAttributes());
  SetupResult result;
  LanguageCatalog languages(*platform->resources);
  languages.SelectByName(L"English");
  PackageList packages;
  const PackageResources packageResources(*platform->resources, languages);
  const std::wstring caption = L"Install driver";
  const RunContext run{*platform, log, result, languages, commandLine, packages, packageResources, caption,
                       platform::IsSixtyFourBitArchitecture(platform->system->NativeProcessorArchitecture())};

  PackageCacheRoot cacheRoot(*platform);
  const DetectionContext detection = Detection(run);
  if (!ReadPackageInformation(packages, {packageResources, commandLine.Workload()}, {detection, cacheRoot, true, &log},
                              log)) {
    return kResultPackageInfoMissing;
  }
  SetDefaultHandleFlags(packages, detection, {commandLine.IsExtract(), commandLine.IsRepair(), commandLine.IsUninstall()});

  RunInstallSequence(run, InstallRequest());
  if (result.kind != kResultSuccess && !result.reported) {
    log.WriteLog(log_lines::kError, DescribeResult(result, *platform->system));
  }
  return result.kind;
}
