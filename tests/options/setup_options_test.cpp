#include "options/setup_options.h"

#include <gtest/gtest.h>

#include <map>

#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "options/desktop_shortcut_option.h"
#include "packages/custom_install_folder.h"
#include "packages/product_key_paths.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

using platform::RegistryRoot;
using platform::kRegistryView64;

constexpr std::wstring_view kDesktop = L"C:\\Users\\Public\\Desktop";

class SetupOptionsTest : public ::testing::Test {
 protected:
  ProductRecord Installation(std::wstring_view id, std::wstring_view version, bool is64Bit = false) {
    return ProductRecord(id, version, is64Bit, L"1033", false);
  }

  // The installation's key says it lives in `folder` (servers one level below it).
  void RecordInstalledFolder(const ProductRecord& installed, std::wstring_view folder) {
    const std::wstring application =
        std::wstring(folder) + (installed.IsServerProduct() ? L"\\bin\\server.exe" : L"\\app.exe");
    host_.Registry().SetString(RegistryRoot::LocalMachine, ProductSetupKeyPath(installed), L"ApplicationPath",
                               application, installed.Is64Bit() ? kRegistryView64 : 0);
  }

  // The installation lives in `folder`, which exists on disk.
  void InstalledIn(const ProductRecord& installed, std::wstring_view folder) {
    RecordInstalledFolder(installed, folder);
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(folder)) << ToUtf8(folder);
  }

  void PutShortcutOnDesktop(std::wstring_view fileName) {
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(kDesktop));
    ASSERT_TRUE(host_.Files().WriteFile(std::wstring(kDesktop) + L"\\" + std::wstring(fileName), "link"));
  }

  void SetValue(RegistryRoot root, std::wstring_view path, std::wstring_view name, std::uint32_t type,
                std::string bytes, std::uint32_t view = 0) {
    host_.Registry().Open(root, path, platform::RegistryAccess::All, true, view)->SetValue(name, {type, std::move(bytes)});
  }

  std::wstring TextFor(const ProductRecord& installed) {
    options_.Bind(std::vector{installed});
    return options_.PropertyText(std::vector{installed}, std::vector{installed});
  }

  // The value one bound option of a single installation gives, by its property name.
  std::optional<std::wstring> BoundValue(const ProductRecord& installed, std::wstring_view propertyName) {
    options_.Bind(std::vector{installed});
    for (const auto& option : options_.BoundOptions()) {
      if (option->PropertyName(installed) == propertyName) return option->Value();
    }
    ADD_FAILURE() << "no option " << ToUtf8(propertyName) << " bound";
    return std::nullopt;
  }

  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
  SetupOptions options_{host_, true};
};

// Property texts, byte for byte and in registration order.

TEST_F(SetupOptionsTest, SixtyFourBitXmlEditorUpgradeWritesEveryOptionInOrder) {
  const ProductRecord installed = Installation(L"QB::P", L"2023.00.01.00", true);
  SetValue(RegistryRoot::LocalMachine, L"SOFTWARE\\Tarquel\\Quib Rix\\Installation_v2023_x64",
           L"CorbielTrustedLocations", platform::kRegDword, std::string(4, '\0'), kRegistryView64);
  host_.Registry().SetString(RegistryRoot::CurrentUser, L"Software\\Microsoft\\Internet Explorer\\MenuExt\\Open in Editor",
                             L"", L"C:\\Program Files\\Tarquel\\Quibrix2023\\quibrix.htm");
  host_.Registry().SetString(RegistryRoot::CurrentUser, L"SOFTWARE\\Tarquel\\Quib Rix\\FileExt\\.htm", L"FileType2", L"XML");
  host_.Registry().SetString(RegistryRoot::CurrentUser, L"SOFTWARE\\Tarquel\\Quib Rix\\FileExt\\.html", L"FileType2", L"");
  InstalledIn(installed, L"D:\\Tools\\Quibrix");

  EXPECT_EQ(TextFor(installed),
            L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"\" CREATE_DESKTOP_SHORTCUT=\"\" QUIBRIXINSTALLDIR=\"D:\\Tools\\Quibrix\" "
            L"ADDIESUPPORT=\"Yes\" HTMLISXHTML=\"XML\" ");

  PutShortcutOnDesktop(L"Tarquel Quibrix 2023 (x64).lnk");
  EXPECT_EQ(TextFor(installed),
            L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"\" CREATE_DESKTOP_SHORTCUT=\"Yes\" QUIBRIXINSTALLDIR=\"D:\\Tools\\Quibrix\" "
            L"ADDIESUPPORT=\"Yes\" HTMLISXHTML=\"XML\" ");
}

