#include "packages/package_queries.h"

#include <algorithm>

namespace setup {

bool IsWendrakPackage(const SetupPackage& package) {
  return package.products.size() == 1 && package.products.front().ProductId().starts_with(L"WK");
}

bool IsWendrakOfflinePackage(const SetupPackage& package) {
  return package.products.size() == 1 && package.products.front().ProductId() == L"WK::F";
}

bool IsSuitePackage(const SetupPackage& package) { return package.products.size() > 1; }

bool FirstProductIsDesktopProduct(const SetupPackage& package) {
  return !package.products.empty() && package.products.front().IsDesktopProduct();
}

bool FirstProductIsServerProduct(const SetupPackage& package) {
  return !package.products.empty() && package.products.front().IsServerProduct();
}

bool ContainsProductId(const SetupPackage& package, std::wstring_view productId) {
  return std::any_of(package.products.begin(), package.products.end(),
                     [&](const ProductRecord& product) { return product.ProductId() == productId; });
}

}  // namespace setup
