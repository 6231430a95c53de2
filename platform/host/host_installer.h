// Host stand-in of the installer port: a table of installed products with their properties,
// package files that install a product when the test has said which one, messages a package
// sends to the external handler, and a record of every call with its exact arguments, in
// order. Any call can be told to fail with a given code.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/installer.h"

namespace setup::platform::host {

struct EnableLogCall {
  std::uint32_t logMode;
  std::wstring path;
  std::uint32_t attributes;
};

struct InstallProductCall {
  std::wstring packagePath;
  std::wstring properties;  // byte for byte as passed
  std::int32_t uiLevel;     // the internal UI level in force at the call
};

struct ReinstallProductCall {
  std::wstring productCode;
  std::uint32_t reinstallMode;
  std::int32_t uiLevel;
};

struct ExternalUiCall {
  InstallerMessageHandler* handler;
  std::uint32_t filter;
};

// A message that installing a package sends, and what the handler answered.
struct InstallerMessage {
  std::uint32_t type;
  std::wstring text;
};
struct AnsweredMessage {
  InstallerMessage message;
  int answer;
};

struct ProductInfoCall {
  std::wstring productCode;
  std::wstring property;
  std::size_t bufferChars;
};

// An installed product: its code and the installer's product properties ("ProductID",
// "VersionString", "ProductName", "PackageCode", "InstallSource", ...).
struct HostInstalledProduct {
  std::wstring productCode;
  std::map<std::wstring, std::wstring> properties;
};

class HostInstaller : public Installer {
 public:
  std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) override;
  std::int32_t SetInternalUi(std::int32_t uiLevel) override;
  InstallerMessageHandler* SetExternalUi(InstallerMessageHandler* handler, std::uint32_t filter) override;
  std::uint32_t InstallProduct(std::wstring_view packagePath, std::wstring_view properties) override;
  std::uint32_t ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) override;
  std::optional<std::wstring> EnumProducts(std::uint32_t index) override;
  std::optional<std::wstring> GetProductInfo(std::wstring_view productCode, std::wstring_view property,
                                             std::size_t bufferChars) override;

  // Arranging the machine. Adding a product that is already there replaces its properties.
  void AddProduct(HostInstalledProduct product);
  bool RemoveProduct(std::wstring_view productCode);
  const HostInstalledProduct* FindProduct(std::wstring_view productCode) const;
  // What installing the package file puts on the machine.
  void AddPackageFile(std::wstring path, HostInstalledProduct product) { packageFiles_[std::move(path)] = product; }
  // Every later call on the package file (or the product code, for a reinstall) returns `code`.
  void SetResult(std::wstring pathOrProductCode, std::uint32_t code) { results_[std::move(pathOrProductCode)] = code; }
  // The install call with this number (from 0, counting every InstallProduct call) returns
  // `code` and changes nothing.
  void FailInstallCall(std::size_t callNumber, std::uint32_t code) { failedInstallCalls_[callNumber] = code; }
  // Installing the package file sends this message to the external handler, when the
  // handler's filter lets its type through.
  void AddPackageMessage(const std::wstring& path, InstallerMessage message) {
    packageMessages_[path].push_back(std::move(message));
  }

  // The name of every call that acts on products or sets up the next one ("EnableLog",
  // "SetInternalUi", "SetExternalUi", "InstallProduct", "ReinstallProduct"), in call order.
  std::vector<std::string> callOrder;
  std::vector<EnableLogCall> enableLogCalls;
  std::vector<ExternalUiCall> externalUiCalls;
  std::vector<AnsweredMessage> answeredMessages;
  std::vector<std::int32_t> internalUiCalls;
  std::vector<InstallProductCall> installCalls;
  std::vector<ReinstallProductCall> reinstallCalls;
  std::vector<ProductInfoCall> productInfoCalls;
  // Runs after each install call that changed the machine: what the package itself writes
  // (registry values, for example).
  std::function<void(const InstallProductCall&)> onInstalled;
  // Calls of the enumeration with index 0, that is, enumerations begun.
  int enumerationsStarted = 0;
  std::int32_t uiLevel = 5;
  InstallerMessageHandler* messageHandler = nullptr;
  std::uint32_t messageFilter = 0;

 private:
  std::optional<std::uint32_t> ArrangedResult(std::wstring_view key) const;
  void SendPackageMessages(const std::wstring& path);

  // Windows Installer finds a product by its code in any letter case, in constant time.
  std::map<std::wstring, HostInstalledProduct> products_;  // by upper-cased product code
  std::vector<std::wstring> enumerationOrder_;            // the codes as added
  std::map<std::wstring, HostInstalledProduct> packageFiles_;
  std::map<std::wstring, std::uint32_t> results_;
  std::map<std::size_t, std::uint32_t> failedInstallCalls_;
  std::map<std::wstring, std::vector<InstallerMessage>> packageMessages_;
};

}  // namespace setup::platform::host
