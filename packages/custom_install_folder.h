// Whether an installation was put somewhere other than its product's default folder.
#pragma once

#include <string>

#include "packages/detection_context.h"
#include "packages/product_record.h"

namespace setup {

// The installation's folder when it differs (as a path, ignoring case) from the product's
// default install folder and still exists; empty otherwise.
std::wstring CustomInstallFolder(const DetectionContext& context, const ProductRecord& installation);

}  // namespace setup
