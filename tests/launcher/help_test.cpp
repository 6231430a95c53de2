#include <gtest/gtest.h>

#include "launcher/help_model.h"
#include "launcher/help_printer.h"
#include "run/language_catalog.h"
#include "platform/host/host_resources.h"
#include "resources/resource_ids.h"

namespace setup {
namespace {

std::vector<std::wstring> GroupNames(std::wstring_view productName) {
  std::vector<std::wstring> names;
  for (const HelpPropertyGroup& group : PropertyGroupsFor(productName)) {
    names.push_back(group.properties.front().name);
  }
  return names;
}

TEST(HelpPropertyGroups, ChosenByTheFirstProductNamesExactPrefix) {
  EXPECT_EQ(GroupNames(L"Tarquel Brammel Server 2024"),
            (std::vector<std::wstring>{L"BRWeb_WebServer_Enabled", L"BRWeb_Service_DisplayName", L"BR_WebServer_Enabled",
                                       L"BR_Service_DisplayName", L"BR_SSLWebServer_Certificate",
                                       L"WK_WebServer_Enabled", L"WK_Service_DisplayName", L"YRX_WebServer_Enabled",
                                       L"YRX_Service_DisplayName"}));
  EXPECT_EQ(GroupNames(L"Tarquel Wendrak 2024"),
            (std::vector<std::wstring>{L"WK_WebServer_Enabled", L"WK_Service_DisplayName"}));
  EXPECT_EQ(GroupNames(L"Tarquel Pellomar Server 3"),
            (std::vector<std::wstring>{L"WK_WebServer_Enabled", L"WK_Service_DisplayName", L"PMSAdmin_WebServer_Enabled",
                                       L"PMSClient_WebServer_Enabled", L"PMS_SSLWebServer_Certificate",
                                       L"PMS_Service_DisplayName"}));
  EXPECT_EQ(GroupNames(L"Tarquel Yarrick+XBRL Server 1").back(), L"YXBRL_Service_DisplayName");
  EXPECT_EQ(GroupNames(L"Tarquel Sorvik Server 1").back(), L"SK_Service_DisplayName");
  // The prefix includes its trailing blank and is case-sensitive.
  EXPECT_TRUE(GroupNames(L"Tarquel Brammel Server").empty());
  EXPECT_TRUE(GroupNames(L"tarquel brammel server 2024").empty());
  EXPECT_TRUE(GroupNames(L"Tarquel Quillbook 2024").empty());
}

// The ports are the properties whose value the command line must give as a number.
TEST(HelpPropertyGroups, ThePortsAndOnlyThePortsAreNumeric) {
  for (const wchar_t* product : {L"Tarquel Brammel Server 1", L"Tarquel Pellomar Server 1", L"Tarquel Sorvik Server 1",
                                 L"Tarquel Yarrick+XBRL Server 1"}) {
    int ports = 0;
    for (const HelpPropertyGroup& group : PropertyGroupsFor(product)) {
      for (const HelpProperty& property : group.properties) {
        const bool port = property.name.ends_with(L"WebServer_Port");
        EXPECT_EQ(property.numeric, port) << property.name;
        ports += port ? 1 : 0;
      }
    }
    EXPECT_GE(ports, 4) << product;
  }
}

TEST(HelpPropertyGroups, PropertyShapesOfTheGroups) {
  const auto groups = PropertyGroupsFor(L"Tarquel Brammel Server 2024");
  // The Brammel service group has no account properties.
  ASSERT_EQ(groups[3].properties.size(), 2u);
  EXPECT_EQ(groups[3].properties[1].name, L"BR_Service_StartType");
  // Wendrak's SSL host and port use the plain web server's descriptions.
  const HelpProperty& sslHost = groups[5].properties[4];
  EXPECT_EQ(sslHost.name, L"WK_SSLWebServer_Host");
  EXPECT_EQ(sslHost.placeholderId, static_cast<std::uint32_t>(IDS_PROP_SSL_HOST_PLACEHOLDER));
  EXPECT_EQ(sslHost.descriptionId, static_cast<std::uint32_t>(IDS_PROP_HOST_DESCRIPTION));
  // Brammel's own SSL host keeps the SSL description.
  EXPECT_EQ(groups[0].properties[4].descriptionId, static_cast<std::uint32_t>(IDS_PROP_SSL_HOST_DESCRIPTION));
}

class HelpModelTest : public ::testing::Test {
 protected:
  HelpModelTest() { catalog_.SelectByName(L"English"); }
  platform::host::HostResources resources_;
  LanguageCatalog catalog_{resources_};
};

TEST_F(HelpModelTest, OptionalOptionsFollowTheResources) {
  HelpModel model;
  model.Build(catalog_, {false, false, L""});
  ASSERT_EQ(model.Commands().size(), 6u);
  EXPECT_EQ(model.Commands()[1].options.size(), 5u);
  EXPECT_TRUE(model.Commands()[0].options.empty());
  EXPECT_TRUE(model.Commands()[5].options.empty());

  model.Build(catalog_, {true, true, L"Tarquel Wendrak 2024"});
  const auto& options = model.Commands()[1].options;
  ASSERT_EQ(options.size(), 7u);
  EXPECT_EQ(options[0]->syntax, L"lang=<LanguageName>");
  EXPECT_EQ(options[4]->syntax, L"SubPackages=all|none|<PackageNamePart>{,<PackageNamePart>}");
  EXPECT_EQ(model.Commands()[3].options, options);  // shared, not copied
  ASSERT_NE(model.FindProperty(L"wk_webserver_port"), nullptr);
  EXPECT_EQ(model.FindProperty(L"wk_webserver_port")->name, L"WK_WebServer_Port");
  EXPECT_EQ(model.FindProperty(L"BR_WebServer_Port"), nullptr);
}

TEST_F(HelpModelTest, HelpTextLayoutByteForByte) {
  HelpModel model;
  model.Build(catalog_, {false, false, L"Tarquel Wendrak 2024"});
  const std::wstring text = HelpText(model, catalog_, L"Setup.exe");
  EXPECT_TRUE(text.starts_with(L"\r\nSetup.exe - command line syntax\r\n\r\nSetup.exe /h\n    Display this message.\r\n\r\n"
                               L"Setup.exe \n    Install or modify current installation. For silent installation with a\n"
                               L"    small finish message box use:\n        Setup.exe /qn+\r\n\r\n"));
  EXPECT_NE(text.find(L"\r\n\r\nAdditional options available with above commands:\r\n    /q[n|r|f|b][+]\n        Select"),
            std::wstring::npos);
  // Each option is printed once although four commands share it.
  EXPECT_EQ(text.find(L"    /m <MIF File>\n"), text.rfind(L"    /m <MIF File>\n"));
  EXPECT_NE(text.find(L"    Properties to configure the Wendrak Web server:\r\n"
                      L"        WK_WebServer_Enabled=<0-or-1>\n"
                      L"            Select 1 to enable listening to this port. select 0 to disable the\n"
                      L"            port.\r\n\r\n"),
            std::wstring::npos);
  // A blank before a quoted piece is its own piece: it stays at the end of the broken line.
  EXPECT_TRUE(text.ends_with(L"        WK_Service_Password=<password>\n"
                             L"            The password of the service start user in plain text. Hint: Use the\n"
                             L"            installer's user interface to avoid plain text passwords. No\n"
                             L"            password is required for \"LocalSystem\", \n"
                             L"            \"NT AUTHORITY\\LocalService\" and \"NT AUTHORITY\\NetworkService\".\r\n\r\n"));
}

TEST(HelpPrinter, LauncherFileName) {
  EXPECT_EQ(LauncherFileName(L"C:\\Setup\\Setup.exe"), L"Setup.exe");
  EXPECT_EQ(LauncherFileName(L"/tmp/x/Setup.exe"), L"Setup.exe");
  EXPECT_EQ(LauncherFileName(L"Setup.exe"), L"Setup.exe");
}

}  // namespace
}  // namespace setup
