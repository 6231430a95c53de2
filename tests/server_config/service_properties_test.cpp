// The property strings the service entries hand to the packages, byte for byte, and what
// stays of the command line's pass-through properties.
#include <gtest/gtest.h>

#include "server_config/service_fixture.h"

namespace setup {
namespace {

using testing::ServiceTest;

struct PropertyCase {
  const char* name;
  const wchar_t* productName;
  const wchar_t* productId;
  std::vector<std::wstring> arguments;
  // "%ENC%" stands for the encrypted password "s3cret".
  std::wstring expected;
  std::vector<std::wstring> passedOn;  // names of the command-line properties left
};

void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.name; }

const PropertyCase kPropertyCases[] = {
    {"WorkflowServerWithWebFrontEnd", L"Tarquel Brammel Server 2023 Advanced Edition", L"BR::A", {},
     L"BR_WebServer_Port=4646 BR_WebServer_Host=\"\" BR_WebServer_Enabled=1 BR_SSLWebServer_Port=4647 "
     L"BR_SSLWebServer_Host=\"\" BR_SSLWebServer_Enabled=0 BR_Service_StartType=\"auto\" "
     L"BR_Service_Username=\"LocalSystem\" "
     L"BRWeb_WebServer_Port=8082 BRWeb_WebServer_Host=\"\" BRWeb_WebServer_Enabled=1 BRWeb_SSLWebServer_Port=8090 "
     L"BRWeb_SSLWebServer_Host=\"\" BRWeb_SSLWebServer_Enabled=0 BRWeb_Service_StartType=\"auto\" "
     L"BRWeb_Service_Username=\"LocalSystem\" ",
     {}},
    {"AdminAndClientInterfacesOfTheMobileServer", L"Tarquel Pellomar Server 2023", L"PM::S",
     {L"PMS_SSLWebServer_Certificate=C:\\certs\\admin.pem", L"PMSClient_WebServer_Port=9083",
      L"PMSAdmin_SSLWebServer_Enabled=1"},
     L"PMSAdmin_WebServer_Port=8085 PMSAdmin_WebServer_Host=\"\" PMSAdmin_WebServer_Enabled=1 "
     L"PMSAdmin_SSLWebServer_Port=8086 PMSAdmin_SSLWebServer_Host=\"\" PMSAdmin_SSLWebServer_Enabled=1 "
     L"PMS_SSLWebServer_Certificate=\"C:\\certs\\admin.pem\" PMS_Service_StartType=\"auto\" "
     L"PMS_Service_Username=\"LocalSystem\" "
     L"PMSClient_WebServer_Port=9083 PMSClient_WebServer_Host=\"\" PMSClient_WebServer_Enabled=1 "
     L"PMSClient_SSLWebServer_Port=8084 PMSClient_SSLWebServer_Host=\"\" PMSClient_SSLWebServer_Enabled=0 "
     L"PMSClient_Service_StartType=\"auto\" PMSClient_Service_Username=\"LocalSystem\" ",
     {}},
    {"OfflineWendrakStartsDelayed", L"Tarquel Wendrak 2023 Offline Edition", L"WK::F", {},
     L"WK_WebServer_Port=8088 WK_WebServer_Host=\"\" WK_WebServer_Enabled=1 WK_SSLWebServer_Port=8090 "
     L"WK_SSLWebServer_Host=\"\" WK_SSLWebServer_Enabled=0 WK_Service_StartType=\"auto-delayed\" "
     L"WK_Service_Username=\"LocalSystem\" ",
     {}},
    {"OfflineWendrakKeepsTheStartTypeGiven", L"Tarquel Wendrak 2023 Offline Edition", L"WK::F",
     {L"WK_Service_StartType=demand"},
     L"WK_WebServer_Port=8088 WK_WebServer_Host=\"\" WK_WebServer_Enabled=1 WK_SSLWebServer_Port=8090 "
     L"WK_SSLWebServer_Host=\"\" WK_SSLWebServer_Enabled=0 WK_Service_StartType=\"demand\" "
     L"WK_Service_Username=\"LocalSystem\" ",
     {}},
    {"OfflineWendrakStartTypeGivenInAnotherCase", L"Tarquel Wendrak 2023 Offline Edition", L"WK::F",
     {L"wk_service_starttype=Disabled"},
     L"WK_WebServer_Port=8088 WK_WebServer_Host=\"\" WK_WebServer_Enabled=1 WK_SSLWebServer_Port=8090 "
     L"WK_SSLWebServer_Host=\"\" WK_SSLWebServer_Enabled=0 WK_Service_StartType=\"disabled\" "
     L"WK_Service_Username=\"LocalSystem\" ",
     {L"wk_service_starttype"}},
    {"OtherWendrakEditionStartsAutomatically", L"Tarquel Wendrak 2023", L"WK::N", {},
     L"WK_WebServer_Port=8088 WK_WebServer_Host=\"\" WK_WebServer_Enabled=1 WK_SSLWebServer_Port=8090 "
     L"WK_SSLWebServer_Host=\"\" WK_SSLWebServer_Enabled=0 WK_Service_StartType=\"auto\" "
     L"WK_Service_Username=\"LocalSystem\" ",
     {}},
    {"CommandLinePortIsTakenOverAndRemoved", L"Tarquel Brammel Server 2023", L"BR::A",
     {L"BR_WebServer_Port=9000", L"BR_Service_DisplayName=My Brammel", L"OTHER=1"},
     L"BR_WebServer_Port=9000 BR_WebServer_Host=\"\" BR_WebServer_Enabled=1 BR_SSLWebServer_Port=4647 "
     L"BR_SSLWebServer_Host=\"\" BR_SSLWebServer_Enabled=0 BR_Service_StartType=\"auto\" "
     L"BR_Service_Username=\"LocalSystem\" "
     L"BRWeb_WebServer_Port=8082 BRWeb_WebServer_Host=\"\" BRWeb_WebServer_Enabled=1 BRWeb_SSLWebServer_Port=8090 "
     L"BRWeb_SSLWebServer_Host=\"\" BRWeb_SSLWebServer_Enabled=0 BRWeb_Service_StartType=\"auto\" "
     L"BRWeb_Service_Username=\"LocalSystem\" ",
     {L"BR_Service_DisplayName", L"OTHER"}},
    {"ComparisonServerHasNoSsl", L"Tarquel Sorvik Server 2023", L"SK::E", {L"SK_SSLWebServer_Port=1"},
     L"SK_WebServer_Port=29800 SK_WebServer_Host=\"\" SK_WebServer_Enabled=1 SK_Service_StartType=\"auto\" "
     L"SK_Service_Username=\"LocalSystem\" ",
     {L"SK_SSLWebServer_Port"}},
    {"ProcessingServerStartsOnDemand", L"Tarquel Yarrick Server 2023", L"YR::S", {L"YRX_WebServer_Host=0.0.0.0"},
     L"YRX_WebServer_Port=8087 YRX_WebServer_Host=\"0.0.0.0\" YRX_WebServer_Enabled=1 YRX_SSLWebServer_Port=463 "
     L"YRX_SSLWebServer_Host=\"\" YRX_SSLWebServer_Enabled=0 YRX_Service_StartType=\"demand\" "
     L"YRX_Service_Username=\"LocalSystem\" ",
     {}},
    {"AnotherUserGetsTheEncryptedPassword", L"Tarquel Sorvik Server 2023", L"SK::E",
     {L"SK_Service_Username=corp\\svc", L"SK_Service_Password=s3cret"},
     L"SK_WebServer_Port=29800 SK_WebServer_Host=\"\" SK_WebServer_Enabled=1 SK_Service_StartType=\"auto\" "
     L"SK_Service_Username=\"corp\\svc\" SK_Service_Password=\"%ENC%\" ",
     {}},
    {"BuiltInAccountHasNoPassword", L"Tarquel Sorvik Server 2023", L"SK::E",
     {L"SK_Service_Username=NT AUTHORITY\\NetworkService", L"SK_Service_Password=s3cret"},
     L"SK_WebServer_Port=29800 SK_WebServer_Host=\"\" SK_WebServer_Enabled=1 SK_Service_StartType=\"auto\" "
     L"SK_Service_Username=\"NT AUTHORITY\\NetworkService\" ",
     {}},
    {"QuoteInAValueCannotEndItEarly", L"Tarquel Sorvik Server 2023", L"SK::E",
     {L"SK_WebServer_Host=a\" X=1"},
     L"SK_WebServer_Port=29800 SK_WebServer_Host=\"a\"\" X=1\" SK_WebServer_Enabled=1 "
     L"SK_Service_StartType=\"auto\" SK_Service_Username=\"LocalSystem\" ",
     {}},
};

class ServicePropertyStrings : public ServiceTest, public ::testing::WithParamInterface<PropertyCase> {};

std::vector<std::wstring> PassedOnNames(const CSetupAppCommandLineInfo& commandLine) {
  std::vector<std::wstring> names;
  for (const CommandLineProperty& property : commandLine.Properties()) names.push_back(property.name);
  return names;
}

TEST_P(ServicePropertyStrings, AreWrittenByteForByte) {
  const PropertyCase& c = GetParam();
  AddPackage(c.productName, c.productId);
  Entries(c.arguments);
  std::wstring expected = c.expected;
  if (const std::size_t at = expected.find(L"%ENC%"); at != std::wstring::npos) {
    expected.replace(at, 5, Encrypted(L"s3cret"));
  }
  const std::optional<std::wstring> properties = Build();
  ASSERT_TRUE(properties);
  EXPECT_EQ(*properties, expected);
  EXPECT_EQ(properties->find(L"s3cret"), std::wstring::npos);
  EXPECT_EQ(PassedOnNames(commandLine_), c.passedOn);
  EXPECT_TRUE(prompt_.asked.empty());
  EXPECT_EQ(result_.kind, kResultSuccess);
}

INSTANTIATE_TEST_SUITE_P(Cases, ServicePropertyStrings, ::testing::ValuesIn(kPropertyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServiceTest, CommandLinePortIsShownOnThePage) {
  AddPackage(L"Tarquel Brammel Server 2023");
  const std::vector<ServiceEntry>& entries = Entries({L"BR_WebServer_Port=9000", L"BR_Service_DisplayName=\"Mine\""});
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].httpPort, 9000);
  EXPECT_EQ(entries[0].initial.httpPort, 9000);
  EXPECT_EQ(entries[0].displayName, L"Mine");
  EXPECT_EQ(entries[1].httpPort, 8082);
}

