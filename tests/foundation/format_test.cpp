#include "foundation/format.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(Format, WindowsWideConversions) {
  EXPECT_EQ(Format(L"%04d-%02d-%02d %02d:%02d:%02d", 2026, 3, 9, 7, 5, 0), L"2026-03-09 07:05:00");
  EXPECT_EQ(Format(L"%i.%i.%i.%i", 24, 1, 0, 17), L"24.1.0.17");
  EXPECT_EQ(Format(L"%0.2d|%0.2d", 7, 123), L"07|123");
  EXPECT_EQ(Format(L"%s (%d - %s)", L"Installation failed.", 1603, std::wstring(L"Fatal\r\n")),
            L"Installation failed. (1603 - Fatal\r\n)");
  EXPECT_EQ(Format(L"100%% %x %X %u", 255u, 255u, 4294967295u), L"100% ff FF 4294967295");
  EXPECT_EQ(Format(L"[%5s|%-5s]", L"ab", L"cd"), L"[   ab|cd   ]");
  EXPECT_EQ(Format(L"%d", 0x80070005u), L"-2147024891");
  EXPECT_EQ(Format(L"%05d", -42), L"-0042");
}

TEST(Format, DynamicFormatsNeverReadPastTheirArguments) {
  EXPECT_EQ(FormatDynamic(L"Error: Parameter %s must be numeric", L"BR_WebServer_Port"),
            L"Error: Parameter BR_WebServer_Port must be numeric");
  EXPECT_EQ(FormatDynamic(L"%s and %s", L"one"), L"one and ");
  EXPECT_EQ(FormatDynamic(L"%d apples", L"text"), L" apples");
  EXPECT_EQ(FormatDynamic(L"trailing %"), L"trailing ");
}

}  // namespace
}  // namespace setup
