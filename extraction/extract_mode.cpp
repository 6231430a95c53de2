#include "extraction/extract_mode.h"

#include "extraction/console_extraction_progress.h"
#include "extraction/package_unpacking.h"

namespace setup {

namespace {

// The current directory as it is named: each console line names its file as ".\\<file>".
constexpr wchar_t kDestination[] = L".";
constexpr std::uint32_t kDamagedPackageCode = 1620;

}  // namespace

ExtractModeEnd ExtractEveryPackage(const RunContext& run) {
  MSIExtractionProgressHandler sink(*run.platform.console);
  const std::wstring destination = kDestination;
  for (SetupPackage& package : run.packages.packages) {
    if (IsTaxonomyPackage(package)) {
      if (UnpackTaxonomyPackage(run, package, destination) != kResultSuccess) {
        return ExtractModeEnd::StoppedAtTaxonomyPackage;
      }
      continue;
    }
    ICBSCabinetExtractor extractor = PackageCabinetExtractor(run.platform, package, destination);
    if (!extractor.Extract(sink)) {
      if (ICBSCabinetExtractor::DiskFull()) {
        run.result.Record(kResultDiskFull, 0, false);
      } else {
        run.result.Record(kResultInstallFailed, kDamagedPackageCode, false);
      }
    }
  }
  return ExtractModeEnd::Completed;
}

}  // namespace setup
