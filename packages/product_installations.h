// Every installation of a product on the machine, from the products' own registry keys.
#pragma once

#include <vector>

#include "packages/detection_context.h"
#include "packages/product_record.h"

namespace setup {

// The installations of the record's product: the "Installation_*" keys below its base key,
// first in the default (32-bit) view, then, on a 64-bit system, in the 64-bit view. There a
// 64-bit spreadsheet add-in hides its 32-bit twin of the same id and version. Empty for a
// record without catalogue entry.
std::vector<ProductRecord> FindInstallations(const DetectionContext& context, const ProductRecord& record);

// For an integration package or an add-on, the installations of the product it extends (the
// entry of its main edition); empty for every other record.
std::vector<ProductRecord> BaseProductInstallations(const DetectionContext& context, const ProductRecord& record);

}  // namespace setup
