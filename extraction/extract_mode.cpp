#include "extraction/extract_mode.h"

#include "extraction/console_extraction_progress.h"
#include "extraction/package_unpacking.h"

namespace setup {

namespace {

constexpr wchar_t kCurrentFolder[] = L".";
constexpr std::uint32_t kDamagedPackageCode = 1620;

}  // namespace

ExtractModeEnd ExtractEveryPackage(const RunContext& run) {
  MSIExtractionProgressHandler sink(*run.platform.console);
  for (SetupPackage& package : run.packages.packages) {
    if (IsTaxonomyPackage(package)) {
      if (UnpackTaxonomyPackage(run, package, kCurrentFolder) != kResultSuccess) {
        return ExtractModeEnd::StoppedAtTaxonomyPackage;
      }
      continue;
    }
    ICBSCabinetExtractor extractor = PackageCabinetExtractor(run.platform, package, kCurrentFolder);
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
