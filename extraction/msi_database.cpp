#include "extraction/msi_database.h"

#include <set>

#include "extraction/msi_database_query.h"
#include "foundation/file_utilities.h"
#include "foundation/path.h"
#include "platform/installer.h"

namespace setup {

namespace {

constexpr std::size_t kErrorBufferChars = 1024;

// File attribute bits of the File table.
constexpr std::int32_t kFileNonCompressed = 0x2000;
constexpr std::int32_t kFileCompressed = 0x4000;

// Fields of a "_TransformView" row, of a File row and of the Media query below.
constexpr std::uint32_t kViewTable = 1;
constexpr std::uint32_t kViewColumn = 2;
constexpr std::uint32_t kViewRow = 3;
constexpr std::uint32_t kFileName = 3;
constexpr std::uint32_t kFileAttributes = 7;
constexpr std::uint32_t kFileSequence = 8;
constexpr std::uint32_t kMediaLastSequence = 1;
constexpr std::uint32_t kMediaCabinet = 2;

std::wstring Child(std::wstring_view folder, std::wstring_view name) {
  return ICBSFilePath(ICBSFolderPath(std::wstring(folder)), name).FullText();
}

}  // namespace

ICBSMSIDatabase::ICBSMSIDatabase(platform::Platform& platform, std::wstring path, bool create)
    : platform_(platform), databases_(*platform.databases), path_(std::move(path)), modified_(create) {
  const std::uint32_t mode = create ? platform::kDatabaseCreateDirect : platform::kDatabaseOpenDirect;
  if (databases_.OpenDatabase(path_, mode, handle_) != platform::kInstallerSuccess) {
    handle_ = 0;
    modified_ = false;
    TakeLastError();
  }
}

ICBSMSIDatabase::~ICBSMSIDatabase() {
  Commit();
  if (handle_ != 0) databases_.CloseHandle(handle_);
}

bool ICBSMSIDatabase::Commit() {
  if (!modified_ || handle_ == 0) return true;
  modified_ = false;
  if (databases_.Commit(handle_) == platform::kInstallerSuccess) return true;
  TakeLastError();
  return false;
}

void ICBSMSIDatabase::TakeLastError() {
  lastError_.clear();
  const platform::DatabaseHandle record = databases_.LastErrorRecord();
  if (record == 0) return;
  platform::DatabaseText text = databases_.FormatRecord(record, kErrorBufferChars);
  if (text.result == platform::kInstallerMoreData) text = databases_.FormatRecord(record, text.length + 1);
  if (text.result == platform::kInstallerSuccess) lastError_ = std::move(text.text);
  databases_.CloseHandle(record);
}

bool ICBSMSIDatabase::ApplyTransform(std::wstring_view transformPath) {
  if (databases_.ApplyTransform(handle_, transformPath, platform::kTransformViewOnly) != platform::kInstallerSuccess) {
    return false;
  }
  if (databases_.ApplyTransform(handle_, transformPath, 0) != platform::kInstallerSuccess) return false;
  modified_ = true;
  return true;
}

bool ICBSMSIDatabase::ApplyTransforms(const std::vector<std::wstring>& transforms, std::wstring_view sourceFolder,
                                      std::wstring_view destinationFolder) {
  for (std::wstring_view transform : transforms) {
    // A transform stored inside the package itself cannot be merged into it.
    if (transform.starts_with(L':')) return false;
    if (transform.starts_with(L'@') || transform.starts_with(L'|')) transform.remove_prefix(1);
    if (!ApplyTransform(transform)) return false;
  }
  return CopyAddedFiles(sourceFolder, destinationFolder);
}

bool ICBSMSIDatabase::CopyAddedFiles(std::wstring_view sourceFolder, std::wstring_view destinationFolder) {
  bool result = true;
  std::set<std::wstring> copiedCabinets;
  ICBSMSIDatabaseQuery changes(*this, L"SELECT * FROM _TransformView");
  while (changes.Fetch()) {
    if (changes.StringField(kViewTable) != L"File" || changes.StringField(kViewColumn) != L"INSERT") continue;
    if (!CopyAddedFile(changes.StringField(kViewRow), sourceFolder, destinationFolder, copiedCabinets)) result = false;
  }
  return result;
}

bool ICBSMSIDatabase::CopyAddedFile(std::wstring_view fileKey, std::wstring_view sourceFolder,
                                    std::wstring_view destinationFolder, std::set<std::wstring>& copiedCabinets) {
  ICBSMSIDatabaseQuery file(*this, L"SELECT * FROM File WHERE File=?", {fileKey});
  if (!file.Fetch()) return false;
  ICBSFileUtilities files(platform_);
  // A null field reads as the lowest integer, which has neither bit.
  const std::int32_t attributes = file.IntegerField(kFileAttributes);
  if (attributes & kFileNonCompressed) {
    const std::wstring name = file.StringField(kFileName);
    return files.CopyFile(Child(sourceFolder, name), Child(destinationFolder, name), true);
  }
  if (!(attributes & kFileCompressed)) return false;
  const std::int32_t sequence = file.IntegerField(kFileSequence);
  ICBSMSIDatabaseQuery media(*this, L"SELECT LastSequence, Cabinet FROM Media");
  while (media.Fetch()) {
    if (media.IntegerField(kMediaLastSequence) < sequence) continue;
    const std::wstring cabinet = media.StringField(kMediaCabinet);
    // A cabinet named "#..." is a stream of the package itself: nothing lies beside it. A
    // cabinet that holds several added files is copied once.
    if (cabinet.starts_with(L'#') || copiedCabinets.contains(cabinet)) return true;
    if (!files.CopyFile(Child(sourceFolder, cabinet), Child(destinationFolder, cabinet), true)) return false;
    copiedCabinets.insert(cabinet);
    return true;
  }
  return false;
}

}  // namespace setup
