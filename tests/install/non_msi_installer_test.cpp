// The taxonomy installer over the host registry and files: its results, the Add/Remove Programs
// entry it writes for the current user, the rollback of the packages done before a failure, and
// a cancel between its steps.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/registry_key.h"
#include "install/taxonomy_installer.h"
#include "packages/non_msi_registration.h"
#include "packages/package_product_records.h"
#include "support/run_fixture.h"

namespace setup {
namespace {

constexpr wchar_t kUninstallList[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class RecordingProgress : public SetupReportAsyncProgressIF {
 public:
  void SetProgressRange(int) override {}
  void SetStatusText(const std::wstring& text) override {
    texts.push_back(text);
    if (onText) onText(static_cast<int>(texts.size()));
  }
  void SetProgressPos(int value) override { position = value; }
  void StepProgress(int delta) override { position += delta; }

  std::vector<std::wstring> texts;
  int position = 0;
  std::function<void(int)> onText;
};

enum class Operation { Install, Modify, Repair, Remove, Extract };

class NonMsiInstallerTest : public testing::RunTest {
 protected:
  static std::wstring ProductCode(int index) { return Format(L"{AAAAAAA%d-1111-2222-3333-444455556666}", index); }
  static std::wstring PackageCode(int index) { return Format(L"{BBBBBBB%d-1111-2222-3333-444455556666}", index); }
  static std::wstring Folder(int index) { return L"C:\\ProgramData\\Tarquel\\" + PackageCode(index); }

  NonMsiInstallerTest() {
    Host().Files().CreateDirectory(L"C:\\Setup");
    Host().Files().WriteFile(Host().System().modulePath, "launcher");
  }

  SetupPackage& AddPackage(bool is64Bit = true) {
    const int index = static_cast<int>(packages_.packages.size());
    SetupPackage package;
    package.main = index == 0;
    package.productName = Format(L"Taxonomy %d", index);
    package.productCode = ProductCode(index);
    package.packageCode = PackageCode(index);
    package.productId = L"TAX_XBRL::Z";
    package.products = BuildPackageProductRecords(L"TAX_XBRL::Z", L"2024.00.00.01", is64Bit).records;
    package.is64Bit = is64Bit;
    package.installerType = L"taxonomy";
    package.packageFolder = Folder(index);
    package.handle = true;
    for (const wchar_t* folder : {L"C:\\ProgramData", L"C:\\ProgramData\\Tarquel"}) Host().Files().CreateDirectory(folder);
    Host().Files().CreateDirectory(package.packageFolder);
    packages_.packages.reserve(8);
    packages_.packages.push_back(package);
    return packages_.packages.back();
  }

  bool Registered(const SetupPackage& package) {
    return IsNonMsiPackageRegistered(Host().Registry(), package.productCode, package.is64Bit);
  }
  void Register(const SetupPackage& package, const std::wstring& packageCode) {
    Host().Registry().SetString(platform::RegistryRoot::CurrentUser, NonMsiRegistrationKeyPath(package.productCode),
                                L"PackageGUID", packageCode, package.is64Bit ? platform::kRegistryView64 : 0);
  }
  std::wstring Value(const SetupPackage& package, const std::wstring& name) {
    ICBSRegistryKey key(Host().Registry());
    if (!key.Open(platform::RegistryRoot::CurrentUser, NonMsiRegistrationKeyPath(package.productCode), true, false,
                  package.is64Bit ? platform::kRegistryView64 : 0)) {
      return L"<no key>";
    }
    return name == L"NoRepair" ? std::to_wstring(key.ReadDword(name)) : key.ReadString(name);
  }

  SetupResult Do(Operation operation) {
    TaxonomyInstaller installer(Run());
    switch (operation) {
      case Operation::Install: return installer.Install(packages_, progress_);
      case Operation::Modify: return installer.Modify(packages_, progress_);
      case Operation::Repair: return installer.Repair(packages_, progress_);
      case Operation::Remove: return installer.Remove(packages_, progress_);
      case Operation::Extract: return installer.Extract(packages_, progress_);
    }
    return {};
  }

  RecordingProgress progress_;
};

void ExpectResult(const SetupResult& result, std::int32_t kind, bool reported) {
  EXPECT_EQ(result.kind, kind);
  EXPECT_EQ(result.installerCode, 0u);
  EXPECT_EQ(result.reported, reported);
}

TEST_F(NonMsiInstallerTest, EachOperationEndsWithItsResultAndLeavesThePackageRegisteredOrNot) {
  struct Case {
    const char* name;
    bool registeredBefore;
    Operation operation;
    std::int32_t kind;
    std::wstring firstText;  // "" when no step ran
    bool registeredAfter;
  };
  const Case cases[] = {
      {"install", false, Operation::Install, kResultSuccess, L"Install action 1", true},
      {"install over an installed package", true, Operation::Install, kResultAlreadyInstalled, L"", true},
      {"modify", true, Operation::Modify, kResultSuccess, L"Modify action 1", true},
      {"modify of a package not installed", false, Operation::Modify, kResultInstallFailed, L"", false},
      {"repair", true, Operation::Repair, kResultSuccess, L"", true},
      {"repair of a package not installed", false, Operation::Repair, kResultInstallFailed, L"", false},
      {"remove", true, Operation::Remove, kResultSuccess, L"Remove action 1", false},
      {"remove of a package not installed", false, Operation::Remove, kResultInstallFailed, L"", false},
      {"extract", false, Operation::Extract, kResultInstallFailed, L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    packages_.packages.clear();
    Host().Registry().keys.clear();
    progress_ = RecordingProgress();
    Host().System().sleptMs = 0;
    const SetupPackage& package = AddPackage();
    if (c.registeredBefore) Register(package, package.packageCode);

    ExpectResult(Do(c.operation), c.kind, c.kind == kResultSuccess);
    EXPECT_EQ(Registered(package), c.registeredAfter);
    if (c.firstText.empty()) {
      EXPECT_TRUE(progress_.texts.empty());
      continue;
    }
    ASSERT_EQ(progress_.texts.size(), 10u);
    EXPECT_EQ(progress_.texts.front(), c.firstText);
    EXPECT_EQ(progress_.texts.back(), c.firstText.substr(0, c.firstText.size() - 1) + L"10");
    EXPECT_EQ(progress_.position, 100);
    EXPECT_EQ(Host().System().sleptMs, 10000u);
  }
}

TEST_F(NonMsiInstallerTest, TheStepTextsFollowTheWizardLanguage) {
  Run();
  AddPackage();
  for (LanguageEntry& entry : languages_.Entries()) entry.available = true;
  ASSERT_TRUE(languages_.SelectByName(L"German"));
  ExpectResult(Do(Operation::Install), kResultSuccess, true);
  EXPECT_EQ(progress_.texts.front(), L"Installationsschritt 1");
}

TEST_F(NonMsiInstallerTest, TheEntryStartsTheLauncherCopyWithTheQuotedWorkloadCopy) {
  Start({L"/L*v", testing::kLogPath, L"workload=C:\\Work\\list.json"});
  Host().Files().CreateDirectory(L"C:\\Work");
  Host().Files().WriteFile(L"C:\\Work\\list.json", "{\"packages\": []}");
  const SetupPackage& package = AddPackage(false);
  ExpectResult(Do(Operation::Install), kResultSuccess, true);

  const std::wstring copy = Folder(0) + L"\\Setup.exe";
  const std::wstring workload = L" workload=\"" + Folder(0) + L"\\list.json\"";
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"DisplayName", package.products.front().DisplayName()},
      {L"DisplayVersion", L"2024.00.00.01"},
      {L"NoRepair", L"1"},
      {L"ModifyPath", copy + workload},
      {L"UninstallString", copy + L" /x" + workload},
      {L"Publisher", L"Tarquel"},
      {L"Contact", L"Customer Support Department"},
      {L"Comments", L"Please use the Support URL unless you have a telephone support contract"},
      {L"HelpLink", L"https://www.tarquel.com/support"},
      {L"URLUpdateInfo", L"https://www.tarquel.com/download"},
      {L"URLInfoAbout", L"https://www.tarquel.com"},
      {L"PackageGUID", PackageCode(0)},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(Value(package, name), value) << ToUtf8(name);
  EXPECT_FALSE(package.products.front().DisplayName().empty());
  // Under the packed product code, in the current user's list of the 32-bit view.
  EXPECT_TRUE(Host().Registry().KeyExists(platform::RegistryRoot::CurrentUser,
                                          std::wstring(kUninstallList) + L"0AAAAAAA111122223333444455556666"));
  EXPECT_EQ(Host().Files().ReadFile(copy), "launcher");
  EXPECT_EQ(Host().Files().ReadFile(Folder(0) + L"\\list.json"), "{\"packages\": []}");
  EXPECT_NE(LogText().find(L"TSL: Start installing...\r\nSuccessfully installed product Taxonomy 0.\r\n"),
            std::wstring::npos);
}

TEST_F(NonMsiInstallerTest, WithoutAJsonWorkloadTheCommandsEndWithTheSwitch) {
  for (const std::wstring workload : {L"", L"workload=C:\\Work\\list.txt"}) {
    SCOPED_TRACE(ToUtf8(workload));
    packages_.packages.clear();
    Host().Registry().keys.clear();
    std::vector<std::wstring> arguments{L"/L*v", testing::kLogPath};
    if (!workload.empty()) arguments.push_back(workload);
    Start(arguments);
    const SetupPackage& package = AddPackage();
    ExpectResult(Do(Operation::Install), kResultSuccess, true);
    EXPECT_EQ(Value(package, L"UninstallString"), Folder(0) + L"\\Setup.exe /x");
    EXPECT_EQ(Value(package, L"ModifyPath"), Folder(0) + L"\\Setup.exe");
  }
}

TEST_F(NonMsiInstallerTest, RegistrationFailuresEndTheInstallationAsFailed) {
  struct Case {
    const char* name;
    std::function<void(SetupPackage&)> arrange;
    std::int32_t kind;
    bool registered;
    std::wstring line;
  };
  const Case cases[] = {
      {"a product code that names no key",
       [](SetupPackage& package) { package.productCode = L"TAX"; }, kResultRegistrationKeyNotCreated, false, L""},
      {"the launcher cannot be copied",
       [this](SetupPackage&) { Host().System().modulePath = L"C:\\Gone\\Setup.exe"; }, kResultInstallFailed, true,
       L"Failed to register product Taxonomy 0 as installed product.\r\n"},
      {"the workload cannot be copied",
       [this](SetupPackage&) { Start({L"/L*v", testing::kLogPath, L"workload=C:\\Gone\\list.json"}); },
       kResultInstallFailed, true, L"Failed to register product Taxonomy 0 as installed product.\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    packages_.packages.clear();
    Host().Registry().keys.clear();
    Start();
    Host().System().modulePath = L"C:\\Setup\\Setup.exe";
    SetupPackage& package = AddPackage();
    c.arrange(package);
    const std::size_t before = LogSize();
    ExpectResult(Do(Operation::Install), c.kind, false);
    EXPECT_EQ(Registered(package), c.registered);
    if (!c.line.empty()) {
      EXPECT_NE(LogSince(before).find(c.line), std::wstring::npos) << ToUtf8(LogSince(before));
    }
  }
}

TEST_F(NonMsiInstallerTest, ACancelStopsAfterTheCurrentStepAndLeavesNoRegistration) {
  const SetupPackage& first = AddPackage();
  const SetupPackage& package = AddPackage();
  TaxonomyInstaller installer(Run());
  progress_.onText = [&](int step) {
    if (step == 14) installer.Cancel();
  };
  ExpectResult(installer.Install(packages_, progress_), kResultUserCancelled, false);
  EXPECT_FALSE(Registered(package));
  EXPECT_NE(LogText().find(L"Failed to install product Taxonomy 1.\r\n"), std::wstring::npos);
  // The package before is removed again, all ten steps of it: the cancel that ended the
  // installation does not stop its rollback.
  EXPECT_FALSE(Registered(first));
  EXPECT_EQ(progress_.texts.size(), 24u);
  EXPECT_NE(LogText().find(L"Successfully un-installed product Taxonomy 0.\r\n"), std::wstring::npos);
}

TEST_F(NonMsiInstallerTest, ProductNamesFromAWorkloadEnterTheLogEscaped) {
  Start();
  AddPackage().productName = L"Taxonomy\r\nTSL (c): forged";
  ExpectResult(Do(Operation::Install), kResultSuccess, true);
  EXPECT_NE(LogText().find(L"Successfully installed product Taxonomy\\r\\nTSL (c): forged.\r\n"), std::wstring::npos);
  EXPECT_EQ(LogText().find(L"\r\nTSL (c): forged"), std::wstring::npos);
}

TEST_F(NonMsiInstallerTest, AFailedInstallationRemovesThePackagesInstalledBeforeIt) {
  const SetupPackage& first = AddPackage();
  SetupPackage& skipped = AddPackage();
  skipped.handle = false;
  const SetupPackage& failing = AddPackage();
  Register(failing, PackageCode(2));

  ExpectResult(Do(Operation::Install), kResultAlreadyInstalled, false);
  EXPECT_FALSE(Registered(first));
  EXPECT_FALSE(Registered(skipped));
  EXPECT_TRUE(Registered(failing));
  const std::wstring log = LogText();
  EXPECT_NE(log.find(L"Successfully installed product Taxonomy 0.\r\n"
                     L"TSL (c): Rolling back installation of product Taxonomy 0\r\n"
                     L"Successfully un-installed product Taxonomy 0.\r\n"),
            std::wstring::npos)
      << ToUtf8(log);
  EXPECT_EQ(log.find(L"Taxonomy 1"), std::wstring::npos);
  // The remove switch is on only while the rollback runs.
  EXPECT_FALSE(commandLine_.IsUninstall());
}

TEST_F(NonMsiInstallerTest, AFailedRemovalInstallsThePackagesRemovedBeforeItAgain) {
  Start({L"/x", L"/L*v", testing::kLogPath});
  const SetupPackage& first = AddPackage();
  const SetupPackage& failing = AddPackage();
  Register(first, PackageCode(0));

  ExpectResult(Do(Operation::Remove), kResultInstallFailed, false);
  EXPECT_TRUE(Registered(first));
  EXPECT_EQ(Value(first, L"PackageGUID"), PackageCode(0));
  EXPECT_FALSE(Registered(failing));
  EXPECT_NE(LogText().find(L"Successfully un-installed product Taxonomy 0.\r\n"
                           L"TSL (c): Rolling back removal of product Taxonomy 0\r\n"
                           L"Successfully installed product Taxonomy 0.\r\n"),
            std::wstring::npos);
  EXPECT_TRUE(commandLine_.IsUninstall());
}

}  // namespace
}  // namespace setup
