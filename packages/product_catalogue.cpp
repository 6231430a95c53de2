#include "packages/product_catalogue.h"

#include <array>

namespace setup {
namespace {

// Row, primary row, code, edition, display name, edition name, registry name, family.
constexpr std::array<CatalogueEntry, 62> kCatalogue = {{
    {0, 0, L"QB", L"E", L"Tarquel Quibrix", L"Enterprise Edition", L"Quib Rix", 0},
    {1, 1, L"QB", L"P", L"Tarquel Quibrix", L"Professional Edition", L"Quib Rix", 0},
    {2, 2, L"QB", L"S", L"Tarquel Quibrix", L"Standard Edition", L"Quib Rix", 0},
    {3, 3, L"PL", L"E", L"Tarquel Paloric", L"Enterprise Edition", L"Paloric", 1},
    {4, 4, L"PL", L"P", L"Tarquel Paloric", L"Professional Edition", L"Paloric", 1},
    {5, 5, L"CB", L"C", L"Tarquel Corbiel", L"Community Edition", L"Corbiel", 0},
    {6, 6, L"TR", L"E", L"Tarquel Trandel", L"Enterprise Edition", L"Trandel", 2},
    {7, 7, L"TR", L"P", L"Tarquel Trandel", L"Professional Edition", L"Trandel", 2},
    {8, 8, L"TR", L"S", L"Tarquel Trandel", L"Basic Edition", L"Trandel", 2},
    {9, 9, L"SK", L"E", L"Tarquel Sorvik", L"Enterprise Edition", L"Sorvik", 3},
    {10, 10, L"MB", L"Z", L"Tarquel Mebrant", L"", L"Mebrant", 4},
    {11, 11, L"KS", L"E", L"Tarquel Kostrel", L"Enterprise Edition", L"Kostrel", 5},
    {12, 12, L"KS", L"P", L"Tarquel Kostrel", L"Professional Edition", L"Kostrel", 5},
    {13, 13, L"VN", L"Z", L"Tarquel Vinnore", L"", L"Vinnore", 6},
    {14, 14, L"HD", L"P", L"Tarquel Hadrel", L"Professional Edition", L"Hadrel", 7},
    {15, 15, L"PL", L"S", L"Tarquel Paloric", L"Basic Edition", L"Paloric", 1},
    {16, 16, L"SK", L"P", L"Tarquel Sorvik", L"Professional Edition", L"Sorvik", 3},
    {17, 17, L"CB", L"E", L"Tarquel Corbiel", L"Enterprise Edition", L"Corbiel", 0},
    {18, 18, L"GM", L"C", L"Grelmax", L"Community Edition", L"Grelmax", 8},
    {19, 19, L"GM", L"R", L"Grelmax", L"Reporting Edition", L"Grelmax", 8},
    {20, 20, L"HD", L"E", L"Tarquel Hadrel", L"Enterprise Edition", L"Hadrel", 7},
    {21, 21, L"KS", L"S", L"Tarquel Kostrel", L"Basic Edition", L"Kostrel", 5},
    {22, 22, L"HD", L"Z", L"Tarquel Hadrel", L"", L"Hadrel", 7},
    {23, 23, L"PD", L"Z", L"Tarquel Pellomar Designer", L"", L"PellomarDesigner", 9},
    {24, 24, L"BS", L"Z", L"Tarquel Brammel Server", L"", L"", 14},
    {25, 25, L"TV", L"Z", L"Tarquel Trandel Server", L"", L"", 15},
    {26, 26, L"TQ", L"E", L"Tarquel Trandel Server", L"Development Enterprise Edition", L"TrandelServerDev", 15},
    {27, 27, L"TQ", L"P", L"Tarquel Trandel Server", L"Development Professional Edition", L"TrandelServerDev", 15},
    {28, 28, L"PS", L"Z", L"Tarquel Pellomar Server", L"", L"", 16},
    {29, 29, L"YS", L"L", L"Tarquel Yarrick+XBRL Server", L"", L"", 17},
    {30, 30, L"YS", L"M", L"Tarquel Yarrick Server", L"", L"", 17},
    {31, 31, L"YQ", L"M", L"Tarquel Yarrick Server", L"Development Edition", L"YarrickServerDev", 17},
    {32, 32, L"WK", L"N", L"Tarquel Wendrak", L"", L"", 18},
    {33, 33, L"WK", L"F", L"Tarquel Wendrak", L"Offline Edition", L"", 18},
    {34, 34, L"PV", L"Z", L"Tarquel Paloric Server", L"", L"", 19},
    {35, 35, L"YX", L"W", L"Tarquel Orvel XBRL add-in for Excel", L"", L"OrvelAddInForExcel", 10},
    {36, 36, L"YX", L"E", L"Tarquel Nista XBRL add-in for Excel", L"Basic Edition", L"NistaAddInForExcel", 11},
    {37, 37, L"YX", L"I", L"Tarquel Nista XBRL add-in for Excel", L"Enterprise Edition", L"NistaAddInForExcel", 11},
    {38, 38, L"YX", L"S", L"Tarquel Paxum XBRL add-in for Excel", L"Basic Edition", L"PaxumAddInForExcel", 12},
    {39, 39, L"YX", L"R", L"Tarquel Paxum XBRL add-in for Excel", L"Enterprise Edition", L"PaxumAddInForExcel", 12},
    {40, 40, L"YX", L"F", L"Tarquel Rilon XBRL add-in for Excel", L"", L"RilonAddInForExcel", 13},
    {41, 41, L"TV", L"A", L"Tarquel Trandel Server", L"Advanced Edition", L"", 15},
    {42, 42, L"BS", L"A", L"Tarquel Brammel Server", L"Advanced Edition", L"", 14},
    {43, 43, L"PS", L"A", L"Tarquel Pellomar Server", L"Advanced Edition", L"", 16},
    {44, 44, L"SG", L"Z", L"Tarquel Sorvik Server", L"", L"", 20},
    {45, 45, L"FD", L"E", L"Tarquel Fendral", L"Enterprise Edition", L"", 21},
    {46, 45, L"FD", L"P", L"Tarquel Fendral", L"Professional Edition", L"", 21},
    {47, 10, L"MB", L"S", L"Tarquel Mebrant", L"Server", L"Mebrant Server", 4},
    {48, 29, L"TAX_XBRL", L"Z", L"XBRL Taxonomies", L"", L"", 17},
    {49, 0, L"QB", L"IntegrationPackage::E,P", L"Tarquel Quibrix Integration Package", L"", L"Quib Rix_IP", 0},
    {50, 6, L"TR", L"IntegrationPackage::E,P", L"Tarquel Trandel Integration Package", L"", L"Trandel_IP", 2},
    {51, 3, L"PL", L"IntegrationPackage::E,P", L"Tarquel Paloric Integration Package", L"", L"Paloric_IP", 1},
    {52, 11, L"KS", L"IntegrationPackage::E,P", L"Tarquel Kostrel Integration Package", L"", L"Kostrel_IP", 5},
    {53, 17, L"CB", L"IntegrationPackage::E", L"Tarquel Corbiel Integration Package", L"", L"Corbiel_IP", 0},
    {54, 6, L"TR", L"AddOn_Edifact", L"Tarquel Trandel Edifact Add-on", L"", L"Trandel_Edifact", 2},
    {55, 6, L"TR", L"AddOn_HIPAA", L"Tarquel Trandel HIPAA Add-on", L"", L"Trandel_HIPAA", 2},
    {56, 6, L"TR", L"AddOn_HL7", L"Tarquel Trandel HL7 Add-on", L"", L"Trandel_HL7", 2},
    {57, 6, L"TR", L"AddOn_IATA", L"Tarquel Trandel IATA Add-on", L"", L"Trandel_IATA", 2},
    {58, 6, L"TR", L"AddOn_X12", L"Tarquel Trandel X12 Add-on", L"", L"Trandel_X12", 2},
    {59, 6, L"TR", L"AddOn_XSLT", L"Tarquel Trandel XSLT Add-on", L"", L"Trandel_XSLT", 2},
    {60, 6, L"TR", L"AddOn_NCPDPSCRIPT", L"Tarquel Trandel NCPDPSCRIPT Add-on", L"", L"Trandel_NCPDPSCRIPT", 2},
    {61, 6, L"TR", L"AddOn_SWIFT", L"Tarquel Trandel SWIFT Add-on", L"", L"Trandel_SWIFT", 2},
}};

consteval bool RowsMatchPositionsAndPrimariesExist() {
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    const CatalogueEntry& entry = kCatalogue[i];
    if (entry.row != static_cast<int>(i)) return false;
    if (entry.primaryIndex < 0 || entry.primaryIndex >= static_cast<int>(kCatalogue.size())) return false;
  }
  return true;
}
static_assert(RowsMatchPositionsAndPrimariesExist(), "rows are numbered in order and point at existing rows");

constexpr std::wstring_view kMakerPrefix = L"Tarquel ";

}  // namespace

std::span<const CatalogueEntry> CatalogueEntries() { return kCatalogue; }

const CatalogueEntry* CatalogueEntryAt(int row) {
  if (row < 0 || row >= static_cast<int>(kCatalogue.size())) return nullptr;
  return &kCatalogue[static_cast<std::size_t>(row)];
}

const CatalogueEntry* FindCatalogueEntry(std::wstring_view code, std::wstring_view edition) {
  for (const CatalogueEntry& entry : kCatalogue) {
    if (entry.code == code && entry.edition == edition) return &entry;
  }
  return nullptr;
}

const ProductFamily* EntryFamily(const CatalogueEntry& entry) { return FindProductFamily(entry.family); }

std::wstring EntryRegistryName(const CatalogueEntry& entry) {
  if (!entry.registryName.empty()) return std::wstring(entry.registryName);
  std::wstring_view name = entry.displayName;
  if (name.starts_with(kMakerPrefix)) name.remove_prefix(kMakerPrefix.size());
  std::wstring result;
  for (const wchar_t c : name) {
    if (c != L' ') result.push_back(c);
  }
  return result;
}

}  // namespace setup
