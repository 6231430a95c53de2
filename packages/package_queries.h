// What pages and the install sequence ask about one package's products.
#pragma once

#include <string_view>

#include "packages/setup_package.h"

namespace setup {

// One product, of the Wendrak server ("WK::...").
bool IsWendrakPackage(const SetupPackage& package);
bool IsWendrakOfflinePackage(const SetupPackage& package);
// Several products: the suite.
bool IsSuitePackage(const SetupPackage& package);
bool FirstProductIsDesktopProduct(const SetupPackage& package);
bool FirstProductIsServerProduct(const SetupPackage& package);
bool ContainsProductId(const SetupPackage& package, std::wstring_view productId);

}  // namespace setup
