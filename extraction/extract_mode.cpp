#include "extraction/extract_mode.h"

#include "extraction/console_extraction_progress.h"
#include "extraction/package_unpacking.h"

namespace setup {

namespace {

// The current folder as an absolute path, so that each console line names its file in full.
// A drive's root loses its backslash: the file names bring their own.
std::wstring Destination(const platform::FileSystem& files) {
  std::wstring folder = files.CurrentFolder();
  if (folder.empty()) return L".";
  if (folder.back() == L'\\') folder.pop_back();
  return folder;
}
constexpr std::uint32_t kDamagedPackageCode = 1620;

}  // namespace

ExtractModeEnd ExtractEveryPackage(const RunContext& run) {
  MSIExtractionProgressHandler sink(*run.platform.console);
  const std::wstring destination = Destination(*run.platform.files);
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
