// Text from outside made safe for the log: control characters escaped, UTF-16 well-formed.
#include <gtest/gtest.h>

#include "foundation/text.h"

namespace setup {
namespace {

TEST(EscapeControlCharacters, LineBreaksAndOtherControlsBecomeVisible) {
  EXPECT_EQ(EscapeControlCharacters(L"a\r\n=== SetupLauncher stopped: x\tb"),
            L"a\\r\\n=== SetupLauncher stopped: x\\tb");
  EXPECT_EQ(EscapeControlCharacters(std::wstring(L"\0\x1B\x7F", 3)), L"\\x00\\x1B\\x7F");
  EXPECT_EQ(EscapeControlCharacters(L"\x85\x2028\x2029"), L"\\u0085\\u2028\\u2029");
  // Paths, quotes and letters of every script pass unchanged.
  EXPECT_EQ(EscapeControlCharacters(L"/L*v C:\\tmp\\log.txt \"Qu\u00EFbrix\" \u30BB\u30C3\u30C8"),
            L"/L*v C:\\tmp\\log.txt \"Qu\u00EFbrix\" \u30BB\u30C3\u30C8");
}

TEST(ReplaceLoneSurrogates, OnlyUnpairedHalvesAreReplaced) {
  std::u16string units = u"a\xD800" u"b\xDC00\xD83D\xDE00\xDBFF";
  ReplaceLoneSurrogates(units);
  EXPECT_EQ(units, u"a\uFFFDb\uFFFD\xD83D\xDE00\uFFFD");
  std::u16string reversed = u"\xDE00\xD83D";  // low before high is no pair
  ReplaceLoneSurrogates(reversed);
  EXPECT_EQ(reversed, u"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace setup
