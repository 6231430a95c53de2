// The product records of a package: one for its product id, or one per member product when
// the id names the suite.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "packages/product_record.h"

namespace setup {

// The most product records one package carries.
inline constexpr std::size_t kMaxPackageProductRecords = 8;

struct PackageProductRecords {
  std::vector<ProductRecord> records;
  // Every record names a catalogue entry that belongs to a product family.
  bool complete = false;
};

// The member product ids of a suite id, in installation order; empty for any other id.
std::span<const std::wstring_view> SuiteMemberIds(std::wstring_view productId);

// Records with the package's version and bitness and no language. Suite members are marked as
// coming from the suite. Records that name no product are kept (and make the result incomplete).
PackageProductRecords BuildPackageProductRecords(std::wstring_view productId, std::wstring_view versionText,
                                                 bool is64Bit);

// A package runs a Windows service when any of its products does; the wizard then adds the
// service configuration page.
bool IsServicePackage(std::span<const ProductRecord> records);

}  // namespace setup
