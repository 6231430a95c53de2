#include "packages/product_id.h"

#include "packages/product_catalogue.h"

namespace setup {

std::optional<ProductIdParts> SplitProductId(std::wstring_view productId) {
  const std::size_t separator = productId.find(L"::");
  if (separator == std::wstring_view::npos) return std::nullopt;
  return ProductIdParts{productId.substr(0, separator), productId.substr(separator + 2)};
}

const CatalogueEntry* ResolveProductId(std::wstring_view productId) {
  const std::optional<ProductIdParts> parts = SplitProductId(productId);
  if (!parts) return nullptr;
  return FindCatalogueEntry(parts->code, parts->edition);
}

}  // namespace setup
