// Runs the real application object against the host platform: arrange the machine and the
// resources, start the launcher with a command line, read what it did.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/text.h"
#include "launcher/setup_app.h"
#include "platform/host/host_platform.h"
#include "support/run_fixture.h"
#include "support/temp_folder.h"
#include "support/test_cabinets.h"

namespace setup::testing {

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    auto platform = std::make_unique<platform::host::HostPlatform>(temp_.Path());
    host_ = platform.get();
    pendingPlatform_ = std::move(platform);
  }

  platform::host::HostPlatform& Host() { return *host_; }

  // The MSI file of the single-package setup below, as its cabinet holds it.
  static std::string QuillbookMsi() {
    return platform::host::HostPlatform::PackageFileBytes(L"{66666666-7777-8888-9999-000000000000}");
  }

  // A complete single-package setup as the packaging tool writes it; its cabinet holds the
  // MSI file that the host installer installs.
  void AddSinglePackageSetup(std::wstring_view productName = L"Tarquel Quillbook 2024") {
    auto& resources = Host().Resources();
    resources.AddPackageText(L"OS", L"6.1.1");
    resources.AddPackageText(L"PACKAGE_COUNT", L"1");
    resources.AddPackageText(L"PRODUCT_NAME_0", productName);
    resources.AddPackageText(L"PRODUCT_CODE_0", L"{11111111-2222-3333-4444-555555555555}");
    resources.AddPackageText(L"PACKAGE_CODE_0", L"{66666666-7777-8888-9999-000000000000}");
    resources.AddPackageText(L"PRODUCT_ID_0", L"QB::P");
    resources.AddPackageText(L"PRODUCT_PLATFORM_0", L"Intel");
    resources.AddPackageText(L"PRODUCT_VERSION_0", L"2024.00.01.03");
    const std::string cabinet = PackedCabinet(temp_.Path() / "cabinet", {{"quillbook.msi", QuillbookMsi()}});
    resources.AddPackageResource(L"PACKAGE_0", 1033, PackageResource(cabinet, static_cast<std::uint32_t>(cabinet.size())));
    Host().Installer().AddPackageFile(L"C:\\ProgramData\\Tarquel\\{66666666-7777-8888-9999-000000000000}\\quillbook.msi",
                                      {L"{11111111-2222-3333-4444-555555555555}",
                                       {{L"PackageCode", L"{66666666-7777-8888-9999-000000000000}"}}});
  }

  // Builds the application object (construction parses and opens the log) with arguments
  // split as the platform would split them.
  CSetupApp& Start(std::vector<std::wstring> arguments) {
    std::wstring raw;
    for (const std::wstring& argument : arguments) raw += (raw.empty() ? L"" : L" ") + argument;
    app_ = std::make_unique<CSetupApp>(std::move(pendingPlatform_), ProcessInvocation{raw, std::move(arguments)});
    return *app_;
  }

  // Start, run sequence and exit sequence; returns the exit code.
  int Run(std::vector<std::wstring> arguments) {
    CSetupApp& app = Start(std::move(arguments));
    app.InitInstance();
    return app.ExitInstance();
  }

  // The setup log as text (UTF-16LE on disk).
  std::wstring LogText(std::wstring_view windowsPath = kLogPath) {
    const auto bytes = Host().Files().ReadFile(windowsPath);
    return bytes ? FromUtf16LeBytes(*bytes) : std::wstring();
  }

  bool LogHas(std::wstring_view text) { return LogText().find(text) != std::wstring::npos; }

  TempFolder temp_;
  platform::host::HostPlatform* host_;
  std::unique_ptr<platform::Platform> pendingPlatform_;
  std::unique_ptr<CSetupApp> app_;
};

}  // namespace setup::testing
