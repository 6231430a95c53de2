// The built-in catalogue of every product the launcher knows, and the lookups on it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "packages/catalogue_entry.h"
#include "packages/product_family.h"

namespace setup {

std::span<const CatalogueEntry> CatalogueEntries();

// The entry at that row, or nullptr outside the catalogue.
const CatalogueEntry* CatalogueEntryAt(int row);

// The first entry, in catalogue order, whose code and edition equal the given ones exactly.
const CatalogueEntry* FindCatalogueEntry(std::wstring_view code, std::wstring_view edition);

// The entry's family, or nullptr when its family index is not in the family table.
const ProductFamily* EntryFamily(const CatalogueEntry& entry);

// The name of the product's key under "SOFTWARE\Tarquel": the entry's own registry name, or
// else its display name without a leading "Tarquel " and without blanks.
std::wstring EntryRegistryName(const CatalogueEntry& entry);

}  // namespace setup
