#include "packages/default_install_folder.h"

#include <optional>
#include <string_view>

#include "foundation/format.h"
#include "packages/product_catalogue.h"

namespace setup {
namespace {

constexpr int kCorbielRow = 5;
constexpr int kCorbielEnterpriseRow = 17;
constexpr int kMebrantRow = 10;
constexpr int kDesignerRow = 23;
constexpr int kTrandelServerDevEnterpriseRow = 26;
constexpr int kTrandelServerDevProfessionalRow = 27;
constexpr int kTrandelEnterpriseRow = 6;
constexpr int kTrandelProfessionalRow = 7;
constexpr int kPellomarServerRow = 28;
constexpr int kPellomarServerAdvancedRow = 43;
constexpr int kYarrickXbrlServerRow = 29;
constexpr int kYarrickServerRow = 30;
constexpr int kYarrickServerDevRow = 31;
constexpr int kWendrakRow = 32;
constexpr int kWendrakOfflineRow = 33;

// The development editions of the data-mapping server install beside the desktop product.
int FolderRow(const CatalogueEntry& entry) {
  switch (entry.primaryIndex) {
    case kTrandelServerDevEnterpriseRow: return kTrandelEnterpriseRow;
    case kTrandelServerDevProfessionalRow: return kTrandelProfessionalRow;
    default: return entry.primaryIndex;
  }
}

// Folder names that differ from the family's registry name.
std::optional<std::wstring_view> SpecialFolderName(int row, const ProductRecord& record) {
  switch (row) {
    case kCorbielRow:
    case kCorbielEnterpriseRow: return L"Corbiel";
    case kMebrantRow:
      if (record.ProductId() == L"MB::S") return L"MebrantServer";
      return record.FromSuite() ? L"Mebrant" : L"MebrantClient";
    case kPellomarServerRow:
    case kPellomarServerAdvancedRow: return L"PellomarServer";
    case kYarrickXbrlServerRow: return L"YarrickXBRLServer";
    case kYarrickServerRow: return L"YarrickServer";
    case kYarrickServerDevRow: return L"YarrickServerDev";
    case kWendrakRow: return L"Wendrak";
    case kWendrakOfflineRow: return L"WendrakOffline";
    default: return std::nullopt;
  }
}

std::wstring VersionSuffix(int row, const ProductRecord& record) {
  switch (row) {
    case kPellomarServerRow:
    case kPellomarServerAdvancedRow:
    case kWendrakRow:
    case kWendrakOfflineRow: return {};
    case kDesignerRow:
      if (record.MajorVersion() > 7) return Format(L"%d.%d", record.MajorVersion(), record.Version().release);
      return Format(L"%d", record.MajorVersion());
    default: return Format(L"%d", record.MajorVersion());
  }
}

// A 32-bit process is handed "Program Files (x86)" even when it asks for the native folder.
void RemoveX86Marks(std::wstring& path) {
  constexpr std::wstring_view kMark = L" (x86)";
  for (std::size_t at = path.find(kMark); at != std::wstring::npos; at = path.find(kMark, at)) {
    path.erase(at, kMark.size());
  }
}

}  // namespace

std::wstring DefaultInstallFolder(const ProductRecord& record, const platform::FileSystem& files,
                                  bool systemIs64Bit) {
  if (!record.HasEntry()) return {};
  const int row = FolderRow(*record.Entry());
  const CatalogueEntry* folderEntry = CatalogueEntryAt(row);
  const ProductFamily* family = folderEntry ? EntryFamily(*folderEntry) : nullptr;
  if (!family) return {};

  const bool wants32BitFolder = systemIs64Bit && !record.Is64Bit();
  std::wstring folder = files.KnownFolderPath(wants32BitFolder ? platform::KnownFolder::ProgramFilesX86
                                                               : platform::KnownFolder::ProgramFiles);
  if (folder.empty()) return {};
  if (record.Is64Bit()) RemoveX86Marks(folder);

  folder += L"\\Tarquel\\";
  folder += SpecialFolderName(row, record).value_or(family->registryName);
  folder += VersionSuffix(row, record);
  return folder;
}

}  // namespace setup
