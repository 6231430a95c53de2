#include "packages/conflict_messages.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/host/host_resources.h"
#include "run/language_catalog.h"

namespace setup {
namespace {

// One text: the installed product (or integration package) it is about, how it is asked
// for, and the text byte for byte.
struct MessageCase {
  const char* name;
  std::wstring productId;
  std::wstring version;
  bool is64Bit = false;
  std::wstring (*text)(const ConflictMessages&, const ProductRecord&);
  std::wstring expected;
};

// How a row asks for its text.
std::wstring Downgrade(const ConflictMessages& m, const ProductRecord& p) { return m.WendrakDowngrade(p); }
std::wstring AlreadyInstalled(const ConflictMessages& m, const ProductRecord& p) {
  return m.AlreadyInstalled(p, false);
}
std::wstring AlreadyInstalledFromSuite(const ConflictMessages& m, const ProductRecord& p) {
  return m.AlreadyInstalled(p, true);
}
std::wstring ReplacesParts(const ConflictMessages& m, const ProductRecord&) { return m.ReplacesParts(); }
std::wstring BitnessEditionsDiffer(const ConflictMessages& m, const ProductRecord& p) {
  return m.BitnessEditionsDiffer(p, false);
}
std::wstring OtherBitnessReplaced(const ConflictMessages& m, const ProductRecord& p) {
  return m.OtherBitnessReplaced(p);
}
std::wstring IntegrationPackageNeedsBase(const ConflictMessages& m, const ProductRecord& p) {
  return m.IntegrationPackageNeedsBase(p);
}

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

const MessageCase kMessageCases[] = {
    {"WendrakDowngradeNamesTheInstalledVersion", L"WK::N", L"3.1", false, Downgrade,
     L"Wendrak cannot be downgraded to any previous version. Your currently installed version is "
     L"Tarquel Wendrak 3.1."},
    {"AlreadyInstalledNamesTheProduct", L"QB::P", L"2024", true, AlreadyInstalled,
     L"This product cannot be installed because you already have Tarquel Quibrix 2024 Professional Edition "
     L"(x64) on your system."},
    {"AlreadyInstalledFromTheSuiteNamesTheSuite", L"QB::P", L"2024", true, AlreadyInstalledFromSuite,
     L"This product cannot be installed because you already have following Tarquel Fendral product on your "
     L"system:\nTarquel Quibrix 2024 Professional Edition (x64)."},
    {"ReplacesPartsNamesNoProduct", L"QB::P", L"2024", true, ReplacesParts,
     L"This setup will replace parts of your current installation."},

    // Combined texts are joined by one blank.
    {"BitnessEditionsDifferFollowsAlreadyInstalled", L"QB::E", L"2024", false, BitnessEditionsDiffer,
     L"This product cannot be installed because you already have Tarquel Quibrix 2024 Enterprise Edition on "
     L"your system. The 32-bit and 64-bit versions of a product can only be installed together if their "
     L"editions match."},
    {"OtherBitnessReplacedFollowsAlreadyInstalled", L"PD::Z", L"8.2", true, OtherBitnessReplaced,
     L"This product cannot be installed because you already have Tarquel Pellomar Designer 8.2 (x64) on your "
     L"system. This setup will replace parts of your current installation."},

    // An integration package names its base product, bitness and allowed editions.
    {"IntegrationPackageNamesItsBaseAndItsEditions", L"QB::IntegrationPackage::E,P", L"2023.00.01", true,
     IntegrationPackageNeedsBase,
     L"This Integration Package can only be installed after installation of Tarquel Quibrix 2023 sp1 64-bit "
     L"Enterprise or Professional."},
    {"IntegrationPackageNamesItsOneEdition", L"CB::IntegrationPackage::E", L"2024", false, IntegrationPackageNeedsBase,
     L"This Integration Package can only be installed after installation of Tarquel Corbiel 2024 32-bit "
     L"Enterprise."},
};

class ConflictMessagesTest : public ::testing::TestWithParam<MessageCase> {
 protected:
  ConflictMessagesTest() { texts_.SelectByName(L"English"); }

  platform::host::HostResources resources_;
  LanguageCatalog texts_{resources_};
  ConflictMessages messages_{texts_};
};

TEST_P(ConflictMessagesTest, TextIsExact) {
  const MessageCase& c = GetParam();
  const ProductRecord product(c.productId, c.version, c.is64Bit, L"", false);
  EXPECT_EQ(c.text(messages_, product), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ConflictMessagesTest, ::testing::ValuesIn(kMessageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AllowedEditionWords, JoinedWithCommasAndOrBeforeTheLast) {
  EXPECT_EQ(AllowedEditionWords({L"E"}), L"Enterprise");
  EXPECT_EQ(AllowedEditionWords({L"E", L"P"}), L"Enterprise or Professional");
  EXPECT_EQ(AllowedEditionWords({L"E", L"P", L"S"}), L"Enterprise, Professional or Basic");
  EXPECT_EQ(AllowedEditionWords({L"E", L"X", L"P"}), L"Enterprise or Professional");
  EXPECT_EQ(AllowedEditionWords({}), L"");
  const ProductRecord package(L"QB::IntegrationPackage::E,P", L"2023", false, L"", false);
  EXPECT_EQ(AllowedBaseEditions(package), (std::vector<std::wstring>{L"E", L"P"}));
}

}  // namespace
}  // namespace setup
