// The host installer behaves like Windows Installer where the launcher relies on it.
#include <gtest/gtest.h>

#include "platform/host/host_installer.h"

namespace setup::platform::host {
namespace {

constexpr wchar_t kCode[] = L"{12345678-9ABC-DEF0-1234-56789ABCDEF0}";
constexpr wchar_t kMsi[] = L"C:\\ProgramData\\Tarquel\\{P}\\Quibrix.msi";

class HostInstallerTest : public ::testing::Test {
 protected:
  HostInstallerTest() { installer_.AddPackageFile(kMsi, {kCode, {{L"ProductID", L"QB::P"}}}); }
  HostInstaller installer_;
};

TEST_F(HostInstallerTest, InstallingAddsTheProductAndRemoveAllTakesItAway) {
  installer_.SetInternalUi(2);
  EXPECT_EQ(installer_.InstallProduct(kMsi, L"INSTALLEDFROMLAUNCHER=Yes HAS_SUB_PACKAGES=\"Yes\" "), 0u);
  EXPECT_EQ(installer_.EnumProducts(0), std::optional<std::wstring>(kCode));
  EXPECT_FALSE(installer_.EnumProducts(1).has_value());
  EXPECT_EQ(installer_.GetProductInfo(kCode, L"ProductID", 512), std::optional<std::wstring>(L"QB::P"));
  EXPECT_EQ(installer_.InstallProduct(kMsi, L"remove=all "), 0u);
  EXPECT_FALSE(installer_.EnumProducts(0).has_value());
  ASSERT_EQ(installer_.installCalls.size(), 2u);
  EXPECT_EQ(installer_.installCalls[0].properties, L"INSTALLEDFROMLAUNCHER=Yes HAS_SUB_PACKAGES=\"Yes\" ");
  EXPECT_EQ(installer_.installCalls[0].uiLevel, 2);
}

TEST_F(HostInstallerTest, ArrangedResultsDecideWhetherTheProductChanges) {
  installer_.SetResult(kMsi, 1602);
  EXPECT_EQ(installer_.InstallProduct(kMsi, L""), 1602u);
  EXPECT_FALSE(installer_.EnumProducts(0).has_value());
  installer_.SetResult(kMsi, 3010);
  EXPECT_EQ(installer_.InstallProduct(kMsi, L""), 3010u);
  EXPECT_TRUE(installer_.EnumProducts(0).has_value());
  EXPECT_EQ(installer_.InstallProduct(L"C:\\Other.msi", L""), kInstallerPackageOpenFailed);
  EXPECT_EQ(installer_.ReinstallProduct(L"{00000000-0000-0000-0000-000000000000}", 0x80), kInstallerUnknownProduct);
}

TEST_F(HostInstallerTest, ProductInfoFailsForUnknownProductsPropertiesAndShortBuffers) {
  installer_.AddProduct({kCode, {{L"InstallSource", L"C:\\Cache\\"}}});
  EXPECT_FALSE(installer_.GetProductInfo(L"{00000000-0000-0000-0000-000000000000}", L"InstallSource", 4096));
  EXPECT_FALSE(installer_.GetProductInfo(kCode, L"ProductIcon", 4096));
  EXPECT_FALSE(installer_.GetProductInfo(kCode, L"InstallSource", 9));
  EXPECT_EQ(installer_.GetProductInfo(kCode, L"InstallSource", 10), std::optional<std::wstring>(L"C:\\Cache\\"));
}

class AnsweringHandler : public InstallerMessageHandler {
 public:
  int HandleMessage(std::uint32_t type, std::wstring_view text) override {
    seen.push_back(std::wstring(text));
    return static_cast<int>(type & 0xFF);
  }
  std::vector<std::wstring> seen;
};

TEST_F(HostInstallerTest, MessagesReachTheHandlerOnlyForTheKindsItsFilterTakes) {
  installer_.AddPackageMessage(kMsi, {0x03000024, L"Continue?"});  // user message, Yes/No + question icon
  installer_.AddPackageMessage(kMsi, {0x04000000, L"Information"});  // not in filter 15
  AnsweringHandler handler;
  EXPECT_EQ(installer_.SetExternalUi(&handler, kInstallMessageFilterLauncher), nullptr);
  installer_.InstallProduct(kMsi, L"");
  EXPECT_EQ(installer_.SetExternalUi(nullptr, 0), &handler);
  installer_.InstallProduct(kMsi, L"");
  EXPECT_EQ(handler.seen, std::vector<std::wstring>{L"Continue?"});
  ASSERT_EQ(installer_.answeredMessages.size(), 4u);
  EXPECT_EQ(installer_.answeredMessages[0].answer, 0x24);
  EXPECT_EQ(installer_.answeredMessages[1].answer, 0);
  EXPECT_EQ(installer_.answeredMessages[2].answer, 0);
  EXPECT_EQ(installer_.callOrder,
            (std::vector<std::string>{"SetExternalUi", "InstallProduct", "SetExternalUi", "InstallProduct"}));
}

TEST_F(HostInstallerTest, AFailedCallByNumberChangesNothingAndLaterCallsWorkAgain) {
  installer_.FailInstallCall(1, 1603);
  EXPECT_EQ(installer_.InstallProduct(kMsi, L""), 0u);
  EXPECT_EQ(installer_.InstallProduct(kMsi, L"REMOVE=ALL "), 1603u);
  EXPECT_TRUE(installer_.FindProduct(kCode));
  EXPECT_EQ(installer_.InstallProduct(kMsi, L"REMOVE=ALL "), 0u);
  EXPECT_FALSE(installer_.FindProduct(kCode));
  EXPECT_EQ(installer_.installCalls.size(), 3u);
}

}  // namespace
}  // namespace setup::platform::host
