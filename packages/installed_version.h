// Questions about the installation in a record's own "Setup" key: is exactly this version
// installed, and where.
#pragma once

#include <string>

#include "packages/detection_context.h"
#include "packages/product_record.h"

namespace setup {

// The record's setup key holds the record's product id and a version with the same major,
// release and service pack (the build is not compared).
bool HasExactVersionInstalled(const DetectionContext& context, const ProductRecord& record);

// The folder of the installed application (for server products the folder above it), without
// a trailing backslash; empty when the key or its "ApplicationPath" is missing.
std::wstring InstalledFolder(const DetectionContext& context, const ProductRecord& record);

}  // namespace setup
