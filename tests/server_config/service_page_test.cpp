// The service configuration page in a frame on the host GUI: its tabs, the summaries with
// changed values in bold, its dialogs, and the property string Next leaves on the frame.
#include <gtest/gtest.h>

#include <ostream>

#include "resources/resource_ids.h"
#include "server_config/service_configuration_wizard_page.h"
#include "wizard/general_pages_fixture.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kCancel = platform::kIdCancel;

using platform::TextRun;

}  // namespace
}  // namespace setup::testing

namespace setup::platform {
void PrintTo(const TextRun& run, std::ostream* out) {
  *out << (run.bold ? "bold " : "") << '"' << std::string(run.text.begin(), run.text.end()) << '"';
}
}  // namespace setup::platform

namespace setup::testing {
namespace {

struct Product {
  std::wstring productId;
  std::wstring name;
  bool selected = true;
};

const Product kBrammel{L"BS::A", L"Tarquel Brammel Server 2024 Advanced Edition"};
const Product kPellomar{L"PS::Z", L"Tarquel Pellomar Server 2024"};
const Product kSorvik{L"SG::Z", L"Tarquel Sorvik Server 2024"};

class ServicePageTest : public GeneralPagesTest {
 protected:
  ServiceConfigurationWizardPage& ServiceFrame(const std::vector<Product>& products) {
    Run();
    for (const Product& product : products) AddPackage(product.productId, L"2024.00.01", product.name).handle = product.selected;
    NewFrame();
    AddTestPage(L"Unpack");
    ServiceConfigurationWizardPage& page = AddPage<ServiceConfigurationWizardPage>(encryption_);
    AddTestPage(L"Install");
    AddTestPage(L"Finish");
    page_ = &page;
    return page;
  }
  // Leaves the first page, runs `check` on the service page, then cancels the run.
  void ShowPageThen(std::function<void()> check) {
    Press(kNext);
    While(std::move(check));
    Press(kCancel);
    Press(kCancel);
    frame_->DoModal();
  }

  platform::WindowHandle PageControl(int id) { return Gui().FindControl(page_->Window(), id); }
  std::vector<std::wstring> TabLabels() {
    std::vector<std::wstring> labels;
    for (const auto& [label, data] : Gui().Window(PageControl(IDC_SERVICE_TABS)).tabs) labels.push_back(label);
    return labels;
  }
  const std::vector<TextRun>& Summary(int id) { return Gui().Window(PageControl(id)).richText; }
  bool Shown(int id) { return Gui().IsShown(PageControl(id)); }

  // Presses a button of the page and, in the dialog it opens, runs `inDialog` and presses
  // `closeWith`.
  void InDialog(int buttonId, std::function<void(platform::WindowHandle)> inDialog, int closeWith = platform::kIdOk) {
    const platform::WindowHandle frameWindow = Gui().ActiveDialog();
    // The dialog's loop takes it before whatever the frame still has queued.
    Gui().idleActions.push_front([=, this] {
      const platform::WindowHandle dialog = Gui().ActiveDialog();
      ASSERT_NE(dialog, frameWindow) << "no dialog opened";
      inDialog(dialog);
      Gui().Click(Gui().DialogItem(dialog, closeWith));
    });
    Gui().Click(PageControl(buttonId));
  }
  void SetPort(int buttonId, const std::wstring& port) {
    InDialog(buttonId, [=, this](platform::WindowHandle dialog) { Gui().SetText(Gui().DialogItem(dialog, IDC_CONNECTION_PORT), port); });
  }

