// Reading the package information in the launcher's run: from the resources, and from a
// workload file named on the command line, with the log lines and the failure result.
#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <ostream>

#include "launcher_fixture.h"
#include "packages/workload_packages.h"

namespace setup {
namespace {

using testing::kLogPath;
using testing::LauncherTest;

constexpr wchar_t kWorkload[] = L"C:\\Work\\workload.json";

class PackageInformationTest : public LauncherTest {
 protected:
  // A launcher without packages of its own, so that the workload file is read.
  void AddEmptyLauncher() { Host().Resources().AddPackageText(L"OS", L"6.1.1"); }

  void WriteWorkload(std::string_view json) { Host().Files().WriteFile(kWorkload, std::string(json)); }

  static std::string Package(std::string_view name, std::string_view packageData, std::string_view extra = "") {
    return "{\"productName\": \"" + std::string(name) +
           "\", \"productCode\": \"{11111111-2222-3333-4444-555555555555}\","
           " \"packageCode\": \"{66666666-7777-8888-9999-000000000000}\", \"productId\": \"QB::P\","
           " \"productPlatform\": \"X64\", \"productVersion\": \"2024.00.00.00\", \"packageData\": \"" +
           std::string(packageData) + "\"" + std::string(extra) + "}";
  }

  // Runs the launcher with a log and the workload argument; returns the exit code.
  int RunWithWorkload(std::wstring_view path = kWorkload) {
    return Run({L"/L*v", kLogPath, L"/qn", L"workload=" + std::wstring(path)});
  }
};

TEST_F(PackageInformationTest, ResourcePackagesAreReadInOrderAndLogged) {
  AddSinglePackageSetup();
  auto& resources = Host().Resources();
  resources.AddPackageText(L"PACKAGE_COUNT", L"2 packages");
  resources.AddPackageText(L"PRODUCT_NAME_1", L"Tarquel Trandel Server 2024");
  resources.AddPackageText(L"PRODUCT_CODE_1", L"{21111111-2222-3333-4444-555555555555}");
  resources.AddPackageText(L"PACKAGE_CODE_1", L"{26666666-7777-8888-9999-000000000000}");
  resources.AddPackageText(L"PRODUCT_ID_1", L"TV::Z");
  resources.AddPackageText(L"PRODUCT_PLATFORM_1", L"x64");
  resources.AddPackageText(L"PRODUCT_VERSION_1", L"2024.00.00.00");
  resources.AddPackageText(L"INSTALLER_TYPE_1", L"taxonomy");
  // Silent, so that the wizard walks on to the unpacking.
  CSetupApp& app = Start({L"/L*v", kLogPath, L"/qn"});
  app.InitInstance();

  const auto& packages = app.Context().packages.packages;
  ASSERT_EQ(packages.size(), 2u);
  EXPECT_TRUE(packages[0].main);
  EXPECT_FALSE(packages[1].main);
  EXPECT_EQ(packages[0].installerType, L"msi");
  EXPECT_FALSE(packages[0].is64Bit);
  EXPECT_EQ(packages[1].installerType, L"taxonomy");
  EXPECT_TRUE(packages[1].is64Bit);
  EXPECT_EQ(packages[1].dataName, L"PACKAGE_1");
  EXPECT_EQ(packages[1].transformPattern, L"PACKAGE_1_%s");
  EXPECT_EQ(packages[1].packageFolder, L"C:\\ProgramData\\Tarquel\\{26666666-7777-8888-9999-000000000000}");
  ASSERT_EQ(packages[1].products.size(), 1u);
  EXPECT_EQ(packages[1].products[0].ProductId(), L"TV::Z");
  EXPECT_TRUE(LogHas(L"TSL (c): Reading package information.\r\nTSL (c): Installer contains 2 packages.\r\n"
                     L"TSL (c): Initialized state for package Tarquel Quillbook 2024.\r\n"
                     L"TSL (c): Initialized state for package Tarquel Trandel Server 2024.\r\n"
                     L"TSL (c): All information collected. Start processing.\r\n"));
  // The taxonomy package carries no data of its own here, so its unpacking fails.
  EXPECT_EQ(app.ExitInstance(), kResultInstallFailed) << LogText();
}

TEST_F(PackageInformationTest, AResourcePackageWithoutPackageCodeFailsWithKind13) {
  AddSinglePackageSetup();
  Host().Resources().RemovePackageResource(L"PACKAGE_CODE_0", 1033);
  EXPECT_EQ(Run({L"/L*v", kLogPath, L"/qn"}), kResultPackageInfoMissing);
  EXPECT_TRUE(LogHas(L"TSL (c): Initialized state for package Tarquel Quillbook 2024.\r\n")) << LogText();
  EXPECT_FALSE(LogHas(L"All information collected"));
}

// A product code names registry keys (the Add/Remove Programs entry of the product): one that
// is not a braced GUID could name the uninstall key itself, or another product's.
TEST_F(PackageInformationTest, AProductCodeThatIsNotABracedGuidFailsWithKind13) {
  AddSinglePackageSetup();
  Host().Resources().RemovePackageResource(L"PRODUCT_CODE_0", 1033);
  Host().Resources().AddPackageText(L"PRODUCT_CODE_0", L"..\\{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(Run({L"/L*v", kLogPath, L"/qn"}), kResultPackageInfoMissing);
  EXPECT_TRUE(LogHas(L"TSL (c): Product code ..\\{11111111-2222-3333-4444-555555555555} of package "
                     L"Tarquel Quillbook 2024 is not a GUID.\r\n"))
      << LogText();
  EXPECT_FALSE(LogHas(L"All information collected"));
}

TEST_F(PackageInformationTest, AnOversizedPackageCountStopsAtTheFirstPackageWithoutCode) {
  AddSinglePackageSetup();
  Host().Resources().AddPackageText(L"PACKAGE_COUNT", L"99999999999");
  CSetupApp& app = Start({L"/L*v", kLogPath, L"/qn"});
  app.InitInstance();
  ASSERT_EQ(app.Context().packages.packages.size(), 2u);
  EXPECT_TRUE(app.Context().packages.packages[1].packageCode.empty());
  EXPECT_TRUE(LogHas(L"TSL (c): Installer contains 2147483647 packages.\r\n")) << LogText();
  EXPECT_EQ(app.ExitInstance(), kResultPackageInfoMissing);
}

TEST_F(PackageInformationTest, NoPackagesAndNoWorkloadIsAnEmptyListThatSucceeds) {
  AddEmptyLauncher();
  CSetupApp& app = Start({L"/L*v", kLogPath});
  app.InitInstance();
  EXPECT_TRUE(app.Context().packages.packages.empty());
  EXPECT_TRUE(LogHas(L"TSL (c): Reading package information.\r\nTSL (c): All information collected. Start processing.\r\n"));
  EXPECT_EQ(app.ExitInstance(), kResultSuccess);
}

TEST_F(PackageInformationTest, WorkloadPackagesAreReadWithTheirOptionalMembers) {
  AddEmptyLauncher();
  Host().Files().WriteFile(L"C:\\Work\\quibrix.cab", "cab");
  Host().Files().WriteFile(L"C:\\Work\\taxonomy.zip", "zip");
  WriteWorkload("{\"packages\": [" + Package("Quibrix", "C:\\Work\\quibrix.cab") + ",\n" +
                Package("Taxonomies", "C:\\Work\\taxonomy.zip",
                        ", \"installerType\": \"taxonomy\", \"packageLangDataPattern\": \"tax_%s.mst\", \"x\": 1") +
                "]}\n");
  CSetupApp& app = Start({L"/L*v", kLogPath, L"/qn", L"workload=C:\\Work\\workload.json"});
  app.InitInstance();
  const auto& packages = app.Context().packages.packages;
  ASSERT_EQ(packages.size(), 2u) << LogText();
  EXPECT_TRUE(packages[0].main);
  EXPECT_FALSE(packages[1].main);
  EXPECT_FALSE(packages[0].is64Bit);  // "X64" is not "x64"
  EXPECT_EQ(packages[0].installerType, L"msi");
  EXPECT_EQ(packages[0].dataName, L"C:\\Work\\quibrix.cab");
  EXPECT_EQ(packages[0].transformPattern, L"");
  EXPECT_EQ(packages[1].installerType, L"taxonomy");
  EXPECT_EQ(packages[1].transformPattern, L"tax_%s.mst");
  // The workload's "cabinet" is three letters: unpacking it fails.
  EXPECT_EQ(app.Context().result.kind, kResultCabinetDamaged);
  EXPECT_TRUE(LogHas(L"TSL (c): Reading package information.\r\nTSL (c): Initialized state for package Quibrix.\r\n"
                     L"TSL (c): Initialized state for package Taxonomies.\r\n"
                     L"TSL (c): All information collected. Start processing.\r\n"));
}

// A workload that cannot be read: the line it logs, and the run ends with kind 13.
struct WorkloadFailure {
  const char* name;
  std::optional<std::string> json;  // none: no file
  std::wstring logLine;
};

void PrintTo(const WorkloadFailure& c, std::ostream* out) { *out << c.name; }

const std::wstring kNotProper = L"Workload 'C:\\Work\\workload.json' is not a proper JSON package array object.\r\n";
const std::wstring kBroken = L"Workload is not a proper JSON package array object.\r\n";

const WorkloadFailure kWorkloadFailures[] = {
    {"MissingFile", std::nullopt, L"Workload file 'C:\\Work\\workload.json' does not exist.\r\n"},
    {"NotJson", "packages: none", kBroken},
    {"TopLevelNotAnObject", "[1, 2]", kBroken},
    {"NoPackagesMember", "{\"package\": []}", kNotProper},
    {"PackagesNotAnArray", "{\"packages\": {\"a\": \"b\"}}", kNotProper},
    {"EmptyArray", "{\"packages\": []}", L"Workload 'C:\\Work\\workload.json' doesn't contain any pakages.\r\n"},
    {"ElementNotAnObject", "{\"packages\": [\"Quibrix\"]}", kBroken},
    {"MemberNotAString", "{\"packages\": [{\"productName\": 5}]}", kBroken},
    {"MissingMember", "{\"packages\": [{\"productName\": \"Quibrix\"}]}", kBroken},
};

class WorkloadFailureTest : public PackageInformationTest, public ::testing::WithParamInterface<WorkloadFailure> {};

TEST_P(WorkloadFailureTest, LogsItsLineAndEndsWithKind13) {
  const WorkloadFailure& c = GetParam();
  AddEmptyLauncher();
  if (c.json) WriteWorkload(*c.json);
  EXPECT_EQ(RunWithWorkload(), kResultPackageInfoMissing);
  EXPECT_TRUE(LogHas(L"TSL (c): Reading package information.\r\n" + c.logLine)) << LogText();
  EXPECT_FALSE(LogHas(L"All information collected"));
  EXPECT_TRUE(app_->Context().packages.packages.empty());
}

INSTANTIATE_TEST_SUITE_P(Workloads, WorkloadFailureTest, ::testing::ValuesIn(kWorkloadFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PackageInformationTest, AWorkloadPackageWithoutItsFileIsKeptButFails) {
  AddEmptyLauncher();
  WriteWorkload("{\"packages\": [" + Package("Quibrix", "C:\\Work\\missing.cab") + "]}");
  EXPECT_EQ(RunWithWorkload(), kResultPackageInfoMissing);
  ASSERT_EQ(app_->Context().packages.packages.size(), 1u);
  EXPECT_TRUE(LogHas(L"TSL (c): Initialized state for package Quibrix.\r\nTSL (c): ERROR: "));
}

TEST_F(PackageInformationTest, PackagesBeforeABrokenElementStayInTheList) {
  AddEmptyLauncher();
  Host().Files().WriteFile(L"C:\\Work\\quibrix.cab", "cab");
  WriteWorkload("{\"packages\": [" + Package("Quibrix", "C:\\Work\\quibrix.cab") + ", {\"productName\": \"Half\"}]}");
  EXPECT_EQ(RunWithWorkload(), kResultPackageInfoMissing);
  ASSERT_EQ(app_->Context().packages.packages.size(), 1u);
  EXPECT_TRUE(LogHas(L"TSL (c): Initialized state for package Quibrix.\r\n"
                     L"Workload is not a proper JSON package array object.\r\n"));
}

// Device names read a device, not a file: COM1 blocks, NUL and CON give endless or no data.
// Each is refused like a missing file, also when a regular file of that name lies in the
// folder (the system would still open the device).
class WorkloadDeviceTest : public PackageInformationTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(WorkloadDeviceTest, IsAMissingFile) {
  AddEmptyLauncher();
  Host().Files().CreateDirectory(L"C:\\Work\\x");
  Host().Files().WriteFile(GetParam(), "{\"packages\": [" + Package("Quibrix", "C:\\\\Work\\\\quibrix.cab") + "]}");
  Host().Files().WriteFile(L"C:\\Work\\quibrix.cab", "cab");
  EXPECT_EQ(RunWithWorkload(GetParam()), kResultPackageInfoMissing);
  EXPECT_TRUE(LogHas(L"Workload file '" + std::wstring(GetParam()) + L"' does not exist.\r\n")) << LogText();
}

INSTANTIATE_TEST_SUITE_P(Devices, WorkloadDeviceTest,
                         ::testing::Values(L"NUL", L"C:\\Work\\CON", L"COM1", L"C:\\Work\\NUL.json", L"C:\\Work\\x\\aux ",
                                           L"lpt1.txt"));

TEST_F(PackageInformationTest, APackageFileNamingADeviceIsAMissingFile) {
  AddEmptyLauncher();
  Host().Files().WriteFile(L"C:\\Work\\NUL", "a regular file in the way");
  WriteWorkload("{\"packages\": [" + Package("Quibrix", "C:\\\\Work\\\\NUL") + "]}");
  EXPECT_EQ(RunWithWorkload(), kResultPackageInfoMissing);
  ASSERT_EQ(app_->Context().packages.packages.size(), 1u);
}

TEST_F(PackageInformationTest, AFolderIsNoWorkload) {
  AddEmptyLauncher();
  Host().Files().CreateDirectory(L"C:\\Work\\folder.json");
  EXPECT_EQ(RunWithWorkload(L"C:\\Work\\folder.json"), kResultPackageInfoMissing);
  EXPECT_TRUE(LogHas(L"Workload file 'C:\\Work\\folder.json' does not exist.\r\n")) << LogText();
}

// A workload of 200,000 packages is refused quickly, before any package record is built or
// logged: a file of that size is refused before it is read, and one of many tiny elements
// after a parse that stays linear.
TEST_F(PackageInformationTest, AWorkloadOf200000PackagesIsRefusedQuickly) {
  AddEmptyLauncher();
  Host().Files().WriteFile(L"C:\\Work\\quibrix.cab", "cab");
  const std::string package = Package("Q", "C:\\\\Work\\\\quibrix.cab");
  std::string json = "{\"packages\": [\n";
  json.reserve(200000 * (package.size() + 2) + 32);
  for (std::size_t i = 0; i < 200000; ++i) json += (i ? ",\n" : "") + package;
  WriteWorkload(json + "\n]}\n");
  const std::clock_t started = std::clock();
  EXPECT_EQ(RunWithWorkload(), kResultPackageInfoMissing);
  EXPECT_LT(static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC, 2.0);  // processor time: load-proof
  EXPECT_TRUE(LogHas(L"Workload 'C:\\Work\\workload.json' is larger than the 8192000 bytes the 1000 packages a "
                     L"setup may carry need.\r\n")) << ToUtf8(LogText());
  EXPECT_FALSE(LogHas(L"Initialized state"));
  EXPECT_TRUE(app_->Context().packages.packages.empty());
}

TEST_F(PackageInformationTest, AWorkloadOfMoreElementsThanTheBoundIsRefusedAfterALinearRead) {
  AddEmptyLauncher();
  std::string json = "{\"packages\": [";
  for (std::size_t i = 0; i < 200000; ++i) json += i ? ",{}" : "{}";
  WriteWorkload(json + "]}");
  const std::clock_t started = std::clock();
  EXPECT_EQ(RunWithWorkload(), kResultPackageInfoMissing);
  EXPECT_LT(static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC, 2.0);  // processor time: load-proof
  EXPECT_TRUE(LogHas(L"Workload 'C:\\Work\\workload.json' holds 200000 packages, more than the 1000 a setup may "
                     L"carry.\r\n")) << ToUtf8(LogText());
  EXPECT_FALSE(LogHas(L"Initialized state"));
}

TEST_F(PackageInformationTest, AWorkloadAtTheBoundIsRead) {
  AddEmptyLauncher();
  Host().Files().WriteFile(L"C:\\Work\\quibrix.cab", "cab");
  std::string json = "{\"packages\": [";
  for (std::size_t i = 0; i < kMaxWorkloadPackages; ++i) json += (i ? "," : "") + Package("Q", "C:\\\\Work\\\\quibrix.cab");
  WriteWorkload(json + "]}");
  // Every package is read; the first "cabinet" is three letters, so the unpacking fails.
  EXPECT_EQ(RunWithWorkload(), kResultCabinetDamaged);
  EXPECT_EQ(app_->Context().packages.packages.size(), kMaxWorkloadPackages);
}

}  // namespace
}  // namespace setup