TEST_F(SetupOptionsTest, InstallationInItsDefaultFolderGetsNoFolderProperty) {
  const ProductRecord installed = Installation(L"QB::S", L"2024", true);
  InstalledIn(installed, L"c:\\program files\\TARQUEL\\Quibrix2024\\");  // the default, spelt differently
  EXPECT_EQ(TextFor(installed), L"CREATE_DESKTOP_SHORTCUT=\"\" ADDIESUPPORT=\"\" ");
}

TEST_F(SetupOptionsTest, SchemaServerWithoutItsServiceRunsStandAlone) {
  EXPECT_EQ(TextFor(Installation(L"MB::S", L"2023")),
            L"SERVEROPTIONSVISTA=\"StandAlone\" STARTSERVICE=\"\" CREATE_DESKTOP_SHORTCUT=\"\" ");
}

TEST_F(SetupOptionsTest, OneShortcutMakesEveryBoundShortcutOptionWriteYes) {
  const std::vector installations{Installation(L"TR::E", L"2023"), Installation(L"MB::Z", L"2023")};
  PutShortcutOnDesktop(L"Tarquel Mebrant 2023.lnk");
  options_.Bind(installations);
  EXPECT_EQ(options_.PropertyText(installations, installations),
            L"CREATE_DESKTOP_SHORTCUT=\"Yes\" MEBRANTSERVER=\"\" CREATE_DESKTOP_SHORTCUT=\"Yes\" ");
}

TEST_F(SetupOptionsTest, ServerInACustomFolderWritesInstallDir) {
  const ProductRecord installed = Installation(L"BS::Z", L"2024");
  InstalledIn(installed, L"E:\\Servers");  // the application is E:\Servers\bin\server.exe
  EXPECT_EQ(TextFor(installed), L"INSTALLDIR=\"E:\\Servers\" ");
}

TEST_F(SetupOptionsTest, ProductsWithoutOptionsGetNoProperties) {
  const ProductRecord installed = Installation(L"VN::Z", L"2023");
  InstalledIn(installed, L"D:\\Vinnore");
  EXPECT_EQ(TextFor(installed), L"");
  EXPECT_TRUE(options_.BoundOptions().empty());
}

TEST_F(SetupOptionsTest, PackageGetsOnlyThePropertiesOfProductsItCarries) {
  const std::vector installations{Installation(L"MB::Z", L"2023"), Installation(L"TR::P", L"2023")};
  options_.Bind(installations);
  EXPECT_EQ(options_.PropertyText(std::vector{Installation(L"TR::P", L"2024")}, installations),
            L"CREATE_DESKTOP_SHORTCUT=\"\" ");
  // The quick-install list decides which installations count, and in which order.
  EXPECT_EQ(options_.PropertyText(installations, std::vector{installations[1], installations[0]}),
            L"CREATE_DESKTOP_SHORTCUT=\"\" MEBRANTSERVER=\"\" CREATE_DESKTOP_SHORTCUT=\"\" ");
  EXPECT_EQ(options_.PropertyText(installations, {}), L"");
}

