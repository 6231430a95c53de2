#include "packages/package_resources.h"

#include <algorithm>
#include <limits>

#include "foundation/format.h"
#include "foundation/text.h"
#include "packages/package_resource_names.h"
#include "platform/console.h"
#include "run/language_catalog.h"

namespace setup {

namespace names = package_resource_names;

bool PackageResources::CarriesLanguage(const LanguageEntry& language) const {
  const std::wstring name = language.langId == kLangEnglish ? names::PackageName(names::kPackageData, 0)
                                                            : names::TransformName(0, language.lcidText);
  return Exists(name, language.langId);
}

bool PackageResources::IsMultiLanguage() const { return languages_.IsMultiLanguage(); }

std::wstring PackageResources::ReadText(std::wstring_view name) const {
  const bool multiLanguage = IsMultiLanguage();
  const auto bytes = resources_.FindPackageResource(name, multiLanguage ? std::optional(kLangEnglish) : std::nullopt);
  if (!bytes || bytes->empty()) return {};
  if (multiLanguage && (*bytes)[0] == std::byte{0}) return {};
  std::u16string units;
  units.reserve(bytes->size() / 2);
  for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) {
    const auto unit = static_cast<char16_t>(std::to_integer<unsigned>((*bytes)[i]) |
                                            (std::to_integer<unsigned>((*bytes)[i + 1]) << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return FromUtf16(units);
}

bool PackageResources::Exists(std::wstring_view name, std::optional<platform::LangId> language) const {
  return resources_.FindPackageResource(name, language).has_value();
}

int PackageResources::PackageCount() const {
  const std::int64_t count = ParseLeadingInteger(ReadText(names::Name(names::kPackageCount)));
  return static_cast<int>(std::clamp<std::int64_t>(count, 0, std::numeric_limits<int>::max()));
}

bool ValidateResources(const PackageResources& resources, const LanguageCatalog& catalog, platform::Console& console) {
  console.Write(L"\r\nValidation if all necessary resources have been compiled into setup.\r\n");
  // Each failure is written as it is found, so a damaged count costs time, never memory.
  bool complete = true;
  bool packageHasAny = false;
  const auto check = [&](const std::wstring& name, const LanguageEntry* language) {
    if (resources.Exists(name, language ? std::optional(language->langId) : std::nullopt)) {
      packageHasAny = true;
      return;
    }
    complete = false;
    const std::wstring where = language ? L" [" + std::wstring(language->lcidText) + L"]" : std::wstring();
    console.Write(Format(L"    Test for resource %s%s failed!", name, where));
  };
  check(names::Name(names::kOs), nullptr);
  check(names::Name(names::kPackageCount), nullptr);
  const int count = resources.PackageCount();
  const std::size_t languages = resources.IsMultiLanguage() ? kLanguageCount : 1;
  for (int n = 0; n < count; ++n) {
    packageHasAny = false;
    for (std::size_t k = 0; k < languages; ++k) {
      for (const std::string_view base : names::kRequiredPackageTexts) check(names::PackageName(base, n), nullptr);
      if (k == 0) {
        check(names::PackageName(names::kPackageData, n), nullptr);
      } else {
        const LanguageEntry& entry = catalog.Entries()[k];
        check(names::TransformName(n, entry.lcidText), &entry);
      }
    }
    // A package number without a single resource of its own means the count is wrong: the
    // packages end here, and checking up to an absurd count would only repeat this failure.
    if (!packageHasAny) break;
  }
  console.Write(complete ? L"All resources have been detected.\r\n" : L"Some resources are missing.\r\n");
  return complete;
}

}  // namespace setup
