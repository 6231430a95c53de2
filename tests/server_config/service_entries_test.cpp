// The service entries a launcher's packages bring, and what they take from the installed
// service and the product's configuration file.
#include <gtest/gtest.h>

#include "foundation/format.h"
#include "server_config/service_fixture.h"
#include "server_config/service_logon.h"

namespace setup {
namespace {

using testing::ServiceTest;

std::wstring Labels(const std::vector<ServiceEntry>& entries) {
  std::wstring labels;
  for (const ServiceEntry& entry : entries) labels += std::wstring(entry.Label()) + L";";
  return labels;
}

struct KindCase {
  const char* name;
  const wchar_t* productName;
  const wchar_t* labels;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

const KindCase kKindCases[] = {
    {"Wendrak", L"Tarquel Wendrak 2023 Offline Edition (x64)", L"Wendrak;"},
    {"MobileServerHasTwoInterfaces", L"Tarquel Pellomar Server 2023", L"Pellomar Server Admin Interface;Pellomar Server Client Interface;"},
    {"ProcessingServer", L"Tarquel Yarrick Server 2023", L"Yarrick Server;"},
    {"ProcessingServerWithXbrl", L"Tarquel Yarrick+XBRL Server 2023", L"Yarrick+XBRL Server;"},
    {"WorkflowServerHasAWebFrontEnd", L"Tarquel Brammel Server 2023", L"Brammel Server;BrammelWeb Server;"},
    {"ComparisonServer", L"Tarquel Sorvik Server 2023", L"Sorvik Server;"},
    {"ComparisonServerClientHasNone", L"Tarquel Sorvik Server Client 2023", L""},
    {"DesktopProductHasNone", L"Tarquel Quibrix 2023 Professional Edition", L""},
};

class ServiceKinds : public ServiceTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ServiceKinds, FollowTheProductName) {
  AddPackage(GetParam().productName);
  EXPECT_EQ(Labels(Entries()), GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(Cases, ServiceKinds, ::testing::ValuesIn(kKindCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What the page shows of an entry, in one line.
std::wstring Summary(const ServiceEntry& e) {
  const auto file = [](const CertificateFile& f) { return f.path + (f.given ? L"+" : L""); };
  return Format(L"%s|%s|%s|http %d '%s' %d|ssl %d '%s' %d|%s|%s|%s", e.displayName, StartTypeText(e.startType),
                LogonAccountText(e), e.httpPort, e.httpHost, e.httpEnabled ? 1 : 0, e.sslPort, e.sslHost,
                e.sslEnabled ? 1 : 0, file(e.certificate), file(e.privateKey), file(e.certificateChain));
}

constexpr wchar_t kPlaceholders[] = L"C:\\path_to\\certificate|C:\\path_to\\PrivateKey|C:\\path_to\\certificate_chain";

struct Machine {
  std::vector<std::pair<std::wstring, std::string>> files = {};
  std::optional<platform::InstalledService> service = std::nullopt;  // of the first entry
  bool x86ProgramFiles = false;
};

struct InitialisationCase {
  const char* name;
  const wchar_t* productName;
  bool is64Bit;
  Machine machine;
  std::size_t entry;
  std::wstring summary;
};

void PrintTo(const InitialisationCase& c, std::ostream* os) { *os << c.name; }

platform::InstalledService Service(std::uint32_t startType, bool delayed, std::wstring account) {
  platform::InstalledService service;
  service.configuration = platform::ServiceConfiguration{startType, L"Shown", L"C:\\s.exe", std::move(account)};
  service.delayedAutoStart = delayed;
  return service;
}

const InitialisationCase kInitialisationCases[] = {
    {"Defaults", L"Tarquel Wendrak 2023", false, {}, 0,
     std::wstring(L"Tarquel Wendrak 2023|auto|LocalSystem|http 8088 '' 1|ssl 8090 '' 0|") + kPlaceholders},
    {"ClientInterfaceHasNoDisplayNameOfItsOwn", L"Tarquel Pellomar Server 2023", false, {}, 1,
     std::wstring(L"Pellomar Server Client Interface 2023|auto|LocalSystem|http 8083 '' 1|ssl 8084 '' 0|") +
         kPlaceholders},
    {"InstalledServiceStartedDelayedByALocalUser", L"Tarquel Wendrak 2023", false,
     {{}, Service(platform::kServiceAutoStart, true, L".\\svcuser")}, 0,
     std::wstring(L"Tarquel Wendrak 2023|auto-delayed|svcuser|http 8088 '' 1|ssl 8090 '' 0|") + kPlaceholders},
    {"InstalledServiceDisabledAsLocalService", L"Tarquel Yarrick Server 2023", false,
     {{}, Service(platform::kServiceDisabled, true, L"NT AUTHORITY\\LocalService")}, 0,
     std::wstring(L"Tarquel Yarrick Server 2023|disabled|NT AUTHORITY\\LocalService|http 8087 '' 1|ssl 463 '' 0|") +
         kPlaceholders},
    {"BuiltInAccountNamesCompareExactly", L"Tarquel Wendrak 2023", false,
     {{}, Service(platform::kServiceDemandStart, false, L"localsystem")}, 0,
     std::wstring(L"Tarquel Wendrak 2023|demand|localsystem|http 8088 '' 1|ssl 8090 '' 0|") + kPlaceholders},
    {"ListenSettingsTrimmedAndCertificatesGivenWhenTheyExist", L"Tarquel Wendrak 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\Wendrak\\server.cfg",
        "[Listen]\r\nport = \t8123abc\r\nhost = 127.0.0.1 \r\nactive = 0\r\n[ListenSSL]\r\nport=9443\r\nhost=0.0.0.0\r\n"
        "active=1\r\n[SSL]\r\ncertificate = C:\\certs\\server.pem\r\nprivate_key = C:\\certs\\missing.key\r\n"},
       {L"C:\\certs\\server.pem", "pem"}}},
     0,
     L"Tarquel Wendrak 2023|auto|LocalSystem|http 8123 '127.0.0.1' 0|ssl 9443 '0.0.0.0' 1|C:\\certs\\server.pem+|"
     L"C:\\certs\\missing.key|C:\\path_to\\certificate_chain"},
    {"SettingsTheFileLacksKeepTheirDefaults", L"Tarquel Wendrak 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\Wendrak\\server.cfg", "[Listen]\r\nhost=10.1.1.1\r\n"}}}, 0,
     std::wstring(L"Tarquel Wendrak 2023|auto|LocalSystem|http 8088 '10.1.1.1' 1|ssl 8090 '' 0|") + kPlaceholders},
    {"AdminInterfaceReadsItsOwnSections", L"Tarquel Pellomar Server 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\PellomarServer\\pellomarserver.cfg",
        "[ListenAdmin]\r\nport=7085\r\nactive=0\r\n[ListenAdminSSL]\r\nport=7086\r\nactive=1\r\n[Listen]\r\nport=7083\r\n"}}},
     0,
     std::wstring(L"Tarquel Pellomar Server|auto|LocalSystem|http 7085 '' 0|ssl 7086 '' 1|") + kPlaceholders},
    {"ClientInterfaceReadsTheListenSections", L"Tarquel Pellomar Server 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\PellomarServer\\pellomarserver.cfg",
        "[ListenAdmin]\r\nport=7085\r\n[Listen]\r\nport=7083\r\nhost=1.2.3.4\r\n"}}},
     1,
     std::wstring(L"Pellomar Server Client Interface 2023|auto|LocalSystem|http 7083 '1.2.3.4' 1|ssl 8084 '' 0|") +
         kPlaceholders},
    {"ComparisonServerFromThePreviousVersion", L"Tarquel Sorvik Server 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\SorvikServer2022\\server_config.ini",
        "[SorvikServer]\r\nport=30000\r\naddress=10.0.0.1\r\n[Listen]\r\nport=1\r\n"}}},
     0, std::wstring(L"Tarquel Sorvik Server 2023|auto|LocalSystem|http 30000 '10.0.0.1' 1|ssl 0 '' 0|") + kPlaceholders},
    {"NewestOfTheVersionedFilesWins", L"Tarquel Brammel Server 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\BrammelServer2021\\data\\brammelweb.ini", "[Listen]\r\nport=2021\r\n"},
       {L"C:\\ProgramData\\Tarquel\\BrammelServer2022\\data\\brammelweb.ini", "[Listen]\r\nport=2022\r\n"}}},
     1, std::wstring(L"Tarquel Brammel Web 2023|auto|LocalSystem|http 2022 '' 1|ssl 8090 '' 0|") + kPlaceholders},
    {"ThreeVersionsBackIsTooOld", L"Tarquel Brammel Server 2023", false,
     {{{L"C:\\ProgramData\\Tarquel\\BrammelServer2020\\data\\brammel.ini", "[Listen]\r\nport=2020\r\n"}}}, 0,
     std::wstring(L"Tarquel Brammel 2023|auto|LocalSystem|http 4646 '' 1|ssl 4647 '' 0|") + kPlaceholders},
    {"ProcessingServerXmlInThe64BitProgramFiles", L"Tarquel Yarrick Server 2023 (x64)", true,
     {{{L"C:\\Program Files\\Tarquel\\YarrickServer2023\\etc\\server_config.xml",
        "<config>\r\n<http.socket-port>8187</http.socket-port>\r\n<http.socket-host>0.0.0.0</http.socket-host>\r\n"
        "<http.enable>0</http.enable>\r\n<https.socket-port>4430</https.socket-port>\r\n<https.enable> 1 "
        "</https.enable>\r\n<https.certificate>C:\\certs\\y.pem</https.certificate>\r\n</config>\r\n"},
       {L"C:\\certs\\y.pem", "pem"}},
      std::nullopt, true},
     0,
     L"Tarquel Yarrick Server 2023|demand|LocalSystem|http 8187 '0.0.0.0' 0|ssl 4430 '' 1|C:\\certs\\y.pem|"
     L"C:\\path_to\\PrivateKey|C:\\path_to\\certificate_chain"},
    {"ProcessingServerXmlEnabledOnlyByOne", L"Tarquel Yarrick+XBRL Server 2023", false,
     {{{L"C:\\Program Files (x86)\\Tarquel\\YarrickXBRLServer2023\\etc\\server_config.xml",
        "<config>\r\n<http.enable>true</http.enable>\r\n<https.enable>1</https.enable>\r\n</config>\r\n"}},
      std::nullopt, true},
     0, std::wstring(L"Tarquel Yarrick+XBRL Server 2023|demand|LocalSystem|http 8087 '' 0|ssl 463 '' 1|") + kPlaceholders},
};

