#include "launcher/os_version_rules.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

namespace setup {
namespace {

platform::OsVersion Windows(std::uint32_t major, std::uint32_t minor, std::uint16_t servicePack = 0,
                            std::uint8_t productType = 1, std::uint16_t build = 7601) {
  return platform::OsVersion{major, minor, servicePack, 0, build, productType, 0};
}

TEST(OsRequirement, ParsesVersionRestrictionAndAliases) {
  const OsRequirement windows7Sp1 = ParseOsRequirement(L"6.1.1/WSOnly");
  EXPECT_EQ(windows7Sp1.major, 6u);
  EXPECT_EQ(windows7Sp1.minor, 1u);
  EXPECT_EQ(windows7Sp1.servicePackMajor, 1u);
  EXPECT_EQ(windows7Sp1.servicePackMinor, 0u);
  EXPECT_EQ(windows7Sp1.restriction, L"WSOnly");
  const OsRequirement xp = ParseOsRequirement(L"WinXP");
  EXPECT_EQ(std::tuple(xp.major, xp.minor, xp.servicePackMajor), std::tuple(5u, 1u, 2u));
  EXPECT_EQ(ParseOsRequirement(L"WinNT").major, 4u);
  EXPECT_EQ(ParseOsRequirement(L"").major, 0u);
  EXPECT_EQ(ParseOsRequirement(L"winxp").major, 0u);  // aliases are exact
}

TEST(OsRequirement, ComparesMajorMinorServicePack) {
  const OsRequirement required = ParseOsRequirement(L"6.1.1");
  EXPECT_FALSE(MeetsRequirement(Windows(6, 1, 0), required));
  EXPECT_TRUE(MeetsRequirement(Windows(6, 1, 1), required));
  EXPECT_TRUE(MeetsRequirement(Windows(6, 2, 0), required));
  EXPECT_TRUE(MeetsRequirement(Windows(10, 0, 0), required));
  EXPECT_FALSE(MeetsRequirement(Windows(6, 0, 2), required));
  EXPECT_FALSE(MeetsRequirement(Windows(5, 1, 3), ParseOsRequirement(L"6.0")));
  EXPECT_TRUE(MeetsRequirement(Windows(5, 1, 2), ParseOsRequirement(L"WinXP")));
}

// Numbers beyond the 32-bit range, and negative ones, saturate: such a requirement is one that
// no system meets, never "no minimum" (4294967296 would wrap to 0) or another small number.
TEST(OsRequirement, AbsurdNumbersSaturateAndAreNeverMet) {
  constexpr std::uint32_t kMax = 0xFFFFFFFF;
  EXPECT_EQ(ParseOsRequirement(L"4294967296").major, kMax);
  const OsRequirement wrapped = ParseOsRequirement(L"4294967297.-1");
  EXPECT_EQ(std::tuple(wrapped.major, wrapped.minor), std::tuple(kMax, kMax));
  EXPECT_EQ(ParseOsRequirement(L"6.99999999999999999999999").minor, kMax);
  EXPECT_EQ(ParseOsRequirement(L"6.1.-1").servicePackMajor, kMax);
  EXPECT_EQ(ParseOsRequirement(L"4294967295").major, kMax);
  EXPECT_EQ(ParseOsRequirement(L"4294967294").major, 4294967294u);
  // Each against a system that meets the requirement without its absurd number.
  for (const auto& [text, system] : {std::pair(L"4294967296", Windows(10, 0, 0xFFFF)), std::pair(L"4294967297.-1", Windows(10, 0)),
                                     std::pair(L"6.-1", Windows(6, 3)), std::pair(L"10.0.-5", Windows(10, 0, 0xFFFF)),
                                     std::pair(L"18446744073709551617", Windows(10, 0))}) {
    EXPECT_FALSE(MeetsRequirement(system, ParseOsRequirement(text))) << text;
  }
  // The required system's name shows the saturated service pack, not a wrapped one.
  EXPECT_EQ(RequiredOsDisplayName(ParseOsRequirement(L"6.1.70000"), {}), L"Windows Server 2008 R2 ServicePack 65535");
}

TEST(OsNaming, WorkstationServerAndServicePack) {
  const NamingContext x64{false, platform::kArchitectureAmd64};
  EXPECT_EQ(OsDisplayName(Windows(6, 1, 1), x64), L"Windows 7 ServicePack 1");
  EXPECT_EQ(OsDisplayName(Windows(6, 1, 0, 3), x64), L"Windows Server 2008 R2");
  EXPECT_EQ(OsDisplayName(Windows(10, 0, 0, 1, 22631), x64), L"Windows 10.0.22631");
  EXPECT_EQ(OsDisplayName(Windows(6, 3, 0), x64), L"Windows 6.3");
  EXPECT_EQ(OsDisplayName({5, 1, 3, 2, 2600, 1, 0}, x64), L"Windows XP ServicePack 3.2");
  EXPECT_EQ(OsDisplayName(Windows(5, 2, 0, 1), x64), L"Windows XP Professional x64 Edition");
  EXPECT_EQ(OsDisplayName(Windows(5, 2, 0, 1), {false, 0}), L"Windows Server 2003");
  EXPECT_EQ(OsDisplayName(Windows(5, 2, 0, 3), {true, 0}), L"Windows Server 2003 R2");
  EXPECT_EQ(OsDisplayName({5, 2, 0, 0, 1, 3, 0x2000}, {false, 0}), L"Windows Storage Server 2003");
  EXPECT_EQ(OsDisplayName({5, 2, 0, 0, 1, 3, 0x8000}, {false, 0}), L"Windows Home Server");
  // A requirement is named as a server system with build 1.
  EXPECT_EQ(RequiredOsDisplayName(ParseOsRequirement(L"6.1.1"), x64), L"Windows Server 2008 R2 ServicePack 1");
  EXPECT_EQ(RequiredOsDisplayName(ParseOsRequirement(L"10.0"), x64), L"Windows 10.0.1");
}

TEST(OsRequirement, WelcomeTextForTheRequiredSystems) {
  EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"5.1.3")), IDS_WELCOME_SUPPORTED_OS_XP_SP3);
  EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.0.2")), IDS_WELCOME_SUPPORTED_OS_VISTA);
  EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.1")), IDS_WELCOME_SUPPORTED_OS_WIN7);
  EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.1.1")), IDS_WELCOME_SUPPORTED_OS_WIN7_SP1);
  EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.3")), 0);
}

}  // namespace
}  // namespace setup
