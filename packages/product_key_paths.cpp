#include "packages/product_key_paths.h"

#include "foundation/format.h"

namespace setup {

std::wstring ProductBaseKeyPath(const ProductRecord& record) {
  if (!record.HasEntry()) return {};
  return Format(L"SOFTWARE\\Tarquel\\%s", record.RegistryName());
}

std::wstring ProductSetupKeyPath(const ProductRecord& record) {
  if (!record.HasEntry()) return {};
  const std::wstring_view suffix = record.Is64Bit() ? L"_x64" : L"";
  if (record.Entry()->code == L"PD") {
    return Format(L"SOFTWARE\\Tarquel\\%s\\Installation_v%d.%d%s\\Setup", record.RegistryName(),
                  record.MajorVersion(), record.Version().release, suffix);
  }
  return Format(L"SOFTWARE\\Tarquel\\%s\\Installation_v%d%s\\Setup", record.RegistryName(), record.MajorVersion(),
                suffix);
}

}  // namespace setup
