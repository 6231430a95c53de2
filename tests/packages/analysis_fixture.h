// A run on a 64-bit machine whose installed products the test arranges: the products'
// own "Setup" keys in the registry view of their bitness, and Windows Installer's product list.
#pragma once

#include <filesystem>
#include <string>

#include "packages/analysis_context.h"
#include "packages/package_product_records.h"
#include "packages/product_key_paths.h"
#include "support/run_fixture.h"

namespace setup::testing {

struct Installation {
  std::wstring productId;
  std::wstring version;
  bool is64Bit = false;
  bool fromSuite = false;
  std::wstring applicationPath = {};
};

class AnalysisTest : public RunTest {
 protected:
  AnalysisContext Context() {
    const RunContext& run = Run();
    return AnalysisContext{Detection(run), run.packages, run.languages};
  }

  static SetupPackage Package(std::wstring productId, std::wstring version, bool is64Bit,
                              std::wstring productName = L"Package") {
    SetupPackage package;
    package.productName = std::move(productName);
    package.productId = productId;
    package.is64Bit = is64Bit;
    package.products = BuildPackageProductRecords(productId, version, is64Bit).records;
    return package;
  }

  // Appends the package to the launcher's list; the first one is the main package.
  SetupPackage& AddPackage(SetupPackage package) {
    auto& packages = Run().packages.packages;
    package.main = packages.empty();
    packages.push_back(std::move(package));
    return packages.back();
  }

  // Appends the package with a product and a package code of its own, which
  // RegisterWithInstaller can then mark as installed.
  SetupPackage& AddPackageWithCodes(SetupPackage package) {
    package.productCode = L"{AAAAAAAA-0000-0000-0000-000000000001}";
    package.packageCode = L"{BBBBBBBB-0000-0000-0000-000000000001}";
    return AddPackage(std::move(package));
  }

  // Writes the "Setup" key that the product's installer leaves.
  void Install(const Installation& installation) {
    const ProductRecord record(installation.productId, installation.version, installation.is64Bit, L"",
                               installation.fromSuite);
    const std::wstring key = ProductSetupKeyPath(record);
    const std::uint32_t view = installation.is64Bit ? platform::kRegistryView64 : 0;
    auto& registry = Host().Registry();
    using platform::RegistryRoot;
    registry.SetString(RegistryRoot::LocalMachine, key, L"Version", installation.version, view);
    registry.SetString(RegistryRoot::LocalMachine, key, L"ProductId", installation.productId, view);
    registry.SetDword(RegistryRoot::LocalMachine, key, L"InstalledFromFendral", installation.fromSuite ? 1 : 0, view);
    if (!installation.applicationPath.empty()) {
      registry.SetString(RegistryRoot::LocalMachine, key, L"ApplicationPath", installation.applicationPath, view);
    }
  }

  // Makes the main package count as installed by this build of the installer.
  void RegisterWithInstaller(const SetupPackage& package) {
    Host().Installer().AddProduct({package.productCode, {{L"PackageCode", package.packageCode}}});
  }

  void CreateFile(std::wstring_view windowsPath, std::string_view bytes = "x") {
    const std::filesystem::path host = Host().Files().HostPath(windowsPath);
    std::filesystem::create_directories(host.parent_path());
    Host().Files().WriteFile(windowsPath, bytes);
  }
};

// A product that Windows Installer installed from a package folder of the launcher, which
// still holds the MSI file.
inline constexpr wchar_t kProductCode[] = L"{C0DE0000-1111-2222-3333-444444444444}";
inline constexpr wchar_t kSource[] = L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\";
inline constexpr wchar_t kMsiFile[] = L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\quibrix.msi";
inline constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{C0DE0000-1111-2222-3333-444444444444}";

class CachedInstallationTest : public AnalysisTest {
 protected:
  // A 64-bit "QB::P" 2024 installed from the launcher's package folder, whose Add/Remove
  // Programs entry the launcher has rewritten.
  void ArrangeInstalledProduct() {
    Run();
    platform::host::HostInstalledProduct product{kProductCode,
                                                 {{L"ProductID", L"QB::P"},
                                                  {L"VersionString", L"2024.00.00"},
                                                  {L"ProductName", L"Tarquel Quibrix 2024 (x64)"},
                                                  {L"InstallSource", kSource},
                                                  {L"PackageCode", L"{C0DE0000-1111-2222-3333-555555555555}"}}};
    Host().Installer().AddProduct(product);
    Host().AddPackageFile(kMsiFile, product);
    using platform::RegistryRoot;
    Host().Registry().SetDword(RegistryRoot::LocalMachine, kUninstallKey, L"WindowsInstaller", 0,
                               platform::kRegistryView64);
    Host().Registry().SetString(RegistryRoot::LocalMachine, kUninstallKey, L"DisplayIcon", L"C:\\Setup.exe,0",
                                platform::kRegistryView64);
  }

  ProductRecord installed_{L"QB::P", L"2024.00.00", true, L"", false};
};

}  // namespace setup::testing
