#include "packages/conflict_messages.h"

#include <gtest/gtest.h>

#include "launcher/language_catalog.h"
#include "platform/host/host_resources.h"

namespace setup {
namespace {

class ConflictMessagesTest : public ::testing::Test {
 protected:
  ConflictMessagesTest() { texts_.SelectByName(L"English"); }

  platform::host::HostResources resources_;
  LanguageCatalog texts_{resources_};
  ConflictMessages messages_{texts_};
};

TEST_F(ConflictMessagesTest, TextsNameTheInstalledProduct) {
  const ProductRecord wendrak(L"WK::N", L"3.1", false, L"", false);
  EXPECT_EQ(messages_.WendrakDowngrade(wendrak),
            L"Wendrak cannot be downgraded to any previous version. Your currently installed version is "
            L"Tarquel Wendrak 3.1.");
  const ProductRecord quibrix(L"QB::P", L"2024", true, L"", false);
  EXPECT_EQ(messages_.AlreadyInstalled(quibrix, false),
            L"This product cannot be installed because you already have Tarquel Quibrix 2024 Professional Edition "
            L"(x64) on your system.");
  EXPECT_EQ(messages_.AlreadyInstalled(quibrix, true),
            L"This product cannot be installed because you already have following Tarquel Fendral product on your "
            L"system:\nTarquel Quibrix 2024 Professional Edition (x64).");
  EXPECT_EQ(messages_.ReplacesParts(), L"This setup will replace parts of your current installation.");
}

TEST_F(ConflictMessagesTest, CombinedTextsAreJoinedByOneBlank) {
  const ProductRecord quibrix(L"QB::E", L"2024", false, L"", false);
  EXPECT_EQ(messages_.BitnessEditionsDiffer(quibrix, false),
            L"This product cannot be installed because you already have Tarquel Quibrix 2024 Enterprise Edition on "
            L"your system. The 32-bit and 64-bit versions of a product can only be installed together if their "
            L"editions match.");
  const ProductRecord designer(L"PD::Z", L"8.2", true, L"", false);
  EXPECT_EQ(messages_.OtherBitnessReplaced(designer),
            L"This product cannot be installed because you already have " + designer.DisplayName() +
                L" on your system. This setup will replace parts of your current installation.");
}

TEST_F(ConflictMessagesTest, IntegrationPackageNamesItsBaseProduct) {
  const ProductRecord package(L"QB::IntegrationPackage::E,P", L"2023.00.01", true, L"", false);
  EXPECT_EQ(messages_.IntegrationPackageNeedsBase(package),
            L"This Integration Package can only be installed after installation of Tarquel Quibrix 2023 sp1 64-bit "
            L"Enterprise or Professional.");
  const ProductRecord corbiel(L"CB::IntegrationPackage::E", L"2024", false, L"", false);
  EXPECT_EQ(messages_.IntegrationPackageNeedsBase(corbiel),
            L"This Integration Package can only be installed after installation of " + corbiel.PrimaryDisplayName() +
                L" 2024 32-bit Enterprise.");
}

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
