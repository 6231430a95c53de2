// Questions about one installed product: its exact version, its folder, its Windows Installer
// product code.
#include <gtest/gtest.h>

#include "packages/installed_version.h"
#include "packages/msi_products.h"
#include "support/detection_fixture.h"

namespace setup {
namespace {

using platform::kRegistryView64;
using testing::DetectionTest;

TEST_F(DetectionTest, ExactVersionComparesMajorReleaseServicePackAndTheId) {
  AddInstallation(L"Quib Rix", L"Installation_v2023", L"2023.00.01.05", L"QB::P");
  EXPECT_TRUE(HasExactVersionInstalled(Context(), ProductRecord(L"QB::P", L"2023.0.1.3", false, L"", false)));
  EXPECT_FALSE(HasExactVersionInstalled(Context(), ProductRecord(L"QB::P", L"2023.0.2.3", false, L"", false)));
  EXPECT_FALSE(HasExactVersionInstalled(Context(), ProductRecord(L"QB::E", L"2023.0.1.3", false, L"", false)));
  EXPECT_FALSE(HasExactVersionInstalled(Context(), ProductRecord(L"QB::P", L"2023.0.1.3", true, L"", false)));

  AddInstallation(L"Quib Rix", L"Installation_v2022", L"2022.00.01.03", L"");
  EXPECT_FALSE(HasExactVersionInstalled(Context(), ProductRecord(L"QB::P", L"2022.0.1.3", false, L"", false)));
  AddInstallation(L"Mebrant Server", L"Installation_v2023_x64", L"2023.00.01", L"MB::Z", kRegistryView64);
  EXPECT_TRUE(HasExactVersionInstalled(Context(), ProductRecord(L"MB::S", L"2023.0.1.0", true, L"", false)));

  // A number beyond 32 bits saturates as the package's own version does, rather than wrapping
  // round to 2023 (2^32 + 2023).
  AddInstallation(L"Quib Rix", L"Installation_v2023", L"4294969319.00.01.05", L"QB::P");
  EXPECT_FALSE(HasExactVersionInstalled(Context(), ProductRecord(L"QB::P", L"2023.0.1.3", false, L"", false)));
}

TEST_F(DetectionTest, InstalledFolderIsTheApplicationsFolderOrForServersTheOneAbove) {
  AddInstallationValues(L"Quib Rix", L"Installation_v2023", {L"2023.00.00.00", L"QB::P", false, L"en",
                                                       L"C:\\Program Files (x86)\\Tarquel\\Quibrix2023\\Quibrix.exe"});
  AddInstallationValues(L"BrammelServer", L"Installation_v2023_x64",
                  {L"2023.00.00.00", L"BS::Z", false, L"en", L"C:\\Program Files\\Tarquel\\BrammelServer2023\\bin\\brs.exe"},
                  kRegistryView64);
  EXPECT_EQ(InstalledFolder(Context(), ProductRecord(L"QB::P", L"2023.00.00.00", false, L"", false)),
            L"C:\\Program Files (x86)\\Tarquel\\Quibrix2023");
  EXPECT_EQ(InstalledFolder(Context(), ProductRecord(L"BS::Z", L"2023.00.00.00", true, L"", false)),
            L"C:\\Program Files\\Tarquel\\BrammelServer2023");
  EXPECT_EQ(InstalledFolder(Context(), ProductRecord(L"QB::P", L"2024.00.00.00", false, L"", false)), L"");
  AddInstallationValues(L"Quib Rix", L"Installation_v2022", {L"2022.00.00.00", L"QB::P", false, L"en",
                                                       L"D:/Apps/Quibrix2022/Quibrix.exe"});
  EXPECT_EQ(InstalledFolder(Context(), ProductRecord(L"QB::P", L"2022.00.00.00", false, L"", false)),
            L"D:/Apps/Quibrix2022");
}

TEST(MsiVersionString, LongAndShortForms) {
  EXPECT_EQ(ExpectedMsiVersionString(ProductRecord(L"QB::P", L"2023.0.1.3", false, L"", false)), L"2023.00.01.03");
  EXPECT_EQ(ExpectedMsiVersionString(ProductRecord(L"QB::P", L"2023.2.1.0", false, L"", false)), L"2023.02.01");
  EXPECT_EQ(ExpectedMsiVersionString(ProductRecord(L"PD::Z", L"8.2.0.0", false, L"", false)), L"8.2");
  EXPECT_EQ(ExpectedMsiVersionString(ProductRecord(L"PD::Z", L"8.2.1.0", false, L"", false)), L"8.2.1");
  EXPECT_EQ(ExpectedMsiVersionString(ProductRecord(L"PD::Z", L"8.2.0.4", false, L"", false)), L"8.2.0.4");
}

TEST_F(DetectionTest, MsiProductCodeNeedsIdVersionAndBitnessAndIsLookedUpOnce) {
  AddMsiProduct(L"{A0000000-0000-0000-0000-000000000000}", L"QB::P", L"2023.00.01", L"Tarquel Quibrix 2023 (x64)");
  AddMsiProduct(L"{B0000000-0000-0000-0000-000000000000}", L"QB::E", L"2023.00.01", L"Tarquel Quibrix 2023");
  AddMsiProduct(L"{C0000000-0000-0000-0000-000000000000}", L"QB::P", L"2023.00.01.02", L"Tarquel Quibrix 2023");
  AddMsiProduct(L"{D0000000-0000-0000-0000-000000000000}", L"QB::P", L"2023.00.01", L"Tarquel Quibrix 2023");
  auto& installer = host_.Installer();

  ProductRecord record(L"QB::P", L"2023.00.01.00", false, L"", false);
  EXPECT_EQ(FindMsiProductCode(installer, record), L"{D0000000-0000-0000-0000-000000000000}");
  EXPECT_EQ(record.MsiProductCode(), L"{D0000000-0000-0000-0000-000000000000}");
  EXPECT_EQ(installer.enumerationsStarted, 1);
  const std::size_t reads = installer.productInfoCalls.size();
  EXPECT_EQ(FindMsiProductCode(installer, record), L"{D0000000-0000-0000-0000-000000000000}");
  EXPECT_EQ(installer.enumerationsStarted, 1);
  EXPECT_EQ(installer.productInfoCalls.size(), reads);
  EXPECT_EQ(installer.productInfoCalls[0].property, L"ProductID");
  EXPECT_EQ(installer.productInfoCalls[0].bufferChars, 512u);

  ProductRecord x64(L"QB::P", L"2023.00.01.00", true, L"", false);
  EXPECT_EQ(FindMsiProductCode(installer, x64), L"{A0000000-0000-0000-0000-000000000000}");
  ProductRecord missing(L"QB::S", L"2023.00.01.00", false, L"", false);
  EXPECT_EQ(FindMsiProductCode(installer, missing), L"");
  EXPECT_EQ(FindMsiProductCode(installer, missing), L"");  // nothing found is not remembered
  EXPECT_EQ(installer.enumerationsStarted, 4);
}

TEST_F(DetectionTest, MsiProductCodeOfAnAddInIgnoresBitnessAndSkipsUnreadableProducts) {
  host_.Installer().AddProduct({L"{E0000000-0000-0000-0000-000000000000}", {{L"ProductID", L"YX::I"}}});
  AddMsiProduct(L"{F0000000-0000-0000-0000-000000000000}", L"YX::I", L"2023.00.00", L"Nista add-in (x64)");
  ProductRecord addIn(L"YX::I", L"2023.00.00.00", false, L"", false);
  EXPECT_EQ(FindMsiProductCode(host_.Installer(), addIn), L"{F0000000-0000-0000-0000-000000000000}");
}

}  // namespace
}  // namespace setup
