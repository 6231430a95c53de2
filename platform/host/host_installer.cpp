#include "platform/host/host_installer.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace setup::platform::host {

namespace {

std::wstring UpperCase(std::wstring_view text) {
  std::wstring upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return std::towupper(c); });
  return upper;
}

// The property string asks for removal: an item "REMOVE=ALL" (the name ignoring case).
bool AsksForRemoval(std::wstring_view properties) {
  const std::wstring upper = UpperCase(properties);
  const std::size_t at = upper.find(L"REMOVE=ALL");
  return at != std::wstring::npos && (at == 0 || upper[at - 1] == L' ');
}

}  // namespace

std::uint32_t HostInstaller::EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) {
  callOrder.emplace_back("EnableLog");
  enableLogCalls.push_back({logMode, std::wstring(path), attributes});
  return kInstallerSuccess;
}

std::int32_t HostInstaller::SetInternalUi(std::int32_t level) {
  callOrder.emplace_back("SetInternalUi");
  internalUiCalls.push_back(level);
  return std::exchange(uiLevel, level);
}

InstallerMessageHandler* HostInstaller::SetExternalUi(InstallerMessageHandler* handler, std::uint32_t filter) {
  callOrder.emplace_back("SetExternalUi");
  externalUiCalls.push_back({handler, filter});
  messageFilter = filter;
  return std::exchange(messageHandler, handler);
}

std::uint32_t HostInstaller::InstallProduct(std::wstring_view packagePath, std::wstring_view properties) {
  callOrder.emplace_back("InstallProduct");
  const std::size_t callNumber = installCalls.size();
  installCalls.push_back({std::wstring(packagePath), std::wstring(properties), uiLevel});
  SendPackageMessages(std::wstring(packagePath));
  if (const auto failed = failedInstallCalls_.find(callNumber); failed != failedInstallCalls_.end()) {
    return failed->second;
  }
  const std::uint32_t result = ArrangedResult(packagePath).value_or(kInstallerSuccess);
  if (!IsInstallerSuccess(result)) return result;
  const auto package = packageFiles_.find(std::wstring(packagePath));
  if (package == packageFiles_.end()) return kInstallerPackageOpenFailed;
  if (AsksForRemoval(properties)) {
    RemoveProduct(package->second.productCode);
  } else {
    AddProduct(package->second);
  }
  if (onInstalled) onInstalled(installCalls.back());
  return result;
}

std::uint32_t HostInstaller::ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) {
  callOrder.emplace_back("ReinstallProduct");
  reinstallCalls.push_back({std::wstring(productCode), reinstallMode, uiLevel});
  if (const auto arranged = ArrangedResult(productCode)) return *arranged;
  return FindProduct(productCode) ? kInstallerSuccess : kInstallerUnknownProduct;
}

std::optional<std::wstring> HostInstaller::EnumProducts(std::uint32_t index) {
  if (index == 0) ++enumerationsStarted;
  if (index >= enumerationOrder_.size()) return std::nullopt;
  return enumerationOrder_[index];
}

std::optional<std::wstring> HostInstaller::GetProductInfo(std::wstring_view productCode, std::wstring_view property,
                                                          std::size_t bufferChars) {
  productInfoCalls.push_back({std::wstring(productCode), std::wstring(property), bufferChars});
  const HostInstalledProduct* product = FindProduct(productCode);
  if (!product) return std::nullopt;
  const auto value = product->properties.find(std::wstring(property));
  if (value == product->properties.end() || value->second.size() >= bufferChars) return std::nullopt;
  return value->second;
}

void HostInstaller::AddProduct(HostInstalledProduct product) {
  const std::wstring key = UpperCase(product.productCode);
  if (!products_.contains(key)) enumerationOrder_.push_back(product.productCode);
  products_[key] = std::move(product);
}

bool HostInstaller::RemoveProduct(std::wstring_view productCode) {
  const auto found = products_.find(UpperCase(productCode));
  if (found == products_.end()) return false;
  std::erase(enumerationOrder_, found->second.productCode);
  products_.erase(found);
  return true;
}

const HostInstalledProduct* HostInstaller::FindProduct(std::wstring_view productCode) const {
  const auto found = products_.find(UpperCase(productCode));
  return found == products_.end() ? nullptr : &found->second;
}

std::optional<std::uint32_t> HostInstaller::ArrangedResult(std::wstring_view key) const {
  const auto found = results_.find(std::wstring(key));
  return found == results_.end() ? std::nullopt : std::optional(found->second);
}

void HostInstaller::SendPackageMessages(const std::wstring& path) {
  const auto messages = packageMessages_.find(path);
  if (messages == packageMessages_.end()) return;
  for (const InstallerMessage& message : messages->second) {
    const std::uint32_t kind = (message.type & kInstallMessageTypeMask) >> 24;
    const std::uint32_t kindBit = kind < 32 ? 1u << kind : 0;
    // A message the handler does not take is handled by the installer itself (answer 0).
    const bool routed = messageHandler && (messageFilter & kindBit) != 0;
    answeredMessages.push_back({message, routed ? messageHandler->HandleMessage(message.type, message.text) : 0});
  }
}

}  // namespace setup::platform::host