class ServiceInitialisation : public ServiceTest, public ::testing::WithParamInterface<InitialisationCase> {};

TEST_P(ServiceInitialisation, TakesTheMachinesSettings) {
  const InitialisationCase& c = GetParam();
  AddPackage(c.productName, L"XX::X", L"2023.0.1.0", c.is64Bit);
  for (const auto& [path, text] : c.machine.files) WriteFile(path, text);
  if (c.machine.x86ProgramFiles) {
    host_.Files().knownFolders[platform::KnownFolder::ProgramFiles] = L"C:\\Program Files (x86)";
  }
  if (c.machine.service) {
    host_.Services().Install(ServiceKindsOfProduct(c.productName).front()->serviceName, *c.machine.service);
  }
  const std::vector<ServiceEntry>& entries = Entries();
  ASSERT_LT(c.entry, entries.size());
  EXPECT_EQ(Summary(entries[c.entry]), c.summary);
  EXPECT_EQ(entries[c.entry].initial, entries[c.entry].CurrentValues());
  EXPECT_TRUE(entries[c.entry].password.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ServiceInitialisation, ::testing::ValuesIn(kInitialisationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServiceTest, PairingGivesTheFrontEndsTheCertificatesOfTheirServers) {
  AddPackage(L"Tarquel Wendrak 2023");
  AddPackage(L"Tarquel Brammel Server 2023");
  AddPackage(L"Tarquel Pellomar Server 2023");
  const std::vector<ServiceEntry>& entries = Entries();
  ASSERT_EQ(Labels(entries), L"Wendrak;Brammel Server;BrammelWeb Server;Pellomar Server Admin Interface;"
                             L"Pellomar Server Client Interface;");
  const std::vector<std::size_t> owners{0, 1, 1, 3, 3};
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].settingsOwner, owners[i]) << i;
}

}  // namespace
}  // namespace setup
