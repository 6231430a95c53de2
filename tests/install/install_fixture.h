// A run with up to three MSI packages whose unpacked files the host installer knows: each
// installs its own product (registered under its package code) when the installer is called.
#pragma once

#include <string>
#include <vector>

#include "install/install_request.h"
#include "install/install_sequence.h"
#include "support/run_fixture.h"

namespace setup::testing {

class InstallTest : public RunTest {
 protected:
  static std::wstring ProductCode(int index) { return L"{AAAAAAA" + std::to_wstring(index) + L"-0000-0000-0000-000000000001}"; }
  static std::wstring PackageCode(int index) { return L"{BBBBBBB" + std::to_wstring(index) + L"-0000-0000-0000-000000000001}"; }
  static std::wstring PackageFile(int index) {
    return L"C:\\ProgramData\\Tarquel\\" + PackageCode(index) + L"\\package" + std::to_wstring(index) + L".msi";
  }

  // Appends `count` handled packages named "Product 0", "Product 1", ...; the first is the main one.
  void AddPackages(int count, bool is64Bit = true) {
    for (int i = 0; i < count; ++i) {
      SetupPackage package;
      package.main = i == 0;
      package.productName = L"Product " + std::to_wstring(i);
      package.productCode = ProductCode(i);
      package.packageCode = PackageCode(i);
      package.productId = L"QB::P";
      package.is64Bit = is64Bit;
      package.packageFolder = L"C:\\ProgramData\\Tarquel\\" + PackageCode(i);
      package.packageFile = PackageFile(i);
      package.handle = true;
      Run().packages.packages.push_back(package);
      Host().AddPackageFile(PackageFile(i), {ProductCode(i), {{L"PackageCode", PackageCode(i)}}});
    }
  }
  void MarkInstalled(int index) {
    Host().Installer().AddProduct({ProductCode(index), {{L"PackageCode", PackageCode(index)}}});
  }

  void RunSequence() { RunInstallSequence(Run(), request_); }

  // The property strings of the install calls, in call order, each with its package's number.
  std::vector<std::wstring> Calls() {
    std::vector<std::wstring> calls;
    for (const auto& call : Host().Installer().installCalls) {
      const std::wstring name = call.packagePath.substr(call.packagePath.size() - 5, 1);
      calls.push_back(name + L": " + call.properties);
    }
    return calls;
  }

  InstallRequest request_;
};

}  // namespace setup::testing
