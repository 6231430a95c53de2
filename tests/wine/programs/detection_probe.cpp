// Runs the detection of installed products against the real registry and Windows Installer
// and prints one "name=value" line per finding; the Wine test arranges the machine and checks.
//   detection-probe installations <product id> <version> <x64|x86>
//   detection-probe newest <product id> <version> <x64|x86> <from suite 0|1>
//   detection-probe exact <product id> <version> <x64|x86>
//   detection-probe msicode <product id> <version> <x64|x86>
//   detection-probe state <product code> <package code> <installer type>
//   detection-probe install <MSI path> <property string>   (without user interface)
//   detection-probe uninstall <product id> <version> <x64|x86>   (from its install source, silently)
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/text.h"
#include "packages/installed_version.h"
#include "packages/msi_products.h"
#include "packages/newest_installation.h"
#include "packages/package_installation_state.h"
#include "packages/product_installations.h"
#include "packages/uninstall_from_cache.h"
#include "platform/win32/win32_ports.h"
#include "run/setup_log.h"

namespace setup {
namespace {

void Print(const char* name, std::wstring_view value) { std::printf("%s=%s\n", name, ToUtf8(value).c_str()); }

std::wstring Describe(const ProductRecord& record) {
  return record.ProductId() + L" " + record.FullVersionString() + (record.Is64Bit() ? L" x64" : L" x86") +
         (record.FromSuite() ? L" suite" : L" alone") + L" " + record.Language() +
         (record.HasActiveXControl() ? L" activex" : L"");
}

int Run(const std::vector<std::wstring>& args) {
  if (args.size() < 3) return 2;
  auto platform = platform::win32::CreatePlatform();
  const std::uint16_t architecture = platform->system->NativeProcessorArchitecture();
  const DetectionContext context{*platform, architecture == platform::kArchitectureAmd64 ||
                                                architecture == platform::kArchitectureIa64 ||
                                                architecture == platform::kArchitectureArm64};
  const std::wstring& command = args[0];
  if (command == L"install" && args.size() == 3) {
    platform->installer->SetInternalUi(2);
    std::printf("result=%u\n", static_cast<unsigned>(platform->installer->InstallProduct(args[1], args[2])));
    return 0;
  }
  if (args.size() < 4) return 2;
  if (command == L"state") {
    SetupPackage package;
    package.productCode = args[1];
    package.packageCode = args[2];
    package.installerType = args[3];
    DetermineInstallationState(context, package);
    Print("registered", package.registered ? L"1" : L"0");
    Print("other_installer", package.installedFromOtherInstaller ? L"1" : L"0");
    Print("installed", IsPackageInstalled(context, package) ? L"1" : L"0");
    return 0;
  }
  const bool fromSuite = args.size() > 4 && args[4] == L"1";
  ProductRecord record(args[1], args[2], args[3] == L"x64", L"", fromSuite);
  if (command == L"installations") {
    for (const ProductRecord& found : FindInstallations(context, record)) Print("installation", Describe(found));
  } else if (command == L"newest") {
    const auto found = FindNewestInstallation(context, record);
    Print("newest", found ? Describe(*found) : L"none");
  } else if (command == L"exact") {
    Print("exact", HasExactVersionInstalled(context, record) ? L"1" : L"0");
  } else if (command == L"msicode") {
    Print("msicode", FindMsiProductCode(*platform->installer, record));
  } else if (command == L"uninstall") {
    SetupLog log(*platform->files, *platform->installer);
    const SetupResult result = UninstallFromCache(*platform, log, record, UiLevel::None());
    Print("kind", std::to_wstring(result.kind));
    Print("installer_code", std::to_wstring(result.installerCode));
  } else {
    return 2;
  }
  return 0;
}

}  // namespace
}  // namespace setup

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  return setup::Run(args);
}
