// Where a product keeps its registry data below HKEY_LOCAL_MACHINE.
#pragma once

#include <string>

#include "packages/product_record.h"

namespace setup {

// "SOFTWARE\Tarquel\<registry name>"; empty for a record without catalogue entry.
std::wstring ProductBaseKeyPath(const ProductRecord& record);

// The "Setup" key of the record's installation:
// "SOFTWARE\Tarquel\<registry name>\Installation_v<major>[_x64]\Setup",
// with "v<major>.<release>" for the designer (code "PD").
// Empty for a record without catalogue entry.
std::wstring ProductSetupKeyPath(const ProductRecord& record);

}  // namespace setup
