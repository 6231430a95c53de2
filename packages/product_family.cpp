#include "packages/product_family.h"

#include <array>

namespace setup {
namespace {

constexpr std::array<ProductFamily, 21> kFamilies = {{
    {0, L"Quibrix"},
    {1, L"Paloric"},
    {2, L"Trandel"},
    {3, L"Sorvik"},
    {4, L"Mebrant"},
    {5, L"Kostrel"},
    {6, L"Vinnore"},
    {7, L"Hadrel"},
    {8, L"Grelmax"},
    {9, L"PellomarDesigner"},
    {10, L"OrvelAddInForExcel"},
    {11, L"NistaAddInForExcel"},
    {12, L"PaxumAddInForExcel"},
    {13, L"RilonAddInForExcel"},
    {14, L"BrammelServer"},
    {15, L"TrandelServer"},
    {16, L"PellomarServer"},
    {17, L"YarrickServer"},
    {18, L"Wendrak"},
    {19, L"PaloricServer"},
    {20, L"SorvikServer"},
}};

consteval bool IndicesMatchPositions() {
  for (std::size_t i = 0; i < kFamilies.size(); ++i) {
    if (kFamilies[i].index != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(IndicesMatchPositions(), "a family's index is its position in the table");

}  // namespace

const ProductFamily* FindProductFamily(int index) {
  if (index < 0 || index >= static_cast<int>(kFamilies.size())) return nullptr;
  return &kFamilies[static_cast<std::size_t>(index)];
}

}  // namespace setup
