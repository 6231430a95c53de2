#include "launcher/word_wrap.h"

#include <gtest/gtest.h>

#include <sstream>

#include "foundation/text.h"
#include "platform/host/host_resources.h"
#include "resources/resource_ids.h"
#include "run/language_catalog.h"

namespace setup {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  for (const std::wstring_view line : Split(text, L'\n')) lines.emplace_back(line);
  return lines;
}

TEST(WordWrap, BreaksBeforeTheWordThatWouldPassColumn79) {
  const std::wstring text(70, L'a');
  EXPECT_EQ(WrapText(text + L" bbbbbbbb", 0, std::nullopt), text + L" bbbbbbbb");  // exactly 79
  EXPECT_EQ(WrapText(text + L" bbbbbbbbb", 0, std::nullopt), text + L"\nbbbbbbbbb");
  EXPECT_EQ(WrapText(text + L" bbbbbbbbb", 4, std::nullopt), L"    " + text + L"\n    bbbbbbbbb");
}

TEST(WordWrap, LineFeedsTabsAndFileName) {
  EXPECT_EQ(WrapText(L"Use:\n\t%s /qn+", 4, L"Setup.exe"), L"    Use:\n        Setup.exe /qn+");
  EXPECT_EQ(WrapText(L"Use:\n\t%s /qn+", 4, std::nullopt), L"    Use:\n        %s /qn+");
  EXPECT_EQ(WrapText(L"end\n", 2, std::nullopt), L"  end\n  ");
  EXPECT_EQ(WrapText(L"", 8, std::nullopt), L"");
}

TEST(WordWrap, QuotedTextStaysTogether) {
  const std::wstring text = std::wstring(60, L'x') + L" Use \"127.0.0.1 and more\" here";
  EXPECT_EQ(WrapText(text, 0, std::nullopt), std::wstring(60, L'x') + L" Use \n\"127.0.0.1 and more\" here");
}

TEST(WordWrap, NoLineLongerThan79ExceptOneUnbreakablePiece) {
  const std::wstring longWord(100, L'z');
  const auto lines = Lines(WrapText(L"short words then " + longWord + L" and more words after it", 4, std::nullopt));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], L"    " + longWord);

  // Every help text of every language wraps within the limit at every indent.
  platform::host::HostResources resources;
  LanguageCatalog catalog(resources);
  for (const platform::LangId language : {1033, 1031, 1034, 1036}) {
    catalog.SelectByLangId(language);
    for (std::uint32_t id = IDS_HELP_LANGUAGE_LABEL; id <= IDS_GROUP_SORVIK_SERVICE; ++id) {
      for (const std::size_t indent : {0u, 4u, 8u, 12u}) {
        for (const std::wstring& line : Lines(WrapText(catalog.Text(id), indent, L"Setup.exe"))) {
          EXPECT_LE(line.size(), kHelpLineWidth) << "id " << id << " language " << language;
        }
      }
    }
  }
}

}  // namespace
}  // namespace setup
