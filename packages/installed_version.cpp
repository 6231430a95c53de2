#include "packages/installed_version.h"

#include "foundation/registry_key.h"
#include "foundation/text.h"
#include "packages/installation_key.h"
#include "packages/product_key_paths.h"
#include "packages/version_component.h"

namespace setup {

namespace {

bool OpenSetupKey(const ProductRecord& record, ICBSRegistryKey& key) {
  const std::wstring path = ProductSetupKeyPath(record);
  const std::uint32_t view = record.Is64Bit() ? platform::kRegistryView64 : 0;
  return !path.empty() && key.Open(platform::RegistryRoot::LocalMachine, path, true, false, view);
}

// The version by plain splitting at ".": a missing major reads as -1, a missing later
// component as 0, and the third component is taken whole.
ProductVersion SplitVersion(std::wstring_view text) {
  ProductVersion version;
  if (text.empty()) return version;
  const std::vector<std::wstring_view> parts = Split(text, L'.');
  const auto component = [&](std::size_t i) { return i < parts.size() ? VersionComponentNumber(parts[i]) : 0; };
  version.major = component(0);
  version.release = component(1);
  version.servicePack = component(2);
  version.build = component(3);
  return version;
}

std::wstring_view ParentFolder(std::wstring_view path) {
  // Windows accepts either separator; an installer that wrote '/' still names a folder.
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring_view::npos ? std::wstring_view() : path.substr(0, separator);
}

}  // namespace

bool HasExactVersionInstalled(const DetectionContext& context, const ProductRecord& record) {
  ICBSRegistryKey key(*context.platform.registry);
  if (!OpenSetupKey(record, key)) return false;
  const ProductVersion installed = SplitVersion(key.ReadString(kSetupValueVersion));
  const std::wstring id = record.ProductId();
  const std::wstring installedId = AttributedProductId(key.ReadString(kSetupValueProductId), id);
  const ProductVersion& wanted = record.Version();
  return installed.major == wanted.major && installed.release == wanted.release &&
         installed.servicePack == wanted.servicePack && installedId == id;
}

std::wstring InstalledFolder(const DetectionContext& context, const ProductRecord& record) {
  ICBSRegistryKey key(*context.platform.registry);
  if (!OpenSetupKey(record, key)) return {};
  const std::wstring applicationPath = key.ReadString(kSetupValueApplicationPath);
  const std::wstring_view folder = ParentFolder(applicationPath);
  return std::wstring(record.IsServerProduct() ? ParentFolder(folder) : folder);
}

}  // namespace setup
