// A launcher run with server packages: the packages, the machine's services and
// configuration files, and the entries built from them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/file_utilities.h"
#include "foundation/property_encryption.h"
#include "server_config/service_command_line.h"
#include "server_config/service_entries.h"
#include "server_config/service_properties.h"
#include "support/run_fixture.h"

namespace setup::testing {

// Answers the password dialog with a fixed reply and counts the questions.
class FakePasswordPrompt : public ServicePasswordPrompt {
 public:
  std::optional<std::wstring> AskPassword(std::wstring_view displayName, std::wstring_view userName) override {
    asked.push_back(std::wstring(displayName) + L"|" + std::wstring(userName));
    return reply;
  }
  std::optional<std::wstring> reply;
  std::vector<std::wstring> asked;
};

class ServiceTest : public RunTest {
 protected:
  // A package of that product name, handled by the run; the version gives its major version.
  SetupPackage& AddPackage(std::wstring name, std::wstring productId = L"BR::A", std::wstring version = L"2023.0.1.0",
                           bool is64Bit = false) {
    SetupPackage package;
    package.productName = std::move(name);
    package.is64Bit = is64Bit;
    package.handle = true;
    package.products.emplace_back(productId, version, is64Bit, L"", false);
    packages_.packages.push_back(std::move(package));
    return packages_.packages.back();
  }

  // Writes the file, making its folders first.
  void WriteFile(std::wstring_view path, std::string_view text) {
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(path.substr(0, path.rfind(L'\\'))));
    ASSERT_TRUE(host_.Files().WriteFile(path, text));
  }

  // The entries as the service page has them on its first display.
  std::vector<ServiceEntry>& Entries(std::vector<std::wstring> arguments = {}) {
    arguments.insert(arguments.begin(), {L"/L*v", kLogPath});
    Start(arguments);
    entries_ = BuildServiceEntries(host_, packages_);
    PairServiceEntries(entries_);
    ApplyCommandLine(entries_, packages_, commandLine_.Properties());
    return entries_;
  }

  std::optional<std::wstring> Build(bool attended = true) {
    return BuildProperties(Run(), entries_, prompt_, encryption_, attended);
  }

  std::wstring Encrypted(std::wstring_view password) { return encryption_.EncryptPropertyValue(password); }

  std::vector<ServiceEntry> entries_;
  FakePasswordPrompt prompt_;
  PropertyEncryption encryption_{host_.Crypto()};
};

}  // namespace setup::testing
