#include "packages/conflict_analysis.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "analysis_fixture.h"

namespace setup {
namespace {

using testing::AnalysisTest;
using testing::Installation;

constexpr wchar_t kReplaces[] = L"This setup will replace parts of your current installation.";
constexpr wchar_t kBitnessEditions[] =
    L"The 32-bit and 64-bit versions of a product can only be installed together if their editions match.";

std::wstring AlreadyHave(std::wstring_view displayName) {
  return L"This product cannot be installed because you already have " + std::wstring(displayName) +
         L" on your system.";
}

std::wstring AlreadyHaveSuiteProduct(std::wstring_view displayName) {
  return L"This product cannot be installed because you already have following Tarquel Fendral product on your "
         L"system:\n" +
         std::wstring(displayName) + L".";
}

// The package the launcher carries.
struct OfferedPackage {
  std::wstring productId;
  std::wstring version;
  bool is64Bit = false;
};

struct ExpectedItem {
  std::wstring message;
  bool replaceable = false;
  // "<product id> <version display>" of the installation the item names; empty: it names none.
  std::wstring installedProduct;
};

// One analysis: the installations on the machine, the package, and the items it must give.
struct ConflictCase {
  const char* name;
  std::vector<Installation> installed;
  OfferedPackage package;
  std::vector<ExpectedItem> items;
  bool blocking = false;
};

void PrintTo(const ConflictCase& c, std::ostream* out) { *out << c.name; }

const ConflictCase kConflictCases[] = {
    // Server products: every installation is replaced, except that Wendrak is never downgraded.
    {"ServerInstallationIsReplaced",
     {{L"BS::A", L"2023.00.00", true}},
     {L"BS::A", L"2024.00.00", true},
     {{kReplaces, true, L"BS::A 2023"}},
     false},
    {"NewerWendrakBlocksTheDowngrade",
     {{L"WK::N", L"3.1", false}},
     {L"WK::N", L"3.0", false},
     {{L"Wendrak cannot be downgraded to any previous version. Your currently installed version is "
       L"Tarquel Wendrak 3.1.",
       false, L"WK::N 3.1"}},
     true},
    {"OlderWendrakIsReplaced",
     {{L"WK::N", L"3.1", false}},
     {L"WK::N", L"3.2", false},
     {{kReplaces, true, L"WK::N 3.1"}},
     false},

    // Desktop products: only installations of the same major conflict.
    {"DesktopStandAloneOfTheSameBitnessIsReplaced",
     {{L"QB::P", L"2024.00.00", false}},
     {L"QB::P", L"2024.00.01", false},
     {{kReplaces, true, L"QB::P 2024"}},
     false},
    {"DesktopOfTheSameBitnessFromTheSuiteBlocks",
     {{L"QB::P", L"2024.00.00", false, true}},
     {L"QB::P", L"2024.00.01", false},
     {{AlreadyHaveSuiteProduct(L"Tarquel Quibrix 2024 Professional Edition"), false, L"QB::P 2024"}},
     true},
    {"DesktopOfOtherBitnessAndEditionBlocks",
     {{L"QB::E", L"2024.00.00", true}},
     {L"QB::P", L"2024.00.00", false},
     {{AlreadyHave(L"Tarquel Quibrix 2024 Enterprise Edition (x64)") + L" " + kBitnessEditions, false,
       L"QB::E 2024"}},
     true},
    {"DesktopOfOtherBitnessSameEditionOrOtherMajorIsNoConflict",
     {{L"QB::P", L"2024.00.00", true}, {L"QB::E", L"2023.00.00", false}},
     {L"QB::P", L"2024.00.00", false},
     {},
     false},
    {"DesignerOfOtherBitnessIsReplaced",
     {{L"PD::Z", L"8.1", true}},
     {L"PD::Z", L"8.2", false},
     {{AlreadyHave(L"Tarquel Pellomar Designer 8.1 (x64)") + L" " + kReplaces, true, L"PD::Z 8.1"}},
     false},
    {"DesignerOfOtherBitnessAndTheSameVersionIsNoConflict",
     {{L"PD::Z", L"8.1", true}},
     {L"PD::Z", L"8.1", false},
     {},
     false},

    // Integration packages need their base product in an allowed edition.
    {"IntegrationPackageWithoutItsBaseBlocks",
     {},
     {L"QB::IntegrationPackage::E,P", L"2023.00.01", true},
     {{L"This Integration Package can only be installed after installation of Tarquel Quibrix 2023 sp1 64-bit "
       L"Enterprise or Professional.",
       false, L""}},
     true},
    {"IntegrationPackageWithABaseOfAnotherEditionOrBitnessBlocks",
     {{L"QB::S", L"2023.00.01", true},    // Standard is not allowed
      {L"QB::E", L"2023.00.01", false}},  // the other bitness does not count
     {L"QB::IntegrationPackage::E,P", L"2023.00.01", true},
     {{L"This Integration Package can only be installed after installation of Tarquel Quibrix 2023 sp1 64-bit "
       L"Enterprise or Professional.",
       false, L""}},
     true},
    {"IntegrationPackageWithItsBaseReplacesItsOwnInstallation",
     {{L"QB::P", L"2023.00.01", true}, {L"QB::IntegrationPackage::E,P", L"2023.00.00", true}},
     {L"QB::IntegrationPackage::E,P", L"2023.00.01", true},
     {{kReplaces, true, L"QB::IntegrationPackage::E,P 2023"}},
     false},

    // Add-ons and taxonomies never conflict; spreadsheet add-ins are replaced.
    {"AddOnIsNoConflict",
     {{L"TR::AddOn_HL7", L"2024.00.00", false}},
     {L"TR::AddOn_HL7", L"2024.00.00", false},
     {},
     false},
    {"TaxonomyIsNoConflict",
     {{L"TAX_XBRL::Z", L"2023.00.00", false}},
     {L"TAX_XBRL::Z", L"2024.00.00", false},
     {},
     false},
    {"SpreadsheetAddInIsReplaced",
     {{L"YX::W", L"2022.00.00", false}},
     {L"YX::W", L"2024.00.00", false},
     {{kReplaces, true, L"YX::W 2022"}},
     false},

    // The suite checks every member.
    {"SuiteWithAnOlderSuiteInstalledHasNoConflict",
     {{L"QB::E", L"2023.00.00", false, true},
      {L"TR::E", L"2023.00.00", false, true},
      {L"MB::Z", L"2023.00.00", false, true}},
     {L"FD::E", L"2024.00.00", false},
     {},
     false},
    {"SuiteMembersFromAnInstalledSuiteGiveOneItemNamingThatSuite",
     {{L"QB::E", L"2024.00.00", false, true},
      {L"TR::E", L"2024.00.00", false, true},
      {L"MB::Z", L"2024.00.00", false, true}},
     {L"FD::E", L"2024.00.01", false},
     {{AlreadyHave(L"Tarquel Fendral 2024 Enterprise Edition"), true, L"FD::E 2024"}},
     false},
    {"SuiteReplacesStandAloneMembersAfterTheSuiteItem",
     {{L"QB::E", L"2024.00.00", false, true},
      {L"TR::E", L"2024.00.00", false},
      {L"MB::Z", L"2024.00.00", false, true}},  // the same Enterprise suite again: no new item
     {L"FD::E", L"2024.00.01", false},
     {{AlreadyHave(L"Tarquel Fendral 2024 Enterprise Edition"), true, L"FD::E 2024"},
      {kReplaces, true, L"TR::E 2024"}},
     false},
    {"SuiteWithAStandAloneMemberOfOtherBitnessAndEditionBlocks",
     {{L"QB::P", L"2024.00.00", true}},
     {L"FD::E", L"2024.00.00", false},
     {{AlreadyHave(L"Tarquel Quibrix 2024 Professional Edition (x64)") + L" " + kBitnessEditions, false,
       L"QB::P 2024"}},
     true},
    {"SuiteOfOtherBitnessAndEditionEndsTheAnalysisWithOneBlockingItem",
     {{L"QB::E", L"2024.00.00", false},        // found first and replaceable, but the list is emptied
      {L"QB::P", L"2024.00.00", true, true},   // from the 64-bit Professional suite
      {L"TR::E", L"2024.00.00", false}},       // never examined
     {L"FD::E", L"2024.00.00", false},
     {{AlreadyHave(L"Tarquel Fendral 2024 Professional Edition (x64)") + L" " + kBitnessEditions, false, L""}},
     true},
};

class ConflictAnalysisTest : public AnalysisTest {
 protected:
  ConflictAnalysis Analyze(const SetupPackage& package) { return AnalyzeConflicts(Context(), package); }
};

class ConflictAnalysisCaseTest : public ConflictAnalysisTest, public ::testing::WithParamInterface<ConflictCase> {};

std::wstring Describe(const std::optional<ProductRecord>& product) {
  return product ? product->ProductId() + L" " + product->VersionDisplay() : std::wstring();
}

TEST_P(ConflictAnalysisCaseTest, GivesTheExpectedItems) {
  const ConflictCase& c = GetParam();
  for (const Installation& installation : c.installed) Install(installation);
  const auto result = Analyze(Package(c.package.productId, c.package.version, c.package.is64Bit));
  ASSERT_EQ(result.items.size(), c.items.size());
  for (std::size_t i = 0; i < c.items.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "item " << i);
    EXPECT_EQ(result.items[i].message, c.items[i].message);
    EXPECT_EQ(result.items[i].replaceable, c.items[i].replaceable);
    EXPECT_EQ(Describe(result.items[i].installedProduct), c.items[i].installedProduct);
  }
  EXPECT_EQ(result.blocking, c.blocking);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConflictAnalysisCaseTest, ::testing::ValuesIn(kConflictCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConflictAnalysisTest, MaintenanceOfTheSuiteSkipsItsOwnInstallation) {
  const SetupPackage& suite = AddPackageWithCodes(Package(L"FD::E", L"2024.00.00", false));
  Install({L"QB::E", L"2024.00.00", false, true});
  EXPECT_EQ(Analyze(suite).items.size(), 1u);  // a fresh install meets the same suite
  RegisterWithInstaller(suite);
  EXPECT_TRUE(Analyze(suite).items.empty());
}

}  // namespace
}  // namespace setup
