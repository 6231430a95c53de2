// When the service entries refuse to give a property string: no connection left, a password
// nobody gave, a password dialog cancelled; and how a run without a person ends then.
#include <gtest/gtest.h>

#include "run/log_lines.h"
#include "server_config/service_fixture.h"

namespace setup {
namespace {

using testing::ServiceTest;

const std::wstring kNoConnection = LogLineText(
    log_lines::kServiceConnectionNeeded,
    L"Either the encrypted or unencrypted connection needs to be enabled for these services: Brammel Server, "
    L"BrammelWeb Server");

struct RefusalCase {
  const char* name;
  std::vector<std::wstring> arguments;
  bool attended;
  std::optional<std::wstring> reply;  // of the password dialog
  std::size_t questions;
  std::size_t messageBoxes;
  std::int32_t kind;
  std::wstring logLine;  // empty: none expected
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

const RefusalCase kRefusalCases[] = {
    {"NoConnectionKeepsThePage", {L"BR_WebServer_Enabled=0", L"BRWeb_WebServer_Enabled=0"}, true, {}, 0, 1,
     kResultSuccess, kNoConnection},
    {"NoConnectionEndsAnUnattendedRun", {L"/qr", L"BR_WebServer_Enabled=0", L"BRWeb_WebServer_Enabled=0"}, false, {},
     0, 1, kResultInvalidCommandLine, kNoConnection},
    {"NoConnectionEndsAQuietRunWithoutABox", {L"/qn", L"BR_WebServer_Enabled=0", L"BRWeb_WebServer_Enabled=0"}, false,
     {}, 0, 0, kResultInvalidCommandLine, kNoConnection},
    {"CancelledPasswordKeepsThePage", {L"BR_Service_Username=svc"}, true, std::nullopt, 1, 0, kResultSuccess, L""},
    {"CancelledPasswordEndsAnUnattendedRun", {L"/qr", L"BR_Service_Username=svc"}, false, std::nullopt, 1, 0,
     kResultUserCancelled, L""},
    {"QuietRunNeverAsksForAPassword", {L"/qn", L"BR_Service_Username=svc"}, false, L"never", 0, 0,
     kResultInvalidCommandLine,
     LogLineText(log_lines::kServicePasswordMissing, L"Tarquel Brammel 2023", L"svc", L"BR_Service_Password")},
    {"QuietBasicRunNeverAsksForAPassword", {L"/qb", L"BRWeb_Service_Username=corp\\web"}, false, L"never", 0, 0,
     kResultInvalidCommandLine,
     LogLineText(log_lines::kServicePasswordMissing, L"Tarquel Brammel Web 2023", L"corp\\web",
                 L"BRWeb_Service_Password")},
};

class ServiceRefusals : public ServiceTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ServiceRefusals, GiveNoPropertiesAndEndOnlyUnattendedRuns) {
  const RefusalCase& c = GetParam();
  AddPackage(L"Tarquel Brammel Server 2023");
  Entries(c.arguments);
  prompt_.reply = c.reply;
  const std::size_t passedOn = commandLine_.Properties().size();
  EXPECT_FALSE(Build(c.attended));
  EXPECT_EQ(prompt_.asked.size(), c.questions);
  EXPECT_EQ(host_.Ui().messageBoxes.size(), c.messageBoxes);
  EXPECT_EQ(result_.kind, c.kind);
  // Left unreported, an unattended refusal sends the wizard to its finish page rather than
  // back into the page that refused.
  if (c.kind != kResultSuccess) EXPECT_FALSE(result_.reported);
  if (!c.logLine.empty()) {
    EXPECT_NE(LogText().find(c.logLine), std::wstring::npos) << ToUtf8(LogText());
  }
  // Nothing is taken from the command line while the page has not given its properties.
  EXPECT_EQ(commandLine_.Properties().size(), passedOn);
}

INSTANTIATE_TEST_SUITE_P(Cases, ServiceRefusals, ::testing::ValuesIn(kRefusalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServiceTest, UnselectedEntriesNeedNoConnection) {
  AddPackage(L"Tarquel Brammel Server 2023").handle = false;
  AddPackage(L"Tarquel Sorvik Server 2023", L"SK::E");
  Entries({L"BR_WebServer_Enabled=0", L"BR_SSLWebServer_Enabled=0", L"SK_WebServer_Enabled=0"});
  // The comparison server has no SSL: its one web server may be off.
  EXPECT_TRUE(EntriesWithoutConnection(entries_).empty());
  EXPECT_TRUE(Build());
}

TEST_F(ServiceTest, PasswordIsAskedWithTheServiceAndUserAndKept) {
  AddPackage(L"Tarquel Brammel Server 2023");
  Entries({L"/qr", L"BRWeb_Service_Username=corp\\web"});
  prompt_.reply = L"typed";
  const std::optional<std::wstring> properties = Build(false);
  ASSERT_TRUE(properties);
  EXPECT_EQ(prompt_.asked, std::vector<std::wstring>{L"Tarquel Brammel Web 2023|corp\\web"});
  EXPECT_TRUE(properties->ends_with(L"BRWeb_Service_Username=\"corp\\web\" BRWeb_Service_Password=\"" +
                                    Encrypted(L"typed") + L"\" "));
  // Leaving the page again does not ask again.
  ASSERT_TRUE(Build(false));
  EXPECT_EQ(prompt_.asked.size(), 1u);
}

// Encrypting an empty password gives an empty text, which is no failure: it is handed on empty.
TEST_F(ServiceTest, AnEmptyPasswordIsHandedOnEmpty) {
  AddPackage(L"Tarquel Brammel Server 2023");
  Entries({L"BRWeb_Service_Username=corp\\web"});
  prompt_.reply = L"";
  const std::optional<std::wstring> properties = Build(true);
  ASSERT_TRUE(properties);
  EXPECT_TRUE(properties->ends_with(L"BRWeb_Service_Username=\"corp\\web\" BRWeb_Service_Password=\"\" "));
  EXPECT_EQ(result_.kind, kResultSuccess);
}

// A provider that gives no key, as on a machine without the base provider.
class NoKeyCrypto final : public platform::Crypto {
 public:
  std::unique_ptr<platform::CipherKey> DeriveRc4KeyFromSha1(std::string_view) override { return nullptr; }
  std::optional<std::wstring> ToBase64Lines(std::span<const std::uint8_t>) const override { return std::nullopt; }
};

TEST_F(ServiceTest, PasswordWithoutEncryptionKeyIsNeverHandedOn) {
  AddPackage(L"Tarquel Sorvik Server 2023", L"SK::E");
  Entries({L"/qn", L"SK_Service_Username=svc", L"SK_Service_Password=plain"});
  NoKeyCrypto crypto;
  PropertyEncryption encryption(crypto);
  EXPECT_FALSE(BuildProperties(Run(), entries_, prompt_, encryption, false));
  EXPECT_EQ(result_.kind, kResultInstallFailed);
  EXPECT_NE(LogText().find(LogLineText(log_lines::kServicePasswordNotEncrypted, L"Tarquel Sorvik Server 2023")),
            std::wstring::npos);
  EXPECT_EQ(LogText().find(L"plain"), std::wstring::npos);
}

}  // namespace
}  // namespace setup
