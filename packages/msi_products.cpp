#include "packages/msi_products.h"

#include "foundation/format.h"

namespace setup {

std::optional<std::wstring> ReadMsiProductProperty(platform::Installer& installer, std::wstring_view productCode,
                                                   const MsiProductProperty& property) {
  return installer.GetProductInfo(productCode, property.name, property.bufferChars);
}

bool IsMsiProductInstalled(platform::Installer& installer, std::wstring_view productCode) {
  if (productCode.empty()) return false;
  for (std::uint32_t index = 0;; ++index) {
    const auto code = installer.EnumProducts(index);
    if (!code) return false;
    if (*code == productCode) return true;
  }
}

std::wstring ExpectedMsiVersionString(const ProductRecord& record) {
  const ProductVersion& v = record.Version();
  if (record.HasShortVersion()) {
    if (v.build != 0) return Format(L"%d.%d.%d.%d", v.major, v.release, v.servicePack, v.build);
    if (v.servicePack != 0) return Format(L"%d.%d.%d", v.major, v.release, v.servicePack);
    return Format(L"%d.%d", v.major, v.release);
  }
  if (v.build != 0) return Format(L"%d.%0.2d.%0.2d.%0.2d", v.major, v.release, v.servicePack, v.build);
  return Format(L"%d.%0.2d.%0.2d", v.major, v.release, v.servicePack);
}

const std::wstring& FindMsiProductCode(platform::Installer& installer, ProductRecord& record) {
  if (!record.MsiProductCode().empty()) return record.MsiProductCode();
  const std::wstring expectedId = record.ProductId();
  if (expectedId.empty()) return record.MsiProductCode();
  const std::wstring expectedVersion = ExpectedMsiVersionString(record);
  const bool anyBitness = expectedId.starts_with(L"YX::");
  for (std::uint32_t index = 0;; ++index) {
    const auto code = installer.EnumProducts(index);
    if (!code) break;
    if (ReadMsiProductProperty(installer, *code, kMsiProductId) != expectedId) continue;
    if (ReadMsiProductProperty(installer, *code, kMsiVersionString) != expectedVersion) continue;
    const auto name = ReadMsiProductProperty(installer, *code, kMsiProductName);
    if (!name) continue;
    const bool is64Bit = name->find(L"(x64)") != std::wstring::npos;
    if (is64Bit == record.Is64Bit() || anyBitness) {
      record.SetMsiProductCode(*code);
      break;
    }
  }
  return record.MsiProductCode();
}

}  // namespace setup
