#include "packages/product_version.h"

#include <gtest/gtest.h>

#include <limits>

namespace setup {
namespace {

ProductVersion V(int major, int release, int servicePack, int build) {
  return ProductVersion{major, release, servicePack, build};
}

TEST(ProductVersionParsing, ReadsUpToFourComponents) {
  EXPECT_EQ(ParseProductVersion(L"2023.00.01.03"), V(2023, 0, 1, 3));
  EXPECT_EQ(ParseProductVersion(L"2019.03.01"), V(2019, 3, 1, 0));
  EXPECT_EQ(ParseProductVersion(L"2023"), V(2023, 0, 0, 0));
  EXPECT_EQ(ParseProductVersion(L"2023.2"), V(2023, 2, 0, 0));
  EXPECT_EQ(ParseProductVersion(L"2023.0.1.3.9"), V(2023, 0, 1, 3));
}

TEST(ProductVersionParsing, EmptyTextIsOlderThanAnyVersion) {
  EXPECT_EQ(ParseProductVersion(L""), V(-1, 0, 0, 0));
  EXPECT_EQ(CompareVersions(ParseProductVersion(L""), ParseProductVersion(L"0")), -1);
}

TEST(ProductVersionParsing, LongThirdComponentCarriesTheBuild) {
  EXPECT_EQ(ParseProductVersion(L"2019.3.101"), V(2019, 3, 10, 1));
  EXPECT_EQ(ParseProductVersion(L"2019.3.0105"), V(2019, 3, 1, 5));
  // A fourth component gives the build even when the third is long.
  EXPECT_EQ(ParseProductVersion(L"2019.3.101.7"), V(2019, 3, 10, 7));
}

TEST(ProductVersionParsing, NonNumericTextReadsAsZeroWithoutError) {
  EXPECT_EQ(ParseProductVersion(L"abc.x1.2b"), V(0, 0, 2, 0));
  EXPECT_EQ(ParseProductVersion(L" 2023. 5"), V(2023, 5, 0, 0));
  EXPECT_EQ(ParseProductVersion(L"."), V(0, 0, 0, 0));
  EXPECT_EQ(ParseProductVersion(L"99999999999.1").major, std::numeric_limits<std::int32_t>::max());
}

TEST(ProductVersionComparison, FirstUnequalNumberDecides) {
  const ProductVersion base = V(2023, 1, 2, 3);
  EXPECT_EQ(CompareVersions(base, base), 0);
  EXPECT_EQ(CompareVersions(base, V(2024, 0, 0, 0)), -1);
  EXPECT_EQ(CompareVersions(base, V(2023, 0, 9, 9)), 1);
  EXPECT_EQ(CompareVersions(base, V(2023, 1, 3, 0)), -1);
  EXPECT_EQ(CompareVersions(base, V(2023, 1, 2, 2)), 1);
  EXPECT_EQ(CompareVersions(V(-1, 0, 0, 0), V(2018, 0, 0, 0)), -1);
}

TEST(ProductVersionDisplay, YearVersionsShowReleaseAndServicePackOnlyWhenSet) {
  EXPECT_EQ(VersionDisplay(V(2023, 0, 1, 3), false), L"2023 sp1");
  EXPECT_EQ(VersionDisplay(V(2023, 2, 1, 0), false), L"2023 rel. 2 sp1");
  EXPECT_EQ(VersionDisplay(V(2023, 2, 0, 0), false), L"2023 rel. 2");
  EXPECT_EQ(VersionDisplay(V(2023, 0, 0, 5), false), L"2023");
}

TEST(ProductVersionDisplay, ShortVersionsShowMajorDotRelease) {
  EXPECT_EQ(VersionDisplay(V(7, 2, 0, 0), true), L"7.2");
  EXPECT_EQ(VersionDisplay(V(3, 0, 2, 0), true), L"3.0 sp2");
}

TEST(ProductVersionDisplay, FullVersionStrings) {
  EXPECT_EQ(FullVersionString(V(2023, 0, 1, 3), false), L"2023.00.01.03");
  EXPECT_EQ(FullVersionString(V(2019, 3, 1, 0), false), L"2019.03.01.00");
  EXPECT_EQ(FullVersionString(V(7, 2, 0, 0), true), L"7.2.0.0");
  // The full string reads back to the same version.
  EXPECT_EQ(ParseProductVersion(FullVersionString(V(2024, 12, 3, 45), false)), V(2024, 12, 3, 45));
}

}  // namespace
}  // namespace setup
