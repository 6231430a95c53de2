// The packages the unpack worker unpacks, with their sizes for the progress bar.
#pragma once

#include <cstdint>
#include <vector>

#include "packages/setup_package.h"
#include "platform/platform.h"

namespace setup {

struct UnpackEntry {
  SetupPackage* package;
  std::uint64_t size;
};

// The bytes of the package's cabinet: its resource less the length prefix, or the size of its
// file (0 when it has neither).
std::uint64_t PackageDataSize(const platform::Platform& platform, const SetupPackage& package);

// Every package this run acts on, in package order; nothing when repairing. A package that has
// its package file already is listed with size 0: only its language transform is written.
std::vector<UnpackEntry> BuildUnpackList(PackageList& packages, bool repairing, const platform::Platform& platform);

}  // namespace setup
