#include "options/setup_options.h"

#include <algorithm>
#include <utility>

#include "foundation/installer_property_text.h"
#include "options/custom_install_location_option.h"
#include "options/desktop_shortcut_option.h"
#include "options/mebrant_options.h"
#include "options/quibrix_options.h"
#include "options/trusted_locations_option.h"
#include "packages/product_record_comparison.h"

namespace setup {

namespace {

bool PackageCarries(std::span<const ProductRecord> packageRecords, const ProductRecord& installation) {
  const std::wstring id = installation.ProductId();
  return std::ranges::any_of(packageRecords, [&id](const ProductRecord& record) { return record.ProductId() == id; });
}

bool IsBoundTo(const SetupOptionBase& option, const ProductRecord& installation) {
  return option.BoundInstallation() && AreEqual(*option.BoundInstallation(), installation);
}

void AppendOptionProperties(std::wstring& text, const SetupOptionBase& option, const ProductRecord& installation) {
  if (option.IsGroup()) {
    const auto& group = static_cast<const SetupOptionGroupBase&>(option);
    for (const std::wstring& name : group.SubPropertyNames()) {
      if (const auto value = group.SubValue(name)) AppendQuotedProperty(text, name, *value);
    }
  } else if (const auto value = option.Value()) {
    AppendQuotedProperty(text, option.PropertyName(installation), *value);
  }
}

}  // namespace

SetupOptions::SetupOptions(platform::Platform& platform, bool systemIs64Bit)
    : environment_{platform, systemIs64Bit, {}} {}

const std::vector<std::unique_ptr<SetupOptionBase>>& SetupOptions::Prototypes() {
  if (prototypes_.empty()) {
    prototypes_.push_back(std::make_unique<SetupOptionAddExamplesToTrustedLocations>(environment_));
    prototypes_.push_back(std::make_unique<SetupOptionServerForMebrant>(environment_));
    prototypes_.push_back(std::make_unique<SetupOptionsMebrantServer>(environment_));
    prototypes_.push_back(std::make_unique<SetupOptionDesktopShortcut>(environment_));
    prototypes_.push_back(std::make_unique<SetupOptionCustomInstallLocation>(environment_));
    prototypes_.push_back(std::make_unique<SetupOptionQuibrixIESupport>(environment_));
    prototypes_.push_back(std::make_unique<SetupOptionQuibrixHTMLisXHTML>(environment_));
  }
  return prototypes_;
}

void SetupOptions::Bind(std::span<const ProductRecord> foundInstallations) {
  const auto& prototypes = Prototypes();
  bound_.clear();
  for (const ProductRecord& installation : foundInstallations) {
    for (const auto& prototype : prototypes) {
      if (!prototype->Applies(installation)) continue;
      std::unique_ptr<SetupOptionBase> option = prototype->Clone();
      option->Bind(installation);
      option->Load(installation);
      bound_.push_back(std::move(option));
    }
  }
}

std::wstring SetupOptions::PropertyText(std::span<const ProductRecord> packageRecords,
                                        std::span<const ProductRecord> quickInstallList) const {
  std::wstring text;
  for (const ProductRecord& installation : quickInstallList) {
    if (!PackageCarries(packageRecords, installation)) continue;
    for (const auto& option : bound_) {
      if (IsBoundTo(*option, installation)) AppendOptionProperties(text, *option, installation);
    }
  }
  return text;
}

}  // namespace setup
