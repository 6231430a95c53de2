// How two product records relate: by version, by product, by upgrade slot, and exactly.
#pragma once

#include "packages/product_record.h"

namespace setup {

// -1, 0 or 1 by version; Compare(a, b) >= 0 means a is at least as new as b.
int Compare(const ProductRecord& a, const ProductRecord& b);

// Both records name the same product (their entries share the main edition's row), so the
// schema client and server, or the two suite editions, count as one.
bool HaveSameEntry(const ProductRecord& a, const ProductRecord& b);

bool HaveSameMajor(const ProductRecord& a, const ProductRecord& b);

// One installation replaces the other in place: the same product id, and for products other
// than servers also the same major version.
bool ShareProductSlot(const ProductRecord& a, const ProductRecord& b);

// Same product, edition, version (all four numbers), bitness and language.
bool AreEqual(const ProductRecord& a, const ProductRecord& b);

}  // namespace setup
