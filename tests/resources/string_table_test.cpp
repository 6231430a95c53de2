// The six languages of the STRINGTABLE must offer the same texts with the same printf
// conversions, or a formatted text would read the wrong argument in one language.
#include <gtest/gtest.h>

#include <set>

#include "platform/host/rc_string_table.h"
#include "resources/resource_ids.h"

namespace setup {
namespace {

std::wstring Conversions(const std::wstring& text) {
  std::wstring conversions;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'%') continue;
    std::size_t end = i + 1;
    while (end < text.size() && std::wstring_view(L"0123456789.-+#").find(text[end]) != std::wstring_view::npos) ++end;
    if (end < text.size()) conversions += text.substr(i, end - i + 1) + L' ';
    i = end;
  }
  return conversions;
}

TEST(StringTable, EveryLanguageHasEveryEnglishTextWithTheSameConversions) {
  const platform::host::StringTable table = platform::host::LoadStringTables(SETUP_RESOURCE_DIR);
  std::set<std::uint16_t> languages;
  for (const auto& [key, text] : table) languages.insert(key.second);
  ASSERT_EQ(languages.size(), 6u);
  for (const auto& [key, english] : table) {
    if (key.second != 1033) continue;
    for (const std::uint16_t language : languages) {
      const auto translated = table.find({key.first, language});
      ASSERT_NE(translated, table.end()) << "text " << key.first << " missing in language " << language;
      EXPECT_EQ(Conversions(translated->second), Conversions(english))
          << "text " << key.first << " in language " << language;
    }
  }
}

// The welcome page fills the introduction text that the "OS" resource chose with the product
// name, in whatever language the run speaks.
TEST(StringTable, EveryWelcomeTextNamesTheProductOnceInEveryLanguage) {
  const platform::host::StringTable table = platform::host::LoadStringTables(SETUP_RESOURCE_DIR);
  for (const std::uint16_t id : {IDS_WELCOME_SUPPORTED_OS_DEFAULT, IDS_WELCOME_SUPPORTED_OS_XP_SP3,
                                 IDS_WELCOME_SUPPORTED_OS_VISTA, IDS_WELCOME_SUPPORTED_OS_WIN7,
                                 IDS_WELCOME_SUPPORTED_OS_WIN7_SP1}) {
    for (const std::uint16_t language : {1033, 1031, 1034, 1036, 1041, 2052}) {
      const auto text = table.find({id, language});
      ASSERT_NE(text, table.end()) << "welcome text " << id << " missing in language " << language;
      EXPECT_EQ(Conversions(text->second), L"%s ") << "welcome text " << id << " in language " << language;
    }
  }
}

}  // namespace
}  // namespace setup