TEST_F(ServiceTest, OnlySelectedEntriesWriteProperties) {
  AddPackage(L"Tarquel Wendrak 2023", L"WK::N");
  AddPackage(L"Tarquel Sorvik Server 2023", L"SK::E").handle = false;
  Entries({L"SK_WebServer_Port=1", L"WK_WebServer_Port=2"});
  const std::optional<std::wstring> properties = Build();
  ASSERT_TRUE(properties);
  EXPECT_TRUE(properties->starts_with(L"WK_WebServer_Port=2 "));
  EXPECT_EQ(properties->find(L"SK_"), std::wstring::npos);
  // The unselected package's property is not generated, so it is passed on as given.
  EXPECT_EQ(PassedOnNames(commandLine_), std::vector<std::wstring>{L"SK_WebServer_Port"});
}

TEST_F(ServiceTest, EveryPasswordTakenFromTheCommandLineLeavesThePassThroughList) {
  AddPackage(L"Tarquel Sorvik Server 2023", L"SK::E").handle = false;
  AddPackage(L"Tarquel Wendrak 2023", L"WK::N");
  // The Sorvik package is not installed: its password is not generated, but must not reach
  // the other package's installer in plain text either. A key in another case is not a
  // password the entries take and passes on.
  Entries({L"SK_Service_Username=svc", L"sk_Service_Password=one", L"SK_service_password=two"});
  ASSERT_TRUE(Build());
  EXPECT_EQ(PassedOnNames(commandLine_), (std::vector<std::wstring>{L"SK_Service_Username", L"SK_service_password"}));
}

}  // namespace
}  // namespace setup
