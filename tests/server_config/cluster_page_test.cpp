// The cluster page in a frame: the role it starts in, the port row, the command line on every
// display, and the properties Next leaves.
#include <gtest/gtest.h>

#include "foundation/file_utilities.h"
#include "resources/resource_ids.h"
#include "server_config/cluster_configuration_wizard_page.h"
#include "wizard/general_pages_fixture.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kBack = IDC_BACK;
constexpr int kCancel = platform::kIdCancel;

class ClusterPageTest : public GeneralPagesTest {
 protected:
  void WriteFile(const std::wstring& path, std::string_view text) {
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(path.substr(0, path.rfind(L'\\'))));
    ASSERT_TRUE(host_.Files().WriteFile(path, text));
  }
  // Welcome (a test page), the cluster page and Finish.
  ClusterConfigurationWizardPage& ClusterFrame() {
    AddPackage(L"BR::A", L"2023.0.1.0", L"Tarquel Brammel Server 2023 Advanced Edition");
    NewFrame();
    AddTestPage(L"Welcome");
    ClusterConfigurationWizardPage& page = AddPage<ClusterConfigurationWizardPage>();
    AddTestPage(L"Finish");
    return page;
  }
  platform::WindowHandle PageControl(const WizardPageBase& page, int id) { return Gui().FindControl(page.Window(), id); }
  bool Checked(const WizardPageBase& page, int id) { return Gui().IsChecked(PageControl(page, id)); }
  bool PortShown(const WizardPageBase& page) { return Gui().IsShown(PageControl(page, IDC_CLUSTER_PORT)); }
};

TEST_F(ClusterPageTest, AnActiveMasterStartsInTheMasterRoleAndStandAloneDeactivatesIt) {
  WriteFile(L"C:\\ProgramData\\Tarquel\\BrammelServer2023\\data\\brammel.ini", "[Master]\nport=4700\nactive=1\n");
  ClusterConfigurationWizardPage& page = ClusterFrame();
  Press(kNext);
  While([&] {
    EXPECT_TRUE(Checked(page, IDC_CLUSTER_MASTER));
    EXPECT_FALSE(Checked(page, IDC_CLUSTER_STANDALONE));
    EXPECT_TRUE(PortShown(page));
    EXPECT_EQ(Gui().Text(PageControl(page, IDC_CLUSTER_PORT)), L"4700");
    EXPECT_EQ(ShownTexts(page),
              (std::vector<std::wstring>{L"Brammel Cluster Configuration",
                                         L"If you want to set up a Brammel cluster please configure it here...",
                                         L"StandAlone", L"4700", L"Master", L"Port Number:", L"Worker",
                                         L"This port number will be used for your Master Interface Encrypted "
                                         L"connection."}));
    Gui().Click(PageControl(page, IDC_CLUSTER_STANDALONE));
    EXPECT_FALSE(Checked(page, IDC_CLUSTER_MASTER));
    EXPECT_FALSE(PortShown(page));
    EXPECT_EQ(ShownTexts(page).back(), L"Brammel server will not be part of a cluster");
  });
  Press(kNext);
  Press(kNext);
  frame_->DoModal();
  EXPECT_EQ(frame_->clusterProperties,
            L"BR_Master_Port=\"4700\" BR_Master_Host=\"0.0.0.0\" BR_Master_Active=0 BR_Cluster_Role=\"Standalone\" ");
}

TEST_F(ClusterPageTest, TheMasterTakesThePortTypedIntoTheField) {
  ClusterConfigurationWizardPage& page = ClusterFrame();
  Press(kNext);
  While([&] {
    EXPECT_TRUE(Checked(page, IDC_CLUSTER_STANDALONE));
    EXPECT_FALSE(PortShown(page));
    Gui().Click(PageControl(page, IDC_CLUSTER_MASTER));
    EXPECT_EQ(Gui().Text(PageControl(page, IDC_CLUSTER_PORT)), L"4645");
    Gui().SetText(PageControl(page, IDC_CLUSTER_PORT), L"5000");
  });
  Press(kNext);
  Press(kNext);
  frame_->DoModal();
  EXPECT_EQ(frame_->clusterProperties,
            L"BR_Master_Port=\"5000\" BR_Master_Host=\"0.0.0.0\" BR_Master_Active=1 BR_Cluster_Role=\"Master\" ");
}

TEST_F(ClusterPageTest, AWorkerOnTheCommandLineIsChosenOnEveryDisplay) {
  Start({L"/L*v", kLogPath, L"BR_Cluster_Role=Worker"});
  ClusterConfigurationWizardPage& page = ClusterFrame();
  Press(kNext);
  While([&] {
    EXPECT_TRUE(Checked(page, IDC_CLUSTER_WORKER));
    Gui().Click(PageControl(page, IDC_CLUSTER_STANDALONE));
  });
  Press(kBack);
  Press(kNext);
  While([&] { EXPECT_TRUE(Checked(page, IDC_CLUSTER_WORKER)); });
  Press(kNext);
  Press(kNext);
  frame_->DoModal();
  EXPECT_EQ(frame_->clusterProperties,
            L"BR_Master_Port=\"0\" BR_Master_Host=\"0.0.0.0\" BR_Master_Active=0 BR_Worker_Configure=1 "
            L"BR_Cluster_Role=\"Worker\" ");
}

TEST_F(ClusterPageTest, TheTextsFollowTheLanguage) {
  Start();
  languages_.SelectByName(L"German");
  ClusterConfigurationWizardPage& page = ClusterFrame();
  Press(kNext);
  While([&] {
    EXPECT_EQ(ShownTexts(page).front(), L"Brammel-Cluster-Konfiguration");
    EXPECT_EQ(ShownTexts(page).back(), L"Der Brammel-Server wird nicht Teil eines Clusters sein");
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

}  // namespace
}  // namespace setup::testing
