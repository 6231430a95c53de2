#include "install/conflict_removal.h"

#include <gtest/gtest.h>

#include "packages/analysis_fixture.h"

namespace setup {
namespace {

using ConflictRemovalTest = testing::CachedInstallationTest;

TEST_F(ConflictRemovalTest, AFailedRemovalIsLoggedRecordedAndToldOfAMissingMsiFile) {
  ArrangeInstalledProduct();
  CreateFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi");
  const std::size_t before = LogSize();
  EXPECT_FALSE(RemoveConflictingInstallation(Run(), installed_));
  EXPECT_EQ(LogSince(before),
            L"SIC - Automatic uninstallation of product Tarquel Quibrix 2024 Professional Edition (x64).\r\n"
            L"SIC - Uninstall failed - (9) Could not find MSI-file\r\n");
  ASSERT_EQ(Host().Ui().messageBoxes.size(), 1u);
  EXPECT_EQ(Host().Ui().messageBoxes[0].text,
            L"The wizard failed to locate the necessary resources to remove Tarquel Quibrix 2024 Professional Edition "
            L"(x64). Please remove the product manually.");
  EXPECT_EQ(Host().Ui().messageBoxes[0].icon, platform::MessageBoxIcon::None);
  EXPECT_EQ(Run().result.kind, kResultNoMsiForUninstall);
  EXPECT_FALSE(Run().result.reported);
}

TEST_F(ConflictRemovalTest, ASilentRunRemovesSilentlyAndShowsNoBox) {
  Start({L"/L*v", testing::kLogPath, L"/qn"});
  ArrangeInstalledProduct();
  CreateFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi");
  EXPECT_FALSE(RemoveConflictingInstallation(Run(), installed_));
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());

  Host().Files().DeleteFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi");
  EXPECT_TRUE(RemoveConflictingInstallation(Run(), installed_));
  ASSERT_EQ(Host().Installer().installCalls.size(), 1u);
  EXPECT_EQ(Host().Installer().installCalls[0].uiLevel, UiLevel::None().Value());
}

// With its finish message box ("/qn+") the run is not without interface: the removal shows
// the basic one.
TEST_F(ConflictRemovalTest, ASilentRunWithItsFinishBoxRemovesWithTheBasicInterface) {
  Start({L"/L*v", testing::kLogPath, L"/qn+"});
  ArrangeInstalledProduct();
  EXPECT_TRUE(RemoveConflictingInstallation(Run(), installed_));
  ASSERT_EQ(Host().Installer().installCalls.size(), 1u);
  EXPECT_EQ(Host().Installer().installCalls[0].uiLevel, UiLevel::Basic().Value());
}

}  // namespace
}  // namespace setup
