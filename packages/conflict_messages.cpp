#include "packages/conflict_messages.h"

#include "foundation/format.h"
#include "foundation/text.h"
#include "run/language_catalog.h"
#include "resources/resource_ids.h"

namespace setup {
namespace {

std::wstring Joined(const std::wstring& first, const std::wstring& second) {
  return Format(L"%s %s", first, second);
}

std::wstring_view EditionWord(std::wstring_view letter) {
  if (letter == L"E") return L"Enterprise";
  if (letter == L"P") return L"Professional";
  if (letter == L"S") return L"Basic";
  return L"";
}

}  // namespace

std::wstring ConflictMessages::WendrakDowngrade(const ProductRecord& installed) const {
  return texts_.FormatText(IDS_CONFLICT_WENDRAK_DOWNGRADE, installed.DisplayName());
}

std::wstring ConflictMessages::AlreadyInstalled(const ProductRecord& installed, bool fromSuite) const {
  return texts_.FormatText(fromSuite ? IDS_CONFLICT_SUITE_PRODUCT_INSTALLED : IDS_CONFLICT_PRODUCT_INSTALLED,
                           installed.DisplayName());
}

std::wstring ConflictMessages::ReplacesParts() const { return texts_.Text(IDS_CONFLICT_REPLACES_PARTS); }

std::wstring ConflictMessages::BitnessEditionsDiffer(const ProductRecord& installed, bool fromSuite) const {
  return Joined(AlreadyInstalled(installed, fromSuite), texts_.Text(IDS_CONFLICT_BITNESS_EDITIONS_DIFFER));
}

std::wstring ConflictMessages::OtherBitnessReplaced(const ProductRecord& installed) const {
  return Joined(AlreadyInstalled(installed, false), ReplacesParts());
}

std::wstring ConflictMessages::IntegrationPackageNeedsBase(const ProductRecord& integrationPackage) const {
  return texts_.FormatText(IDS_CONFLICT_INTEGRATION_PACKAGE_NEEDS_BASE, integrationPackage.PrimaryDisplayName(),
                           integrationPackage.VersionDisplay(),
                           std::wstring_view(integrationPackage.Is64Bit() ? L"64-bit" : L"32-bit"),
                           AllowedEditionWords(AllowedBaseEditions(integrationPackage)));
}

std::vector<std::wstring> AllowedBaseEditions(const ProductRecord& integrationPackage) {
  const std::wstring edition = integrationPackage.Edition();
  const std::size_t separator = edition.find(L"::");
  std::vector<std::wstring> editions;
  if (separator == std::wstring::npos) return editions;
  for (const std::wstring_view letter : Split(std::wstring_view(edition).substr(separator + 2), L',')) {
    editions.emplace_back(letter);
  }
  return editions;
}

std::wstring AllowedEditionWords(const std::vector<std::wstring>& editions) {
  // Letters without a word are left out rather than leaving a gap in the list.
  std::vector<std::wstring_view> words;
  for (const std::wstring& edition : editions) {
    if (const std::wstring_view word = EditionWord(edition); !word.empty()) words.push_back(word);
  }
  std::wstring text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? L" or " : L", ";
    text += words[i];
  }
  return text;
}

}  // namespace setup
