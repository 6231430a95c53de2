#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "packages/older_suite_product_codes.h"
#include "packages/package_product_records.h"

namespace setup {
namespace {

std::vector<std::wstring> IdsOf(const PackageProductRecords& built) {
  std::vector<std::wstring> ids;
  for (const ProductRecord& record : built.records) ids.push_back(record.ProductId());
  return ids;
}

TEST(SuiteExpansion, EnterpriseSuiteGivesSevenMembersWithThePackageVersion) {
  const PackageProductRecords built = BuildPackageProductRecords(L"FD::E", L"2024.00.01.02", true);
  EXPECT_TRUE(built.complete);
  EXPECT_EQ(IdsOf(built),
            (std::vector<std::wstring>{L"QB::E", L"TR::E", L"PL::E", L"KS::E", L"HD::E", L"SK::E", L"MB::Z"}));
  for (const ProductRecord& record : built.records) {
    EXPECT_TRUE(record.FromSuite());
    EXPECT_TRUE(record.Is64Bit());
    EXPECT_EQ(record.Language(), L"");
    EXPECT_EQ(record.Version(), (ProductVersion{2024, 0, 1, 2}));
  }
}

TEST(SuiteExpansion, ProfessionalSuiteGivesFiveMembers) {
  const PackageProductRecords built = BuildPackageProductRecords(L"FD::P", L"2024", false);
  EXPECT_TRUE(built.complete);
  EXPECT_EQ(IdsOf(built), (std::vector<std::wstring>{L"QB::P", L"TR::P", L"PL::P", L"KS::P", L"HD::P"}));
  EXPECT_FALSE(built.records.back().Is64Bit());
  EXPECT_TRUE(built.records.back().FromSuite());
}

TEST(SuiteExpansion, OtherIdsGiveOneStandAloneRecord) {
  const PackageProductRecords built = BuildPackageProductRecords(L"QB::P", L"2024", false);
  EXPECT_TRUE(built.complete);
  ASSERT_EQ(built.records.size(), 1u);
  EXPECT_EQ(built.records[0].ProductId(), L"QB::P");
  EXPECT_FALSE(built.records[0].FromSuite());
  EXPECT_TRUE(SuiteMemberIds(L"fd::e").empty());
}

TEST(SuiteExpansion, UnknownIdIsKeptButReportedIncomplete) {
  for (const wchar_t* id : {L"FD::Z", L"QB::p", L"nothing"}) {
    const PackageProductRecords built = BuildPackageProductRecords(id, L"2024", false);
    EXPECT_FALSE(built.complete) << id;
    ASSERT_EQ(built.records.size(), 1u) << id;
    EXPECT_FALSE(built.records[0].HasEntry()) << id;
    EXPECT_EQ(built.records[0].MajorVersion(), 2024) << id;
  }
}

TEST(SuiteExpansion, ServicePackagesHaveAServiceProduct) {
  EXPECT_TRUE(IsServicePackage(BuildPackageProductRecords(L"PS::A", L"7.2", true).records));
  EXPECT_TRUE(IsServicePackage(BuildPackageProductRecords(L"TAX_XBRL::Z", L"2023", false).records));
  EXPECT_FALSE(IsServicePackage(BuildPackageProductRecords(L"TV::Z", L"2023", true).records));
  EXPECT_FALSE(IsServicePackage(BuildPackageProductRecords(L"FD::E", L"2023", true).records));
}

TEST(OlderSuiteTable, NineVersionsNewestFirstWithFourRowsEach) {
  const auto rows = OlderSuiteInstallations();
  ASSERT_EQ(rows.size(), 36u);
  const wchar_t* versions[] = {L"2019.03.01", L"2019.03.00", L"2019.00.02", L"2019.00.01", L"2019.00.00",
                               L"2018.02.01", L"2018.02.00", L"2018.00.01", L"2018.00.00"};
  const std::wregex guid(LR"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})");
  std::set<std::wstring> codes;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].version, versions[i / 4]) << i;
    EXPECT_EQ(rows[i].edition, i % 4 < 2 ? L"E" : L"P") << i;
    EXPECT_EQ(rows[i].is64Bit, i % 2 == 1) << i;
    const std::wstring code(rows[i].productCode);
    EXPECT_TRUE(std::regex_match(code, guid)) << i;
    codes.insert(code);
  }
  EXPECT_EQ(codes.size(), rows.size()) << "product codes must be distinct";
}

}  // namespace
}  // namespace setup
