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
  enableLogCalls.push_back({logMode, std::wstring(path), attributes});
  return kInstallerSuccess;
}

std::int32_t HostInstaller::SetInternalUi(std::int32_t level) {
  internalUiCalls.push_back(level);
  return std::exchange(uiLevel, level);
}

std::uint32_t HostInstaller::InstallProduct(std::wstring_view packagePath, std::wstring_view properties) {
  installCalls.push_back({std::wstring(packagePath), std::wstring(properties), uiLevel});
  const std::uint32_t result = ArrangedResult(packagePath).value_or(kInstallerSuccess);
  if (!IsInstallerSuccess(result)) return result;
  const auto package = packageFiles_.find(std::wstring(packagePath));
  if (package == packageFiles_.end()) return kInstallerPackageOpenFailed;
  if (AsksForRemoval(properties)) {
    RemoveProduct(package->second.productCode);
  } else {
    AddProduct(package->second);
  }
  return result;
}

std::uint32_t HostInstaller::ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) {
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

}  // namespace setup::platform::host
