#include "packages/newest_installation.h"

#include "foundation/format.h"
#include "foundation/registry_key.h"
#include "packages/installation_key.h"
#include "packages/product_record_comparison.h"

namespace setup {

namespace {

int LowestSearchedMajor(std::wstring_view code) {
  if (code == L"WK") return 1;
  if (code == L"PD" || code == L"PS") return 3;
  return 2018;
}

// Beyond any real product's major: the products numbered from 1 or 3 are far from 100, the
// year-like majors far from 2100. A larger major comes from damaged or hostile data (a
// workload's "productVersion" of 2147483647, say) and names no installation; searching down
// from it would open billions of keys.
int HighestSearchedMajor(std::wstring_view code) { return LowestSearchedMajor(code) < 2018 ? 100 : 2100; }

// The installation in the key when it qualifies: a version, the searched suite membership,
// and not newer than the searched record.
std::optional<ProductRecord> QualifyingInstallation(const DetectionContext& context, std::wstring_view keyPath,
                                                    const ProductRecord& searched) {
  ICBSRegistryKey key(*context.platform.registry);
  const std::uint32_t view = searched.Is64Bit() ? platform::kRegistryView64 : 0;
  if (!key.Open(platform::RegistryRoot::LocalMachine, keyPath, true, false, view)) return std::nullopt;
  const std::wstring version = key.ReadString(kSetupValueVersion);
  if (version.empty()) return std::nullopt;
  const bool fromSuite = key.ReadDword(kSetupValueFromSuite) != 0;
  if (fromSuite != searched.FromSuite()) return std::nullopt;
  const std::wstring searchedId = searched.ProductId();
  const std::wstring storedId = key.ReadString(kSetupValueProductId);
  const std::wstring productId = storedId.empty() ? searchedId : AttributedProductId(storedId, searchedId);
  ProductRecord found(productId, version, searched.Is64Bit(), key.ReadString(kSetupValueLanguage), fromSuite);
  if (Compare(searched, found) < 0) return std::nullopt;
  found.SetHasActiveXControl(
      HasActiveXControlBeside(*context.platform.files, key.ReadString(kSetupValueApplicationPath)));
  return found;
}

}  // namespace

std::optional<ProductRecord> FindNewestInstallation(const DetectionContext& context, const ProductRecord& record) {
  if (!record.HasEntry()) return std::nullopt;
  const std::wstring registryName = record.RegistryName();
  const std::wstring_view suffix = record.Is64Bit() ? L"_x64" : L"";
  const bool designer = record.Entry()->code == L"PD";
  if (record.MajorVersion() > HighestSearchedMajor(record.Entry()->code)) return std::nullopt;
  for (int major = record.MajorVersion(); major >= LowestSearchedMajor(record.Entry()->code); --major) {
    if (designer) {
      for (int release = 9; release >= 0; --release) {
        const std::wstring path = Format(L"SOFTWARE\\Tarquel\\%s\\Installation_v%d.%d%s\\Setup", registryName, major,
                                         release, suffix);
        if (auto found = QualifyingInstallation(context, path, record)) return found;
      }
    }
    const std::wstring path = Format(L"SOFTWARE\\Tarquel\\%s\\Installation_v%d%s\\Setup", registryName, major, suffix);
    if (auto found = QualifyingInstallation(context, path, record)) return found;
  }
  return std::nullopt;
}

}  // namespace setup
