// What the conflict analysis finds for a package: the installed products in its way, each
// with the text the user sees and whether the launcher may remove it by itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "packages/product_record.h"

namespace setup {

struct ConflictItem {
  std::wstring message;
  // The installed product may be removed automatically so that the package can be installed;
  // false when the finding blocks the installation.
  bool replaceable = false;
  // The installation the message is about, which a removal would take away.
  std::optional<ProductRecord> installedProduct;
};

struct ConflictAnalysis {
  std::vector<ConflictItem> items;
  // Set by every non-replaceable finding, and kept even when a later suite finding replaces
  // the items.
  bool blocking = false;
};

}  // namespace setup