TEST_F(SetupOptionsTest, QuotationMarksInAValueAreDoubled) {
  host_.Registry().SetDword(RegistryRoot::CurrentUser, L"Software\\Tarquel\\Mebrant\\Settings", L"DefaultServerType", 1);
  host_.Registry().SetString(RegistryRoot::CurrentUser, L"Software\\Tarquel\\Mebrant\\Settings", L"DefaultServer",
                             L"srv\" REMOVE=ALL \"");
  EXPECT_EQ(BoundValue(Installation(L"MB::Z", L"2023"), L"MEBRANTSERVER"), L"srv\" REMOVE=ALL \"");
  EXPECT_EQ(options_.PropertyText(std::vector{Installation(L"MB::Z", L"2023")}, std::vector{Installation(L"MB::Z", L"2023")}),
            L"MEBRANTSERVER=\"srv\"\" REMOVE=ALL \"\"\" CREATE_DESKTOP_SHORTCUT=\"\" ");
}

// Registration and binding.

TEST_F(SetupOptionsTest, PrototypesAreRegisteredOnceInTableOrderAndCloneUnbound) {
  const auto& prototypes = options_.Prototypes();
  const ProductRecord anyProduct = Installation(L"QB::P", L"2023");
  std::vector<std::wstring> names;
  for (const auto& prototype : prototypes) names.push_back(prototype->PropertyName(anyProduct));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"ADDEXAMPLESTOTRUSTEDLOCATIONS", L"MEBRANTSERVER", L"MebrantServerOptions",
                                              L"CREATE_DESKTOP_SHORTCUT", L"QUIBRIXINSTALLDIR", L"ADDIESUPPORT",
                                              L"HTMLISXHTML"}));
  EXPECT_EQ(&options_.Prototypes(), &prototypes);
  EXPECT_EQ(options_.Prototypes().size(), 7u);
  for (const auto& prototype : prototypes) {
    const auto clone = prototype->Clone();
    EXPECT_EQ(typeid(*clone), typeid(*prototype));
    EXPECT_FALSE(clone->BoundInstallation());
    EXPECT_EQ(clone->Value(), prototype->Value());  // defaults: "#1", "", none, "", none, "Yes", none
  }
  EXPECT_EQ(prototypes[0]->Value(), L"#1");
  EXPECT_EQ(prototypes[5]->Value(), L"Yes");
  EXPECT_TRUE(prototypes[2]->IsGroup());
}

TEST_F(SetupOptionsTest, BindingReplacesTheBoundListInInstallationThenRegistrationOrder) {
  const ProductRecord editor = Installation(L"QB::E", L"2023");
  const ProductRecord client = Installation(L"MB::Z", L"2023");
  options_.Bind(std::vector{editor, client});
  std::vector<std::wstring> bound;
  for (const auto& option : options_.BoundOptions()) {
    bound.push_back(option->BoundInstallation()->ProductId() + L" " + option->PropertyName(*option->BoundInstallation()));
  }
  EXPECT_EQ(bound, (std::vector<std::wstring>{L"QB::E ADDEXAMPLESTOTRUSTEDLOCATIONS", L"QB::E CREATE_DESKTOP_SHORTCUT",
                                              L"QB::E QUIBRIXINSTALLDIR", L"QB::E ADDIESUPPORT", L"QB::E HTMLISXHTML",
                                              L"MB::Z MEBRANTSERVER", L"MB::Z CREATE_DESKTOP_SHORTCUT",
                                              L"MB::Z MEBRANTINSTALLDIR"}));
  options_.Bind(std::vector{client});
  EXPECT_EQ(options_.BoundOptions().size(), 3u);
  options_.Bind({});
  EXPECT_TRUE(options_.BoundOptions().empty());
}

TEST_F(SetupOptionsTest, InstallFolderPropertyNameFollowsTheProduct) {
  const auto& location = *options_.Prototypes()[4];
  const std::map<std::wstring, std::wstring> expected{
      {L"QB::P", L"QUIBRIXINSTALLDIR"}, {L"MB::Z", L"MEBRANTINSTALLDIR"}, {L"TR::S", L"TRANDELINSTALLDIR"},
      {L"HD::E", L"HADRELINSTALLDIR"},  {L"CB::E", L"CORBIELINSTALLDIR"}, {L"MB::S", L"INSTALLDIR"},
      {L"PD::Z", L"INSTALLDIR"},        {L"BS::A", L"INSTALLDIR"},        {L"PS::Z", L"INSTALLDIR"},
      {L"YS::L", L"INSTALLDIR"},        {L"WK::N", L"INSTALLDIR"}};
  for (const auto& [id, name] : expected) {
    EXPECT_EQ(location.PropertyName(Installation(id, L"2023")), name) << ToUtf8(id);
  }
}

