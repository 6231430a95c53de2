#include <benchmark/benchmark.h>

#include <string>

#include "foundation/format.h"
#include "packages/msi_products.h"
#include "packages/newest_installation.h"
#include "packages/package_product_records.h"
#include "packages/product_installations.h"
#include "packages/setup_package_builder.h"
#include "temp_host_platform.h"

namespace setup {
namespace {

// Gives the machine `count` installed Windows Installer products and, for every member of the
// enterprise suite, its 2023 installation from the suite in the 64-bit view.
void AddSuiteMachineProducts(platform::host::HostPlatform& host, int count) {
  for (int i = 0; i < count; ++i) {
    host.Installer().AddProduct({Format(L"{6F1C2A3B-0D4E-4F5A-9B8C-%012d}", i),
                                 {{L"ProductID", L"XX::Y"},
                                  {L"VersionString", L"1.0"},
                                  {L"ProductName", L"Another product"},
                                  {L"PackageCode", L"{0}"}}});
  }
  for (const ProductRecord& member : BuildPackageProductRecords(L"FD::E", L"2023.00.00.00", true).records) {
    const std::wstring key = Format(L"SOFTWARE\\Tarquel\\%s\\Installation_v2023_x64\\Setup", member.RegistryName());
    host.Registry().SetString(platform::RegistryRoot::LocalMachine, key, L"Version", L"2023.00.00.00",
                              platform::kRegistryView64);
    host.Registry().SetString(platform::RegistryRoot::LocalMachine, key, L"ProductId", member.ProductId(),
                              platform::kRegistryView64);
    host.Registry().SetDword(platform::RegistryRoot::LocalMachine, key, L"InstalledFromFendral", 1,
                             platform::kRegistryView64);
  }
}

// One full detection of a suite package: its record with the installation state, then every
// member's installations, newest installation and Windows Installer product code.
void DetectSuitePackage(benchmark::State& state) {
  TempHostPlatform machine;
  AddSuiteMachineProducts(machine.host, static_cast<int>(state.range(0)));
  const DetectionContext context{machine.host, true};
  PackageCacheRoot cacheRoot(machine.host);
  for (auto _ : state) {
    PackageDescription description;
    description.productName = L"Tarquel Fendral 2024";
    description.productCode = L"{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D01}";
    description.packageCode = L"{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D02}";
    description.productId = L"FD::E";
    description.version = L"2024.00.00.00";
    description.is64Bit = true;
    SetupPackage package = BuildSetupPackage({context, cacheRoot}, description);
    for (ProductRecord& member : package.products) {
      benchmark::DoNotOptimize(FindInstallations(context, member).size());
      benchmark::DoNotOptimize(FindNewestInstallation(context, member).has_value());
      benchmark::DoNotOptimize(FindMsiProductCode(*machine.host.installer, member).size());
    }
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(DetectSuitePackage)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace setup
