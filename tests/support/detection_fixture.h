// A host machine for the detection of installed products: its registry, files and Windows
// Installer product table, with helpers that write what a product's installer leaves behind.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "packages/detection_context.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup::testing {

// The values a product's installer writes into its "Setup" key.
struct InstallationValues {
  std::wstring version;
  std::wstring productId;  // not written when empty
  bool fromSuite = false;
  std::wstring language = L"en";
  std::wstring applicationPath;  // not written when empty
};

class DetectionTest : public ::testing::Test {
 protected:
  DetectionTest() : host_(temp_.Path()) {}

  DetectionContext Context() { return {host_, is64BitSystem_}; }

  void AddInstallation(std::wstring_view registryName, std::wstring_view installationKey, std::wstring version,
                       std::wstring productId, std::uint32_t view = 0, bool fromSuite = false) {
    AddInstallationValues(registryName, installationKey,
                          {std::move(version), std::move(productId), fromSuite, L"en", L""}, view);
  }

  // Writes "SOFTWARE\Tarquel\<registryName>\<installationKey>\Setup" in the given view.
  void AddInstallationValues(std::wstring_view registryName, std::wstring_view installationKey,
                       const InstallationValues& values, std::uint32_t view = 0) {
    const std::wstring path = L"SOFTWARE\\Tarquel\\" + std::wstring(registryName) + L"\\" +
                              std::wstring(installationKey) + L"\\Setup";
    auto& registry = host_.Registry();
    const auto root = platform::RegistryRoot::LocalMachine;
    registry.SetString(root, path, L"Version", values.version, view);
    if (!values.productId.empty()) registry.SetString(root, path, L"ProductId", values.productId, view);
    registry.SetDword(root, path, L"InstalledFromFendral", values.fromSuite ? 1 : 0, view);
    registry.SetString(root, path, L"Language", values.language, view);
    if (!values.applicationPath.empty()) {
      registry.SetString(root, path, L"ApplicationPath", values.applicationPath, view);
    }
  }

  // A product in Windows Installer's list.
  void AddMsiProduct(std::wstring code, std::wstring productId, std::wstring version, std::wstring name,
                     std::wstring packageCode = L"{PACKAGE}") {
    host_.Installer().AddProduct({std::move(code),
                                  {{L"ProductID", std::move(productId)},
                                   {L"VersionString", std::move(version)},
                                   {L"ProductName", std::move(name)},
                                   {L"PackageCode", std::move(packageCode)}}});
  }

  TempFolder temp_;
  platform::host::HostPlatform host_;
  bool is64BitSystem_ = true;
};

}  // namespace setup::testing
