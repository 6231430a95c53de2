#include "options/setup_option_base.h"

#include <algorithm>

#include "platform/registry.h"

namespace setup {

std::wstring SetupOptionBase::PropertyName(const ProductRecord&) const { return propertyName_; }

bool SetupOptionBase::Applies(const ProductRecord& record) const {
  const std::wstring id = record.ProductId();
  return std::ranges::find(applicableIds_, std::wstring_view(id)) != applicableIds_.end();
}

std::uint32_t InstallationRegistryView(const ProductRecord& installed, ThirtyTwoBitView thirtyTwoBitView) {
  if (installed.Is64Bit()) return platform::kRegistryView64;
  return thirtyTwoBitView == ThirtyTwoBitView::Explicit ? platform::kRegistryView32 : 0;
}

}  // namespace setup
