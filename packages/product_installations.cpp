#include "packages/product_installations.h"

#include <algorithm>

#include "foundation/registry_key.h"
#include "foundation/text.h"
#include "packages/installation_key.h"
#include "packages/product_catalogue.h"
#include "packages/product_key_paths.h"

namespace setup {

namespace {

constexpr std::wstring_view kInstallationKeyPrefix = L"Installation_";

std::wstring_view LastComponent(std::wstring_view path) { return path.substr(path.rfind(L'\\') + 1); }

// Appends the installations found below the base key opened in one view.
void CollectInstallations(const DetectionContext& context, std::wstring_view baseKeyPath, std::wstring_view searchedId,
                          std::uint32_t viewFlags, std::vector<ProductRecord>& installations) {
  ICBSRegistryKey baseKey(*context.platform.registry);
  if (!baseKey.Open(platform::RegistryRoot::LocalMachine, baseKeyPath, true, false, viewFlags)) return;
  for (const ICBSRegistryKey& subkey : baseKey.EnumerateSubkeys()) {
    if (!StartsWithIgnoreCase(LastComponent(subkey.KeyPath()), kInstallationKeyPrefix)) continue;
    ICBSRegistryKey setupKey(*context.platform.registry);
    if (!setupKey.Open(platform::RegistryRoot::LocalMachine, subkey.KeyPath() + L"\\Setup", true, false, viewFlags)) {
      continue;
    }
    if (auto installation = ReadInstallation(setupKey, searchedId, *context.platform.files)) {
      installations.push_back(std::move(*installation));
    }
  }
}

// The 64-bit registration of a spreadsheet add-in hides the 32-bit one of the same version.
void DropAddInTwins(std::vector<ProductRecord>& installations) {
  for (bool removed = true; removed;) {
    removed = false;
    for (const ProductRecord& addIn : installations) {
      if (!addIn.Is64Bit() || !addIn.ProductId().starts_with(L"YX::")) continue;
      const std::wstring id = addIn.ProductId();
      const ProductVersion version = addIn.Version();
      removed = std::erase_if(installations, [&](const ProductRecord& other) {
                  return !other.Is64Bit() && other.ProductId() == id && other.Version() == version;
                }) > 0;
      if (removed) break;
    }
  }
}

}  // namespace

std::vector<ProductRecord> FindInstallations(const DetectionContext& context, const ProductRecord& record) {
  std::vector<ProductRecord> installations;
  const std::wstring baseKeyPath = ProductBaseKeyPath(record);
  if (baseKeyPath.empty()) return installations;
  const std::wstring searchedId = record.ProductId();
  CollectInstallations(context, baseKeyPath, searchedId, 0, installations);
  if (context.is64BitSystem) {
    CollectInstallations(context, baseKeyPath, searchedId, platform::kRegistryView64, installations);
    DropAddInTwins(installations);
  }
  return installations;
}

std::vector<ProductRecord> BaseProductInstallations(const DetectionContext& context, const ProductRecord& record) {
  if (!record.IsIntegrationPackage() && !record.IsAddOn()) return {};
  const CatalogueEntry* base = CatalogueEntryAt(record.Entry()->primaryIndex);
  if (!base) return {};
  const ProductRecord baseProduct(std::wstring(base->code) + L"::" + std::wstring(base->edition),
                                  record.FullVersionString(), record.Is64Bit(), record.Language(), false);
  return FindInstallations(context, baseProduct);
}

}  // namespace setup