  PropertyEncryption encryption_{Host().Crypto()};
  ServiceConfigurationWizardPage* page_ = nullptr;
};

struct TabsCase {
  const char* name;
  std::vector<Product> products;
  std::vector<std::wstring> tabs;  // empty: the page passes on
  bool sslRow;
  bool serviceRow;
};
void PrintTo(const TabsCase& c, std::ostream* out) { *out << c.name; }

const TabsCase kTabsCases[] = {
    {"WorkflowServerAndItsWebFrontEnd", {kBrammel}, {L"Brammel Server", L"BrammelWeb Server"}, true, true},
    {"AdminAndClientInterfaces", {kPellomar}, {L"Pellomar Server Admin Interface", L"Pellomar Server Client Interface"},
     true, true},
    {"ComparisonServerHasNoSsl", {kSorvik}, {L"Sorvik Server"}, false, true},
    {"TwoProductsInPackageOrder",
     {kSorvik, kBrammel},
     {L"Sorvik Server", L"Brammel Server", L"BrammelWeb Server"},
     false,
     true},
    {"UnselectedPackageGetsNoTab", {kSorvik, {kBrammel.productId, kBrammel.name, false}}, {L"Sorvik Server"}, false, true},
};

class ServicePageTabsTest : public ServicePageTest, public ::testing::WithParamInterface<TabsCase> {};

TEST_P(ServicePageTabsTest, ShowsOneTabPerSelectedComponent) {
  const TabsCase& c = GetParam();
  ServiceFrame(c.products);
  ShowPageThen([&] {
    EXPECT_EQ(ShownPage(), L"");  // the test pages are hidden: the service page is current
    EXPECT_EQ(TabLabels(), c.tabs);
    EXPECT_TRUE(Shown(IDC_HTTP_SUMMARY));
    EXPECT_EQ(Shown(IDC_SSL_SUMMARY), c.sslRow);
    EXPECT_EQ(Shown(IDC_SSL_CHANGE), c.sslRow);
    EXPECT_EQ(Shown(IDC_SERVICE_SUMMARY), c.serviceRow);
    EXPECT_FALSE(ButtonEnabled(IDC_BACK));
  });
}

INSTANTIATE_TEST_SUITE_P(Products, ServicePageTabsTest, ::testing::ValuesIn(kTabsCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(ServicePageTest, WithoutASelectedComponentThePagePassesOn) {
  ServiceFrame({{kBrammel.productId, kBrammel.name, false}});
  ShowPageThen([&] { EXPECT_EQ(ShownPage(), L"Install"); });
}

TEST_F(ServicePageTest, TheClientInterfaceTabHasNoServiceRow) {
  ServiceFrame({kPellomar});
  ShowPageThen([&] {
    Gui().ChooseTab(PageControl(IDC_SERVICE_TABS), 1);
    EXPECT_TRUE(Shown(IDC_SSL_SUMMARY));
    EXPECT_FALSE(Shown(IDC_SERVICE_SUMMARY));
    EXPECT_FALSE(Shown(IDC_SERVICE_CHANGE));
    EXPECT_EQ(Summary(IDC_HTTP_SUMMARY), (std::vector<TextRun>{{L"port number: ", false}, {L"8083", false}}));
  });
}

// What a change in a dialog does to the summaries: only what differs from the initial value
// is bold, the whole summary when a switch changed.
struct BoldCase;
class ServicePageBoldTest : public ServicePageTest, public ::testing::WithParamInterface<BoldCase> {
 public:
  void Port(int button, const std::wstring& port) { SetPort(button, port); }
  void Dialog(int button, std::function<void(platform::WindowHandle)> inDialog, int closeWith = platform::kIdOk) {
    InDialog(button, std::move(inDialog), closeWith);
  }
  platform::host::HostGui& HostGui() { return Gui(); }
};

struct BoldCase {
  const char* name;
  std::function<void(ServicePageBoldTest&)> change;
  int summary;
  std::vector<TextRun> runs;
};
void PrintTo(const BoldCase& c, std::ostream* out) { *out << c.name; }

const BoldCase kBoldCases[] = {
    {"UnchangedIsPlain", [](ServicePageBoldTest&) {}, IDC_HTTP_SUMMARY, {{L"port number: ", false}, {L"4646", false}}},
    {"ChangedPortIsBold", [](ServicePageBoldTest& t) { t.Port(IDC_HTTP_CHANGE, L"9000"); },
     IDC_HTTP_SUMMARY, {{L"port number: ", false}, {L"9000", true}}},
    {"PortChangedBackIsPlain",
     [](ServicePageBoldTest& t) {
       t.Port(IDC_HTTP_CHANGE, L"9000");
       t.Port(IDC_HTTP_CHANGE, L"4646");
     },
     IDC_HTTP_SUMMARY, {{L"port number: ", false}, {L"4646", false}}},
    {"NonNumericPortKeepsItsLeadingNumber",
     [](ServicePageBoldTest& t) { t.Port(IDC_HTTP_CHANGE, L"81xy"); }, IDC_HTTP_SUMMARY,
     {{L"port number: ", false}, {L"81", true}}},
    {"SwitchedOnIsBoldThroughout",
     [](ServicePageBoldTest& test) {
       test.Dialog(IDC_SSL_CHANGE, [&test](platform::WindowHandle dialog) {
         test.HostGui().Click(test.HostGui().DialogItem(dialog, IDC_CONNECTION_ENABLED));
       });
     },
     IDC_SSL_SUMMARY, {{L"port number: ", true}, {L"4647", true}}},
    {"CancelledDialogChangesNothing",
     [](ServicePageBoldTest& test) {
       test.Dialog(
           IDC_HTTP_CHANGE,
           [&test](platform::WindowHandle dialog) {
             test.HostGui().SetText(test.HostGui().DialogItem(dialog, IDC_CONNECTION_PORT), L"9000");
           },
           platform::kIdCancel);
     },
     IDC_HTTP_SUMMARY, {{L"port number: ", false}, {L"4646", false}}},
    {"ChangedStartTypeIsBoldAlone",
     [](ServicePageBoldTest& test) {
       test.Dialog(IDC_SERVICE_CHANGE, [&test](platform::WindowHandle dialog) {
         test.HostGui().ChooseComboItem(test.HostGui().DialogItem(dialog, IDC_START_TYPE), L"Disabled");
       });
     },
     IDC_SERVICE_SUMMARY,
     {{L"Start type: ", false}, {L"Disabled", true}, {L", Logon account: ", false}, {L"Local System", false}}},
    {"OtherUserIsBoldAndQuoted",
     [](ServicePageBoldTest& test) {
       test.Dialog(IDC_SERVICE_CHANGE, [&test](platform::WindowHandle dialog) {
         test.HostGui().Click(test.HostGui().DialogItem(dialog, IDC_ACCOUNT_OTHER_USER));
         test.HostGui().SetText(test.HostGui().DialogItem(dialog, IDC_USER_NAME), L"HOST\\runner");
       });
     },
     IDC_SERVICE_SUMMARY,
     {{L"Start type: ", false}, {L"Automatic", false}, {L", Logon account: ", false}, {L"\"HOST\\runner\"", true}}},
};

TEST_P(ServicePageBoldTest, MarksWhatChanged) {
  const BoldCase& c = GetParam();
  ServiceFrame({kBrammel});
  Press(kNext);
  While([&] { c.change(*this); });
  While([&] { EXPECT_EQ(Summary(c.summary), c.runs); });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

INSTANTIATE_TEST_SUITE_P(Changes, ServicePageBoldTest, ::testing::ValuesIn(kBoldCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(ServicePageTest, ACommandLinePortIsTheInitialValueAndReachesThePropertiesOnce) {
  Start({L"/L*v", kLogPath, L"BR_WebServer_Port=9000"});
  ServiceFrame({kBrammel});
  Press(kNext);
  While([&] { EXPECT_EQ(Summary(IDC_HTTP_SUMMARY), (std::vector<TextRun>{{L"port number: ", false}, {L"9000", false}})); });
  Press(kNext);
  While([&] { EXPECT_EQ(ShownPage(), L"Install"); });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
  EXPECT_TRUE(frame_->serviceProperties.starts_with(L"BR_WebServer_Port=9000 ")) << frame_->serviceProperties;
  EXPECT_TRUE(commandLine_.Properties().empty());
}

TEST_F(ServicePageTest, NextHandsTheChangedSettingsToTheFrame) {
  ServiceFrame({kBrammel});
  Press(kNext);
  While([&] {
    SetPort(IDC_HTTP_CHANGE, L"9001");
    Gui().ChooseTab(PageControl(IDC_SERVICE_TABS), 1);
    SetPort(IDC_HTTP_CHANGE, L"9002");
  });
  Press(kNext);
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
  const std::wstring& properties = frame_->serviceProperties;
  EXPECT_NE(properties.find(L"BR_WebServer_Port=9001 "), std::wstring::npos) << properties;
  EXPECT_NE(properties.find(L"BRWeb_WebServer_Port=9002 "), std::wstring::npos) << properties;
  EXPECT_NE(properties.find(L"BR_Service_StartType=\"auto\" "), std::wstring::npos) << properties;
}

TEST_F(ServicePageTest, TheWebFrontEndsCertificateIsTheWorkflowServers) {
  ServiceFrame({kBrammel});
  Gui().chosenFiles.push_back(L"C:\\certs\\server.pem");
  Press(kNext);
  While([&] {
    Gui().ChooseTab(PageControl(IDC_SERVICE_TABS), 1);
    InDialog(IDC_SSL_CHANGE, [&](platform::WindowHandle dialog) {
      EXPECT_TRUE(Gui().IsShown(Gui().DialogItem(dialog, IDC_CERTIFICATE_PATH)));
      Gui().Click(Gui().DialogItem(dialog, IDC_CERTIFICATE_BROWSE));
      EXPECT_EQ(Gui().Text(Gui().DialogItem(dialog, IDC_CERTIFICATE_PATH)), L"C:\\certs\\server.pem");
    });
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
  const auto& entries = page_->Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].certificate.path, L"C:\\certs\\server.pem");
  EXPECT_TRUE(entries[0].certificate.given);
  EXPECT_FALSE(entries[1].certificate.given);
  EXPECT_FALSE(entries[0].privateKey.given);
}

// The web server dialog per component and mode: the switch, and the certificate rows for SSL.
struct ConnectionCase {
  const char* name;
  Product product;
  int button;
  bool switchShown;
  bool certificatesShown;
  const wchar_t* port;
};
void PrintTo(const ConnectionCase& c, std::ostream* out) { *out << c.name; }

class ServicePageConnectionTest : public ServicePageTest, public ::testing::WithParamInterface<ConnectionCase> {};

TEST_P(ServicePageConnectionTest, ShowsWhatTheWebServerOffers) {
  const ConnectionCase& c = GetParam();
  ServiceFrame({c.product});
  Press(kNext);
  While([&] {
    InDialog(c.button, [&](platform::WindowHandle dialog) {
      const auto shown = [&](int id) { return Gui().IsShown(Gui().DialogItem(dialog, id)); };
      EXPECT_EQ(shown(IDC_CONNECTION_ENABLED), c.switchShown);
      EXPECT_EQ(shown(IDC_CERTIFICATE_PATH), c.certificatesShown);
      EXPECT_EQ(shown(IDC_CHAIN_BROWSE), c.certificatesShown);
      EXPECT_EQ(Gui().Text(Gui().DialogItem(dialog, IDC_CONNECTION_PORT)), c.port);
    }, platform::kIdCancel);
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, ServicePageConnectionTest,
    ::testing::Values(ConnectionCase{"WorkflowServerUnencrypted", kBrammel, IDC_HTTP_CHANGE, true, false, L"4646"},
                      ConnectionCase{"WorkflowServerSsl", kBrammel, IDC_SSL_CHANGE, true, true, L"4647"},
                      ConnectionCase{"ComparisonServerCannotSwitchOff", kSorvik, IDC_HTTP_CHANGE, false, false, L"29800"}),
    [](const auto& info) { return info.param.name; });

// The service dialog per tab: the workflow server may run only as Local System or another
// user; the user name and password are for another user only.
struct AccountsCase {
  const char* name;
  int tab;
  bool builtInServicesEnabled;
};
void PrintTo(const AccountsCase& c, std::ostream* out) { *out << c.name; }

class ServicePageAccountsTest : public ServicePageTest, public ::testing::WithParamInterface<AccountsCase> {};

TEST_P(ServicePageAccountsTest, OffersTheAccountsTheComponentMayUse) {
  const AccountsCase& c = GetParam();
  ServiceFrame({kBrammel});
  Press(kNext);
  While([&] {
    Gui().ChooseTab(PageControl(IDC_SERVICE_TABS), c.tab);
    InDialog(IDC_SERVICE_CHANGE, [&](platform::WindowHandle dialog) {
      const auto enabled = [&](int id) { return Gui().IsEnabled(Gui().DialogItem(dialog, id)); };
      EXPECT_TRUE(enabled(IDC_ACCOUNT_LOCAL_SYSTEM));
      EXPECT_EQ(enabled(IDC_ACCOUNT_LOCAL_SERVICE), c.builtInServicesEnabled);
      EXPECT_EQ(enabled(IDC_ACCOUNT_NETWORK_SERVICE), c.builtInServicesEnabled);
      EXPECT_TRUE(Gui().IsChecked(Gui().DialogItem(dialog, IDC_ACCOUNT_LOCAL_SYSTEM)));
      EXPECT_FALSE(enabled(IDC_USER_NAME));
      Gui().Click(Gui().DialogItem(dialog, IDC_ACCOUNT_OTHER_USER));
      EXPECT_TRUE(enabled(IDC_USER_NAME));
      EXPECT_TRUE(enabled(IDC_PASSWORD));
      EXPECT_EQ(Gui().Window(Gui().DialogItem(dialog, IDC_USER_NAME)).toolTip, L"Format: <machine_name>\\<user name>");
    });
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

INSTANTIATE_TEST_SUITE_P(Tabs, ServicePageAccountsTest,
                         ::testing::Values(AccountsCase{"WorkflowServerIsRestricted", 0, false},
                                           AccountsCase{"WebFrontEndIsNot", 1, true}),
                         [](const auto& info) { return info.param.name; });

// Another user's account without a password: the password dialog asks for it unless the run
// is quiet, where no dialog may open.
struct PasswordCase {
  const char* name;
  std::vector<std::wstring> arguments;
  std::optional<std::wstring> entered;  // none: the dialog is cancelled
  bool dialogOpens;
  bool handedOn;
};
void PrintTo(const PasswordCase& c, std::ostream* out) { *out << c.name; }

class ServicePagePasswordTest : public ServicePageTest, public ::testing::WithParamInterface<PasswordCase> {};

const PasswordCase kPasswordCases[] = {
    {"AttendedAsksAndEncrypts", {}, L"s3cret!", true, true},
    {"AttendedCancelKeepsThePage", {}, std::nullopt, true, false},
    {"QuietNeverOpensTheDialog", {L"/qn"}, L"s3cret!", false, false},
    {"BasicQuietNeverOpensTheDialog", {L"/qb"}, L"s3cret!", false, false},
};

TEST_P(ServicePagePasswordTest, AsksForAMissingPassword) {
  const PasswordCase& c = GetParam();
  std::vector<std::wstring> arguments{L"/L*v", kLogPath, L"BR_Service_Username=HOST\\runner"};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  Start(arguments);
  ServiceFrame({kBrammel});
  int passwordDialogs = 0;
  // Whatever dialog waits for the user: the password dialog is answered, the frame is left.
  const std::function<void()> answer = [&] {
    const platform::WindowHandle dialog = Gui().ActiveDialog();
    if (const platform::WindowHandle edit = Gui().DialogItem(dialog, IDC_PASSWORD_EDIT)) {
      ++passwordDialogs;
      EXPECT_EQ(Gui().Text(Gui().DialogItem(dialog, IDC_PASSWORD_ACCOUNT)), L"HOST\\runner");
      if (c.entered) Gui().SetText(edit, *c.entered);
      Gui().Click(Gui().DialogItem(dialog, c.entered ? platform::kIdOk : platform::kIdCancel));
    }
  };
  Press(kNext);
  Press(kNext);
  While(answer);
  std::wstring shownAfter = L"none";
  While([&] { shownAfter = ShownPage(); });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
  EXPECT_EQ(passwordDialogs, c.dialogOpens ? 1 : 0);
  const std::wstring& properties = frame_->serviceProperties;
  EXPECT_EQ(properties.find(L"s3cret!"), std::wstring::npos);
  EXPECT_EQ(properties.find(L"BR_Service_Password=") != std::wstring::npos, c.handedOn) << properties;
  if (c.handedOn) {
    EXPECT_NE(properties.find(L"BR_Service_Password=\"" + encryption_.EncryptPropertyValue(L"s3cret!") + L"\""),
              std::wstring::npos)
        << properties;
  } else if (c.dialogOpens) {
    // The page stays, with its values.
    EXPECT_EQ(shownAfter, L"");
    EXPECT_EQ(page_->Entries()[0].userName, L"HOST\\runner");
  } else {
    EXPECT_NE(result_.kind, kResultSuccess);
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, ServicePagePasswordTest, ::testing::ValuesIn(kPasswordCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace setup::testing
