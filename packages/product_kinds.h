// What kind of product a catalogue entry describes. Every predicate is false for a missing
// entry (nullptr), so records whose id names no product are of no kind.
#pragma once

#include "packages/catalogue_entry.h"

namespace setup {

bool IsIntegrationPackage(const CatalogueEntry* entry);
// Trandel add-ons and the spreadsheet add-ins.
bool IsAddOn(const CatalogueEntry* entry);
bool IsSpreadsheetAddIn(const CatalogueEntry* entry);
bool IsDesktopProduct(const CatalogueEntry* entry);
bool IsServerProduct(const CatalogueEntry* entry);
// Servers that run as Windows services and get the service configuration page.
bool IsServiceProduct(const CatalogueEntry* entry);
bool IsWendrakFamily(const CatalogueEntry* entry);
bool IsDesignerFamily(const CatalogueEntry* entry);
// Products whose versions read "major.release" ("3.1") rather than a year.
bool HasShortVersion(const CatalogueEntry* entry);

}  // namespace setup