// Load rules, one option at a time.

TEST_F(SetupOptionsTest, TrustedLocationsReadTheInstallationKeyInTheInstallationsView) {
  const ProductRecord x64 = Installation(L"CB::E", L"2024", true);
  const std::wstring key64 = L"SOFTWARE\\Tarquel\\Corbiel\\Installation_v2024_x64";
  EXPECT_EQ(BoundValue(x64, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"), L"#1");  // no key: the default stays
  host_.Registry().SetString(RegistryRoot::LocalMachine, key64 + L"\\Setup", L"Version", L"2024", kRegistryView64);
  EXPECT_EQ(BoundValue(x64, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"), L"");  // key without the value reads 0
  host_.Registry().SetDword(RegistryRoot::LocalMachine, key64, L"CorbielTrustedLocations", 7, kRegistryView64);
  EXPECT_EQ(BoundValue(x64, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"), L"#1");
  SetValue(RegistryRoot::LocalMachine, key64, L"CorbielTrustedLocations", platform::kRegSz, std::string("1\0\0\0", 4), kRegistryView64);
  EXPECT_EQ(BoundValue(x64, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"), L"");  // not a number: 0

  // The 32-bit installation's key lives in the 32-bit view only.
  const ProductRecord x86 = Installation(L"QB::E", L"2024");
  host_.Registry().SetDword(RegistryRoot::LocalMachine, L"SOFTWARE\\Tarquel\\Quib Rix\\Installation_v2024",
                            L"CorbielTrustedLocations", 0, kRegistryView64);
  EXPECT_EQ(BoundValue(x86, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"), L"#1");
  host_.Registry().SetDword(RegistryRoot::LocalMachine, L"SOFTWARE\\Tarquel\\Quib Rix\\Installation_v2024",
                            L"CorbielTrustedLocations", 0, platform::kRegistryView32);
  EXPECT_EQ(BoundValue(x86, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"), L"");
}

TEST_F(SetupOptionsTest, SchemaClientServerNameNeedsANonZeroServerType) {
  const ProductRecord client = Installation(L"MB::Z", L"2023");
  const std::wstring settings = L"Software\\Tarquel\\Mebrant\\Settings";
  EXPECT_EQ(BoundValue(client, L"MEBRANTSERVER"), L"");  // no key
  host_.Registry().SetString(RegistryRoot::CurrentUser, settings, L"DefaultServer", L"schemas.example");
  EXPECT_EQ(BoundValue(client, L"MEBRANTSERVER"), L"");  // no server type
  host_.Registry().SetDword(RegistryRoot::CurrentUser, settings, L"DefaultServerType", 0);
  EXPECT_EQ(BoundValue(client, L"MEBRANTSERVER"), L"");
  SetValue(RegistryRoot::CurrentUser, settings, L"DefaultServerType", platform::kRegSz, std::string("2\0\0\0", 4));
  EXPECT_EQ(BoundValue(client, L"MEBRANTSERVER"), L"");  // not a number: 0
  host_.Registry().SetDword(RegistryRoot::CurrentUser, settings, L"DefaultServerType", 2);
  EXPECT_EQ(BoundValue(client, L"MEBRANTSERVER"), L"schemas.example");
  SetValue(RegistryRoot::CurrentUser, settings, L"DefaultServer", platform::kRegDword, std::string(4, '\1'));
  EXPECT_EQ(BoundValue(client, L"MEBRANTSERVER"), L"");  // not a string: empty
}

TEST_F(SetupOptionsTest, SchemaServerStartsItsServiceWhenItWasRunning) {
  const ProductRecord server = Installation(L"MB::S", L"2023");
  const auto serviceOptions = [&]() {
    options_.Bind(std::vector{server});
    const auto& group = dynamic_cast<const SetupOptionGroupBase&>(*options_.BoundOptions().front());
    EXPECT_EQ(group.SubPropertyNames(), (std::vector<std::wstring>{L"SERVEROPTIONSVISTA", L"STARTSERVICE"}));
    EXPECT_EQ(group.SubValue(L"ServerOptionsVista"), group.SubValue(L"SERVEROPTIONSVISTA"));
    EXPECT_EQ(group.SubValue(L"OTHER"), std::nullopt);
    EXPECT_EQ(group.Value(), std::nullopt);
    return *group.SubValue(L"SERVEROPTIONSVISTA") + L"|" + *group.SubValue(L"startservice");
  };
  const auto install = [&](std::optional<std::uint32_t> state, bool delayed = false) {
    host_.Services().Install(L"mebrantservice", {platform::ServiceConfiguration{platform::kServiceAutoStart,
                                                                                L"Mebrant Service", L"", L"LocalSystem"},
                                                 delayed, L"", state});
  };
  EXPECT_EQ(serviceOptions(), L"StandAlone|");
  install(platform::kServiceRunning);
  EXPECT_EQ(serviceOptions(), L"|true");
  install(platform::kServiceStartPending);
  EXPECT_EQ(serviceOptions(), L"|true");
  install(platform::kServiceStopped, true);  // a delayed start that has not happened yet
  EXPECT_EQ(serviceOptions(), L"|");
  install(platform::kServicePaused);
  EXPECT_EQ(serviceOptions(), L"|");
  install(std::nullopt);  // the status cannot be read: the service exists but is not known to run
  EXPECT_EQ(serviceOptions(), L"|");
  host_.Services().Remove(L"MebrantService");
  EXPECT_EQ(serviceOptions(), L"StandAlone|");
}

TEST_F(SetupOptionsTest, ShortcutNamesFollowTheProduct) {
  EXPECT_EQ(DesktopShortcutFileName(Installation(L"QB::P", L"2023.00.01")), L"Tarquel Quibrix 2023.lnk");
  EXPECT_EQ(DesktopShortcutFileName(Installation(L"MB::S", L"2022", true)), L"Tarquel Mebrant 2022 (x64).lnk");
  EXPECT_EQ(DesktopShortcutFileName(Installation(L"CB::E", L"2024")), L"Tarquel Corbiel 2024.lnk");
  EXPECT_EQ(DesktopShortcutFileName(Installation(L"PD::Z", L"8.2.1.0", true)),
            L"Tarquel Pellomar Designer 8.2 (x64).lnk");
}

TEST_F(SetupOptionsTest, ShortcutIsLookedForOnTheCommonDesktopAndNeverForgotten) {
  const ProductRecord designer = Installation(L"PD::Z", L"8.2");
  EXPECT_EQ(BoundValue(designer, L"CREATE_DESKTOP_SHORTCUT"), L"");
  PutShortcutOnDesktop(L"Tarquel Pellomar Designer 8.1.lnk");  // another release
  EXPECT_EQ(BoundValue(designer, L"CREATE_DESKTOP_SHORTCUT"), L"");
  PutShortcutOnDesktop(L"Tarquel Pellomar Designer 8.2.lnk");
  EXPECT_EQ(BoundValue(designer, L"CREATE_DESKTOP_SHORTCUT"), L"Yes");
  ASSERT_EQ(host_.Files().DeleteFile(std::wstring(kDesktop) + L"\\Tarquel Pellomar Designer 8.2.lnk"),
            platform::DeleteResult::Deleted);
  EXPECT_EQ(BoundValue(designer, L"CREATE_DESKTOP_SHORTCUT"), L"Yes");  // found once in this run
}

TEST_F(SetupOptionsTest, WithoutACommonDesktopTheShortcutValueStaysEmpty) {
  host_.Files().knownFolders.erase(platform::KnownFolder::CommonDesktop);
  PutShortcutOnDesktop(L"Tarquel Quibrix 2023.lnk");
  EXPECT_EQ(BoundValue(Installation(L"QB::P", L"2023"), L"CREATE_DESKTOP_SHORTCUT"), L"");
}

TEST_F(SetupOptionsTest, CustomFolderMustDifferFromTheDefaultAndExist) {
  const ProductRecord editor = Installation(L"TR::E", L"2023");  // default C:\Program Files (x86)\Tarquel\Trandel2023
  // The quick-install decision asks the same question of each found installation.
  const DetectionContext detection{host_, true};
  EXPECT_EQ(CustomInstallFolder(detection, editor), L"");  // no installed folder known
  RecordInstalledFolder(editor, L"D:\\Trandel");
  EXPECT_EQ(CustomInstallFolder(detection, editor), L"");  // not on disk
  InstalledIn(editor, L"D:\\Trandel");
  EXPECT_EQ(CustomInstallFolder(detection, editor), L"D:\\Trandel");
  EXPECT_EQ(BoundValue(editor, L"TRANDELINSTALLDIR"), L"D:\\Trandel");
  InstalledIn(editor, L"C:/Program Files (x86)/Tarquel/trandel2023");
  EXPECT_EQ(CustomInstallFolder(detection, editor), L"");
  EXPECT_EQ(BoundValue(editor, L"TRANDELINSTALLDIR"), std::nullopt);
}

TEST_F(SetupOptionsTest, BrowserSupportNeedsAMenuExtensionEndingInTheEditorsPage) {
  const ProductRecord editor = Installation(L"QB::E", L"2023");
  const std::wstring menu = L"Software\\Microsoft\\Internet Explorer\\MenuExt";
  EXPECT_EQ(BoundValue(editor, L"ADDIESUPPORT"), L"");  // no menu extensions
  host_.Registry().SetString(RegistryRoot::CurrentUser, menu + L"\\A", L"", L"C:\\Other\\QUIBRIX.HTM");
  SetValue(RegistryRoot::CurrentUser, menu + L"\\B", L"", platform::kRegBinary, ToUtf16LeBytes(L"x\\quibrix.htm"));
  host_.Registry().SetString(RegistryRoot::CurrentUser, menu + L"\\C", L"", L"C:\\quibrix.html");
  EXPECT_EQ(BoundValue(editor, L"ADDIESUPPORT"), L"");  // other case, not a string, other ending
  host_.Registry().SetString(RegistryRoot::CurrentUser, menu + L"\\D", L"", L"res://C:\\Q\\quibrix.htm");
  EXPECT_EQ(BoundValue(editor, L"ADDIESUPPORT"), L"Yes");
}

TEST_F(SetupOptionsTest, XhtmlNeedsBothFileTypeKeysAndAnExactXmlValue) {
  const ProductRecord editor = Installation(L"QB::P", L"2023");
  const std::wstring htm = L"SOFTWARE\\Tarquel\\Quib Rix\\FileExt\\.htm";
  const std::wstring html = htm + L"l";
  host_.Registry().SetString(RegistryRoot::CurrentUser, htm, L"FileType2", L"XML");
  EXPECT_EQ(BoundValue(editor, L"HTMLISXHTML"), std::nullopt);  // ".html" missing
  host_.Registry().SetString(RegistryRoot::CurrentUser, html, L"FileType2", L"HTML");
  EXPECT_EQ(BoundValue(editor, L"HTMLISXHTML"), L"XML");
  host_.Registry().SetString(RegistryRoot::CurrentUser, htm, L"FileType2", L"xml");
  EXPECT_EQ(BoundValue(editor, L"HTMLISXHTML"), std::nullopt);  // exact comparison
  host_.Registry().SetString(RegistryRoot::CurrentUser, html, L"FileType2", L"XML");
  EXPECT_EQ(BoundValue(editor, L"HTMLISXHTML"), L"XML");  // ".html" decides when ".htm" does not
  SetValue(RegistryRoot::CurrentUser, html, L"FileType2", platform::kRegDword, std::string(4, '\0'));
  EXPECT_EQ(BoundValue(editor, L"HTMLISXHTML"), std::nullopt);
}

}  // namespace
}  // namespace setup
