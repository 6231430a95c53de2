// The product families: groups of catalogue entries that share a registry name, which is also
// the default install folder name of most of their products.
#pragma once

#include <string_view>

namespace setup {

struct ProductFamily {
  int index = 0;
  std::wstring_view registryName;
};

// The family with that index, or nullptr when the index is not a family (the suite's entries
// carry such an index).
const ProductFamily* FindProductFamily(int index);

}  // namespace setup
