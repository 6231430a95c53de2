// Building one package record from its description: its product records, its installation
// state and its package folder.
#pragma once

#include <string>

#include "packages/detection_context.h"
#include "packages/package_cache.h"
#include "packages/setup_package.h"
#include "run/setup_log.h"

namespace setup {

// What the resources or the workload file say about one package.
struct PackageDescription {
  std::wstring productName;
  std::wstring productCode;
  std::wstring packageCode;
  std::wstring productId;
  bool is64Bit = false;
  std::wstring version;
  std::wstring dataName;
  std::wstring transformPattern;
  bool main = false;
  std::wstring installerType;  // empty means "msi"
};

// What building a record reads: the machine, and the package cache root.
struct PackageBuildContext {
  DetectionContext detection;
  PackageCacheRoot& cacheRoot;
  // Whether the run asks whether the products are installed. Extracting packages into a
  // folder never does: it leaves Windows Installer unloaded, which saves a start-up's worth of
  // time and memory, and the packages count as not installed.
  bool detectInstallations = true;
  // Where a package folder that cannot be trusted is told. Without it (extracting into a
  // folder, which unpacks every package anyway) no package folder is looked at.
  SetupLog* log = nullptr;
};

SetupPackage BuildSetupPackage(const PackageBuildContext& context, PackageDescription description);

}  // namespace setup
