// The host side of the contract suites: the host stand-ins over a temporary folder tree,
// arranged through their test interfaces.
#include "contracts/platform_under_test.h"

#include "foundation/text.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup::contracts {

namespace {

class HostPlatformUnderTest : public PlatformUnderTest {
 public:
  explicit HostPlatformUnderTest(std::string_view testName)
      : platform_(root_.Path()), folder_(L"C:\\Contracts\\" + FromUtf8(testName)) {
    std::filesystem::create_directories(platform_.Files().HostPath(folder_));
  }

  platform::Platform& Ports() override { return platform_; }
  const std::wstring& Folder() const override { return folder_; }

  void ArrangePackageResources() override {
    platform_.Resources().AddPackageResource(L"CONTRACT_PACKAGE", 1033, CONTRACT_ENGLISH_PACKAGE_BYTES);
    platform_.Resources().AddPackageResource(L"CONTRACT_PACKAGE", 1031, CONTRACT_GERMAN_PACKAGE_BYTES);
    platform_.Resources().AddPackageResource(L"CONTRACT_GERMAN_ONLY", 1031, CONTRACT_GERMAN_ONLY_BYTES);
  }

  std::wstring VersionedFile() override {
    const std::wstring path = folder_ + L"\\versioned.exe";
    platform_.Files().WriteFile(path, "MZ");
    platform_.Files().SetFileVersion(path, {SETUP_VERSION_MAJOR, SETUP_VERSION_MINOR, SETUP_VERSION_PATCH,
                                            SETUP_VERSION_TWEAK});
    return path;
  }

  std::wstring CaptureOutput(const std::function<void()>& write) override {
    const std::size_t before = platform_.Console().output.size();
    write();
    return platform_.Console().output.substr(before);
  }

  platform::ProcessStart ChildThatExits(std::uint32_t exitCode) override {
    platform_.Processes().runTimeMs = 0;
    platform_.Processes().exitCode = exitCode;
    return {L"child.exe", L"", false};
  }
  platform::ProcessStart ChildThatRuns() override {
    platform_.Processes().runTimeMs = platform::kWaitForever - 1;
    return {L"child.exe", L"", false};
  }
  platform::ProcessStart MissingProgram() override {
    platform_.Processes().startError = 2;  // the file is not found
    return {L"C:\\missing-program.exe", L"", false};
  }

  ContractPackage InstallablePackage() override {
    ContractPackage package;
    package.path = folder_ + L"\\wendrak-7.2-x64.msi";
    platform_.Installer().AddPackageFile(package.path, {package.productCode,
                                                        {{L"ProductID", package.productId},
                                                         {L"VersionString", package.versionString},
                                                         {L"ProductName", package.productName}}});
    return package;
  }

  // The database and the transforms as files of the host stand-in.
  ContractDatabase TransformableDatabase() override {
    using platform::host::HostTransformFile;
    ContractDatabase database;
    database.path = folder_ + L"\\package.msi";
    database.propertyTransform = folder_ + L"\\admin-property.mst";
    database.fileTransform = folder_ + L"\\admin-file.mst";
    platform::host::HostDatabaseFile package = platform::host::HostDatabaseFile::Package();
    package.AddRow(L"Property", {std::wstring(L"ProductID"), database.productId})
        .AddRow(L"Property", {std::wstring(L"INSTALLER_LANGUAGE"), std::wstring(L"en")})
        .AddRow(L"File", {std::wstring(L"ApplicationFile"), std::wstring(L"Application"),
                          database.applicationFileName, 45, {}, {}, database.applicationFileAttributes, 1})
        .AddRow(L"Media", {1, 1, {}, std::wstring(L"#product.cab")});
    platform_.Files().WriteFile(database.path, package.Serialize());
    platform_.Files().WriteFile(
        database.propertyTransform,
        HostTransformFile()
            .Update(L"Property", std::wstring(L"INSTALLER_LANGUAGE"), L"Value", std::wstring(L"it"))
            .Insert(L"Property", {std::wstring(L"ADMIN_NOTE"), std::wstring(L"Set by the administrator")})
            .Serialize());
    platform_.Files().WriteFile(database.fileTransform,
                                HostTransformFile()
                                    .Insert(L"File", {std::wstring(L"AdminNotes"), std::wstring(L"Application"),
                                                      std::wstring(L"admin-notes.txt"), 26, {}, {}, 8192, 2})
                                    .Serialize());
    return database;
  }

  std::wstring InstalledServiceName() override {
    platform::InstalledService service;
    service.configuration = platform::ServiceConfiguration{
        platform::kServiceDemandStart, L"Windows Installer", L"C:\\windows\\system32\\msiexec.exe /V", L"LocalSystem"};
    service.currentState = platform::kServiceStopped;
    platform_.Services().Install(L"MSIServer", service);
    return L"MSIServer";
  }

 private:
  testing::TempFolder root_;
  platform::host::HostPlatform platform_;
  std::wstring folder_;
};

}  // namespace

std::unique_ptr<PlatformUnderTest> CreatePlatformUnderTest(std::string_view testName) {
  return std::make_unique<HostPlatformUnderTest>(testName);
}

}  // namespace setup::contracts
