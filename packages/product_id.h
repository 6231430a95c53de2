// Product ids: a product code, "::" and an edition ("QB::P", "QB::IntegrationPackage::E,P").
#pragma once

#include <optional>
#include <string_view>

#include "packages/catalogue_entry.h"

namespace setup {

struct ProductIdParts {
  std::wstring_view code;
  std::wstring_view edition;
};

// Splits at the first "::"; an id without "::" has no parts.
std::optional<ProductIdParts> SplitProductId(std::wstring_view productId);

// The catalogue entry the id names (exact, case-sensitive), or nullptr.
const CatalogueEntry* ResolveProductId(std::wstring_view productId);

}  // namespace setup
