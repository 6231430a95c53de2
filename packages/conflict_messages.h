// The texts of the conflict analysis, in the current user-interface language.
#pragma once

#include <string>
#include <vector>

#include "packages/product_record.h"

namespace setup {

class LanguageCatalog;

class ConflictMessages {
 public:
  explicit ConflictMessages(const LanguageCatalog& texts) : texts_(texts) {}

  // An installed Wendrak newer than the package.
  std::wstring WendrakDowngrade(const ProductRecord& installed) const;
  // `installed` stands in the way; `fromSuite` names it as a product of the suite.
  std::wstring AlreadyInstalled(const ProductRecord& installed, bool fromSuite) const;
  std::wstring ReplacesParts() const;
  // An installation of the other bitness and another edition.
  std::wstring BitnessEditionsDiffer(const ProductRecord& installed, bool fromSuite) const;
  // An installation of the other bitness of the designer that the package replaces.
  std::wstring OtherBitnessReplaced(const ProductRecord& installed) const;
  // The base product that an integration package needs, named after the package's product.
  std::wstring IntegrationPackageNeedsBase(const ProductRecord& integrationPackage) const;

 private:
  const LanguageCatalog& texts_;
};

// The editions an integration package allows: the part of its edition after "::", split at
// "," ("IntegrationPackage::E,P" allows "E" and "P").
std::vector<std::wstring> AllowedBaseEditions(const ProductRecord& integrationPackage);

// "Enterprise or Professional": the allowed editions as words, joined by ", " with " or "
// before the last.
std::wstring AllowedEditionWords(const std::vector<std::wstring>& editions);

}  // namespace setup
