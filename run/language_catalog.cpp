#include "run/language_catalog.h"

#include <algorithm>

#include "foundation/text.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

// The primary language is the low 10 bits of a LANGID.
constexpr platform::LangId PrimaryLanguage(platform::LangId langId) { return langId & 0x3FF; }

}  // namespace

LanguageCatalog::LanguageCatalog(const platform::Resources& resources)
    : resources_(resources),
      entries_{{
          {L"English", IDS_LANGUAGE_ENGLISH, 1033, L"1033", L"", L"en", {}, false},
          {L"German", IDS_LANGUAGE_GERMAN, 1031, L"1031", L"_de", L"de", {}, false},
          {L"Spanish", IDS_LANGUAGE_SPANISH, 1034, L"1034", L"_es", L"es", {}, false},
          {L"French", IDS_LANGUAGE_FRENCH, 1036, L"1036", L"_fr", L"fr", {}, false},
          {L"Japanese", IDS_LANGUAGE_JAPANESE, 1041, L"1041", L"_ja", L"ja", {}, false},
          {L"Chinese", IDS_LANGUAGE_CHINESE, 2052, L"2052", L"_zh", L"zh_CHS", {}, false},
      }} {}

bool LanguageCatalog::SelectByName(std::wstring_view text) {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (EqualsIgnoreCase(entries_[i].name, text) || EqualsIgnoreCase(entries_[i].displayName, text)) {
      Select(i);
      return true;
    }
  }
  return false;
}

bool LanguageCatalog::SelectByLangId(platform::LangId langId) {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].langId == langId) {
      Select(i);
      return true;
    }
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (PrimaryLanguage(entries_[i].langId) == PrimaryLanguage(langId)) {
      Select(i);
      return true;
    }
  }
  return false;
}

bool LanguageCatalog::SelectByIsoCode(std::wstring_view isoCode) {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].isoCode == isoCode) {
      Select(i);
      return true;
    }
  }
  return false;
}

bool LanguageCatalog::IsMultiLanguage() const {
  return std::count_if(entries_.begin(), entries_.end(), [](const LanguageEntry& entry) { return entry.available; }) >= 2;
}

std::wstring LanguageCatalog::Text(std::uint32_t id) const { return resources_.LoadString(id, CurrentLangId()); }

void LanguageCatalog::Select(std::size_t index) {
  current_ = index;
  for (LanguageEntry& entry : entries_) entry.displayName = Text(entry.displayNameId);
}

}  // namespace setup
