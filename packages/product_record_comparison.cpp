#include "packages/product_record_comparison.h"

namespace setup {

int Compare(const ProductRecord& a, const ProductRecord& b) { return CompareVersions(a.Version(), b.Version()); }

bool HaveSameEntry(const ProductRecord& a, const ProductRecord& b) {
  return a.HasEntry() && b.HasEntry() && a.Entry()->primaryIndex == b.Entry()->primaryIndex;
}

bool HaveSameMajor(const ProductRecord& a, const ProductRecord& b) { return a.MajorVersion() == b.MajorVersion(); }

bool ShareProductSlot(const ProductRecord& a, const ProductRecord& b) {
  if (!a.HasEntry() || !b.HasEntry()) return false;
  return a.ProductId() == b.ProductId() && (a.IsServerProduct() || HaveSameMajor(a, b));
}

bool AreEqual(const ProductRecord& a, const ProductRecord& b) {
  return a.HasEntry() && b.HasEntry() && a.Entry()->code == b.Entry()->code &&
         a.Entry()->edition == b.Entry()->edition && a.Version() == b.Version() && a.Is64Bit() == b.Is64Bit() &&
         a.Language() == b.Language();
}

}  // namespace setup
