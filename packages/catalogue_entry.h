// One row of the built-in product catalogue: a product the launcher can install, detect,
// upgrade or remove, named by the two halves of its product id ("QB" and "P" for "QB::P").
#pragma once

#include <string_view>

namespace setup {

struct CatalogueEntry {
  int row = 0;           // position in the catalogue
  int primaryIndex = 0;  // row of the entry that stands for this product's main edition
  std::wstring_view code;
  std::wstring_view edition;
  std::wstring_view displayName;
  std::wstring_view editionName;   // may be empty
  std::wstring_view registryName;  // may be empty: then derived from the display name
  int family = 0;                  // index of a ProductFamily, or a value outside that table
};

}  // namespace setup
