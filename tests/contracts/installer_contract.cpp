// Contract of the installer port: a package installs its product, which the installer then
// enumerates and describes, and "REMOVE=ALL" takes it away again; unknown products and short
// buffers fail. (Result codes for missing or damaged packages differ under Wine: only that
// they are not success is shared.)
#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

constexpr std::int32_t kUiLevelNone = 2;
constexpr std::int32_t kUiLevelBasic = 3;
constexpr wchar_t kUnknownProduct[] = L"{5C1FE072-0000-4E3B-9C6B-0A1A2B3C4DFF}";

class InstallerContract : public ContractTest {
 protected:
  InstallerContract() : package_(Side().InstallablePackage()) { previousUi_ = Installer().SetInternalUi(kUiLevelNone); }
  ~InstallerContract() override {
    if (Enumerated()) Installer().InstallProduct(package_.path, L"REMOVE=ALL ");
    Installer().SetInternalUi(previousUi_);
  }

  platform::Installer& Installer() { return *Ports().installer; }
  bool Enumerated() {
    for (std::uint32_t index = 0; const auto code = Installer().EnumProducts(index); ++index) {
      if (EqualsIgnoreCase(*code, package_.productCode)) return true;
    }
    return false;
  }
  std::wstring Info(std::wstring_view property, std::size_t bufferChars = 256) {
    return Installer().GetProductInfo(package_.productCode, property, bufferChars).value_or(L"<none>");
  }

  ContractPackage package_;
  std::int32_t previousUi_ = 0;
};

TEST_F(InstallerContract, AnInstalledProductIsEnumeratedAndDescribedUntilItIsRemoved) {
  ASSERT_EQ(Installer().InstallProduct(package_.path, L"INSTALLLEVEL=1 "), platform::kInstallerSuccess);
  EXPECT_TRUE(Enumerated());
  EXPECT_EQ(Info(L"ProductID"), package_.productId);
  EXPECT_EQ(Info(L"VersionString"), package_.versionString);
  EXPECT_EQ(Info(L"ProductName"), package_.productName);
  EXPECT_EQ(Info(L"NoSuchProperty"), L"<none>");
  // The buffer must hold the terminating zero too.
  EXPECT_EQ(Info(L"ProductID", package_.productId.size()), L"<none>");
  EXPECT_EQ(Info(L"ProductID", package_.productId.size() + 1), package_.productId);

  EXPECT_EQ(Installer().InstallProduct(package_.path, L"REMOVE=ALL "), platform::kInstallerSuccess);
  EXPECT_FALSE(Enumerated());
  EXPECT_EQ(Info(L"ProductID"), L"<none>");
}

// Answers every message with 0: the installer handles it itself.
class PassingHandler : public platform::InstallerMessageHandler {
 public:
  int HandleMessage(std::uint32_t, std::wstring_view) override { return 0; }
};

TEST_F(InstallerContract, AnExternalHandlerReplacesThePreviousOneAndIsPutBackAroundAnInstall) {
  PassingHandler launcher;
  PassingHandler nested;
  EXPECT_EQ(Installer().SetExternalUi(&launcher, platform::kInstallMessageFilterLauncher), nullptr);
  EXPECT_EQ(Installer().SetExternalUi(&nested, platform::kInstallMessageFilterLauncher), &launcher);
  EXPECT_EQ(Installer().InstallProduct(package_.path, L"INSTALLLEVEL=1 "), platform::kInstallerSuccess);
  EXPECT_TRUE(Enumerated());
  EXPECT_EQ(Installer().SetExternalUi(nullptr, 0), &nested);
}

TEST_F(InstallerContract, UnknownProductsAndMissingPackagesFail) {
  EXPECT_EQ(Installer().ReinstallProduct(kUnknownProduct, 0x80), platform::kInstallerUnknownProduct);
  EXPECT_EQ(Installer().GetProductInfo(kUnknownProduct, L"ProductID", 256), std::nullopt);
  EXPECT_FALSE(platform::IsInstallerSuccess(Installer().InstallProduct(Side().Folder() + L"\\missing.msi", L"")));
}

TEST_F(InstallerContract, SettingTheUiLevelAnswersThePreviousOne) {
  EXPECT_EQ(Installer().SetInternalUi(kUiLevelBasic), kUiLevelNone);
  EXPECT_EQ(Installer().SetInternalUi(kUiLevelNone), kUiLevelBasic);
}

}  // namespace
}  // namespace setup::contracts
