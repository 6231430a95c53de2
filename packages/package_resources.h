// Reading the package resources (numeric type 40) that the packaging step writes into the
// launcher, and the check behind the validation switch.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/resources.h"

namespace setup {

class LanguageCatalog;
struct LanguageEntry;

namespace platform {
class Console;
}

// The package resources of this launcher. Whether the setup is multi-language is the
// catalogue's to say (it knows which languages the setup carries), once the languages are chosen.
class PackageResources {
 public:
  PackageResources(const platform::Resources& resources, const LanguageCatalog& languages)
      : resources_(resources), languages_(languages) {}

  // Whether the setup carries the language: English by the first package's cabinet
  // "PACKAGE_0", another language by its transform "PACKAGE_0_<lcid>", each in that language.
  // The languages carried decide once whether the setup is multi-language.
  bool CarriesLanguage(const LanguageEntry& language) const;
  bool IsMultiLanguage() const;
  // The text of a package text resource up to its terminating zero; empty when missing. A
  // multi-language setup reads only the English resources and treats an empty one as missing.
  std::wstring ReadText(std::wstring_view name) const;
  bool Exists(std::wstring_view name, std::optional<platform::LangId> language) const;
  // The leading decimal number of "PACKAGE_COUNT"; 0 when there is none.
  int PackageCount() const;

 private:
  const platform::Resources& resources_;
  const LanguageCatalog& languages_;
};

// Writes the validation report to the console; true when every resource exists.
bool ValidateResources(const PackageResources& resources, const LanguageCatalog& catalog, platform::Console& console);

}  // namespace setup
