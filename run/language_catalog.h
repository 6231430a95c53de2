// The six user-interface languages of the launcher and the current one. Every localised text
// is read through the catalogue from the STRINGTABLE of the current language.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/format.h"
#include "platform/resources.h"

namespace setup {

struct LanguageEntry {
  std::wstring_view name;          // "English", also accepted by "lang="
  std::uint32_t displayNameId;     // STRINGTABLE id of the display name
  platform::LangId langId;
  std::wstring_view lcidText;      // "1033"
  std::wstring_view transformSuffix;
  std::wstring_view isoCode;       // "en", also the INSTALLER_LANGUAGE value
  std::wstring displayName;        // loaded in the current language
  bool available = false;          // the setup carries a package for this language
};

inline constexpr std::size_t kLanguageCount = 6;
inline constexpr platform::LangId kLangEnglish = 1033;

class LanguageCatalog {
 public:
  explicit LanguageCatalog(const platform::Resources& resources);

  std::array<LanguageEntry, kLanguageCount>& Entries() { return entries_; }
  const std::array<LanguageEntry, kLanguageCount>& Entries() const { return entries_; }
  // The current entry; none until the first selection.
  const LanguageEntry* Current() const { return current_ ? &entries_[*current_] : nullptr; }
  platform::LangId CurrentLangId() const { return current_ ? entries_[*current_].langId : kLangEnglish; }
  // The setup carries packages for at least two of the languages.
  bool IsMultiLanguage() const;

  // Each returns whether an entry matched; without a match the current entry stays.
  bool SelectByName(std::wstring_view text);
  bool SelectByLangId(platform::LangId langId);
  bool SelectByIsoCode(std::wstring_view isoCode);

  // A STRINGTABLE text of the current language; empty when missing.
  std::wstring Text(std::uint32_t id) const;
  // The same text filled like printf with the arguments.
  template <class... Args>
  std::wstring FormatText(std::uint32_t id, const Args&... args) const {
    return FormatDynamic(Text(id), args...);
  }

 private:
  void Select(std::size_t index);

  const platform::Resources& resources_;
  std::array<LanguageEntry, kLanguageCount> entries_;
  std::optional<std::size_t> current_;
};

}  // namespace setup
