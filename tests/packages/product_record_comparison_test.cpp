#include "packages/product_record_comparison.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

ProductRecord Record(std::wstring_view id, std::wstring_view version, bool is64Bit = false,
                     std::wstring language = L"", bool fromSuite = false) {
  return ProductRecord(id, version, is64Bit, std::move(language), fromSuite);
}

TEST(ProductRecordComparison, CompareOrdersByVersionOnly) {
  EXPECT_EQ(Compare(Record(L"QB::P", L""), Record(L"QB::P", L"2018")), -1);
  EXPECT_EQ(Compare(Record(L"QB::P", L"2018"), Record(L"QB::P", L"")), 1);
  EXPECT_EQ(Compare(Record(L"QB::P", L"2023.00.02.00"), Record(L"QB::E", L"2023.00.01.09", true)), 1);
  EXPECT_EQ(Compare(Record(L"QB::P", L"2023.0.1.3"), Record(L"XX::Y", L"2023.00.01.03")), 0);
}

TEST(ProductRecordComparison, SameEntryFollowsTheMainEditionRow) {
  EXPECT_TRUE(HaveSameEntry(Record(L"MB::Z", L"2023"), Record(L"MB::S", L"2024")));
  EXPECT_TRUE(HaveSameEntry(Record(L"FD::E", L"2023"), Record(L"FD::P", L"2023")));
  EXPECT_FALSE(HaveSameEntry(Record(L"QB::E", L"2023"), Record(L"QB::P", L"2023")));
  EXPECT_FALSE(HaveSameEntry(Record(L"XX::Y", L"2023"), Record(L"XX::Y", L"2023")));
}

TEST(ProductRecordComparison, ProductSlotNeedsSameIdAndForNonServersSameMajor) {
  EXPECT_TRUE(ShareProductSlot(Record(L"QB::P", L"2023.00.01"), Record(L"QB::P", L"2023.02.00", true)));
  EXPECT_FALSE(ShareProductSlot(Record(L"QB::P", L"2023"), Record(L"QB::P", L"2024")));
  EXPECT_FALSE(ShareProductSlot(Record(L"QB::P", L"2023"), Record(L"QB::E", L"2023")));
  EXPECT_TRUE(ShareProductSlot(Record(L"BS::Z", L"2023"), Record(L"BS::Z", L"2024")));
  EXPECT_FALSE(ShareProductSlot(Record(L"XX::Y", L"2023"), Record(L"XX::Y", L"2023")));
}

TEST(ProductRecordComparison, EqualComparesEverythingButSuiteMembership) {
  const ProductRecord base = Record(L"QB::P", L"2023.00.01.03", true, L"de");
  EXPECT_TRUE(AreEqual(base, Record(L"QB::P", L"2023.0.1.3", true, L"de", true)));
  EXPECT_FALSE(AreEqual(base, Record(L"QB::P", L"2023.00.01.04", true, L"de")));
  EXPECT_FALSE(AreEqual(base, Record(L"QB::P", L"2023.00.01.03", false, L"de")));
  EXPECT_FALSE(AreEqual(base, Record(L"QB::P", L"2023.00.01.03", true, L"DE")));
  EXPECT_FALSE(AreEqual(base, Record(L"QB::E", L"2023.00.01.03", true, L"de")));
  EXPECT_FALSE(AreEqual(Record(L"XX::Y", L"2023"), Record(L"XX::Y", L"2023")));
  EXPECT_TRUE(HaveSameMajor(base, Record(L"XX::Y", L"2023.5")));
}

}  // namespace
}  // namespace setup
