// The installation a package may upgrade: the newest one of its product that is not newer
// than the package and has the same suite membership.
#pragma once

#include <optional>

#include "packages/detection_context.h"
#include "packages/product_record.h"

namespace setup {

// Opens the record's possible "Installation_v..." keys from its own major down to the
// product's oldest supported major (for the designer every release of a major first) and
// returns the first installation that qualifies. None for a record without catalogue entry.
std::optional<ProductRecord> FindNewestInstallation(const DetectionContext& context, const ProductRecord& record);

}  // namespace setup
