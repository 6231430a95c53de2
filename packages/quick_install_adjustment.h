// The sub-packages that a quick install takes along with the main product.
#pragma once

#include <string_view>
#include <vector>

#include "packages/detection_context.h"
#include "packages/product_record.h"
#include "packages/setup_package.h"

namespace setup {

// A quick install over the previous installation `installations.front()` (the main
// product's), for every sub-package other than Wendrak: one whose own version is the found
// version is not handled; one installed with the found version is handled and added to
// `installations`; any other is deselected unless the sub-packages value selects it.
void AdjustSubPackagesForQuickInstall(const DetectionContext& context, PackageList& packages,
                                      std::vector<ProductRecord>& installations, std::wstring_view subPackages);

}  // namespace setup
