#include "extraction/unpack_list.h"

namespace setup {

namespace {

constexpr std::uint64_t kLengthPrefixSize = 4;

}  // namespace

std::uint64_t PackageDataSize(const platform::Platform& platform, const SetupPackage& package) {
  if (const auto resource = platform.resources->FindPackageResource(package.dataName, std::nullopt)) {
    return resource->size() > kLengthPrefixSize ? resource->size() - kLengthPrefixSize : 0;
  }
  return platform.files->FileSize(package.dataName).value_or(0);
}

std::vector<UnpackEntry> BuildUnpackList(PackageList& packages, bool repairing, const platform::Platform& platform) {
  std::vector<UnpackEntry> list;
  if (repairing) return list;
  for (SetupPackage& package : packages.packages) {
    if (!package.handle) continue;
    // A package whose folder already holds its MSI is not expanded again, but still needs its
    // language transform: it takes no share of the progress.
    const bool unpacked = !package.packageFile.empty();
    list.push_back({&package, unpacked ? 0 : PackageDataSize(platform, package)});
  }
  return list;
}

}  // namespace setup
