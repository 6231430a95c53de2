// The folder a product installs into when the user chooses none: "<Program Files>\Tarquel\"
// followed by the product's folder name and, for most products, its major version.
#pragma once

#include <string>

#include "packages/product_record.h"
#include "platform/file_system.h"

namespace setup {

// Empty when the record has no catalogue entry, its product has no family (the suite), or the
// platform does not know the Program Files folder.
std::wstring DefaultInstallFolder(const ProductRecord& record, const platform::FileSystem& files,
                                  bool systemIs64Bit);

}  // namespace setup
