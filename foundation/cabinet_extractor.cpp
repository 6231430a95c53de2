#include "foundation/cabinet_extractor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/cabinet_entry_name.h"
#include "foundation/cabinet_stream_table.h"
#include "foundation/file_utilities.h"

namespace setup {

namespace {

using platform::CabinetNotification;
using platform::CabinetNotificationData;

// The cabinet's length comes first in a package resource.
constexpr std::size_t kLengthPrefixSize = 4;
// Target paths are formed in a buffer of 260 characters, as the system's path limit.
constexpr std::size_t kTargetPathBuffer = 260;
// Progress of a file-held cabinet is reported for the stream that reads the cabinet's data.
constexpr std::intptr_t kCabinetDataStream = 1;
constexpr std::intptr_t kSkipEntry = 0;
constexpr std::intptr_t kAbortCopy = -1;
// What a read callback returns for a read that failed.
constexpr unsigned kReadFailed = static_cast<unsigned>(-1);

// The state of the running extraction, shared with the callbacks.
struct ExtractionState {
  platform::Platform* platform = nullptr;
  const std::byte* resource = nullptr;  // the resource, at its length prefix
  std::uint32_t cabinetLength = 0;      // never more than the resource holds
  ICBSCabinetProgressCallbacks* sink = nullptr;
  const std::atomic<bool>* cancelRequested = nullptr;
  bool diskFull = false;
  bool writeFellShort = false;
  std::vector<std::wstring> createdFiles;
};

ExtractionState g_state;
CabinetStreamTable g_streams;

std::uint32_t LittleEndian32(const std::byte* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

int Percent(std::uint64_t done, std::uint64_t total) {
  return total == 0 ? 0 : static_cast<int>(static_cast<double>(done) * 100.0 / static_cast<double>(total));
}

std::wstring ParentFolder(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, separator));
}

std::intptr_t OpenMemoryStream() {
  auto stream = std::make_unique<CabinetStream>();
  stream->kind = CabinetStream::Kind::Memory;
  stream->memory = g_state.resource;
  stream->length = g_state.cabinetLength;
  stream->sink = g_state.sink;
  return g_streams.Insert(std::move(stream));
}

std::intptr_t OpenFileStream(const char* path, int openFlags, int permissionFlags) {
  const bool create = (openFlags & platform::kCabinetOpenCreate) != 0;
  const std::wstring widePath = g_state.platform->files->FromAnsi(path);
  if (create && g_state.sink) g_state.sink->OnFileStart(widePath);

  std::uint32_t access = 0;
  std::uint32_t share = 0;
  switch (openFlags & platform::kCabinetOpenAccessMask) {
    case platform::kCabinetOpenWriteOnly:
      access = platform::kGenericWrite;
      share = platform::kShareWrite;
      break;
    case platform::kCabinetOpenReadWrite:
      access = platform::kGenericRead | platform::kGenericWrite;
      share = platform::kShareRead | platform::kShareWrite;
      break;
    default: break;
  }
  if (permissionFlags & platform::kCabinetPermitRead) {
    access |= platform::kGenericRead;
    share |= platform::kShareRead;
  }
  if (permissionFlags & platform::kCabinetPermitWrite) {
    access |= platform::kGenericWrite;
    share |= platform::kShareWrite;
  }

  ICBSFileUtilities files(*g_state.platform);
  const std::wstring folder = ParentFolder(widePath);
  if (!folder.empty() && !files.FolderExists(folder)) files.CreateFolderTree(folder);

  auto file = g_state.platform->files->OpenStream(
      widePath, access, share,
      create ? platform::StreamDisposition::CreateAlways : platform::StreamDisposition::OpenExisting);
  if (!file) return -1;
  if (create) g_state.createdFiles.push_back(widePath);
  auto stream = std::make_unique<CabinetStream>();
  stream->file = std::move(file);
  stream->sink = g_state.sink;
  return g_streams.Insert(std::move(stream));
}

std::intptr_t OpenCallback(char* path, int openFlags, int permissionFlags) {
  // Every read-only open during a resource extraction reads the resource, whatever its name.
  if ((openFlags & platform::kCabinetOpenCreate) == 0 && g_state.resource) return OpenMemoryStream();
  return OpenFileStream(path, openFlags, permissionFlags);
}

unsigned ReadCallback(std::intptr_t number, void* buffer, unsigned count) {
  CabinetStream* stream = g_streams.Find(number);
  if (!stream) return 0;
  if (g_state.cancelRequested && *g_state.cancelRequested) return kReadFailed;
  if (stream->kind == CabinetStream::Kind::Memory) {
    const std::uint32_t available = stream->position < stream->length ? stream->length - stream->position : 0;
    const std::uint32_t n = std::min<std::uint32_t>(available, count);
    if (n > 0) std::memcpy(buffer, stream->memory + kLengthPrefixSize + stream->position, n);
    stream->position += n;
    if (stream->sink) {
      stream->sink->OnBytes(stream->position);
      stream->sink->OnPercent(Percent(stream->position, stream->length));
    }
    return n;
  }
  if (stream->fileSize == 0) stream->fileSize = stream->file->Size().value_or(0);
  const std::uint32_t n = stream->file->Read(buffer, count);
  stream->totalRead += n;
  if (number == kCabinetDataStream && stream->sink) {
    stream->sink->OnBytes(static_cast<unsigned>(stream->totalRead));
    stream->sink->OnPercent(Percent(stream->totalRead, stream->fileSize));
  }
  return n;
}

unsigned WriteCallback(std::intptr_t number, void* buffer, unsigned count) {
  CabinetStream* stream = g_streams.Find(number);
  if (!stream || stream->kind != CabinetStream::Kind::File) return 0;
  const platform::StreamWriteResult result = stream->file->Write(buffer, count);
  if (result.diskFull) g_state.diskFull = true;
  if (result.written != count) g_state.writeFellShort = true;
  return result.written;
}

int CloseCallback(std::intptr_t number) { return g_streams.Remove(number) ? 0 : -1; }

long SeekCallback(std::intptr_t number, long offset, int origin) {
  CabinetStream* stream = g_streams.Find(number);
  if (!stream) return -1;
  if (stream->kind == CabinetStream::Kind::File) {
    const auto position =
        stream->file->Seek(static_cast<std::int32_t>(offset), static_cast<platform::SeekOrigin>(origin));
    return position ? static_cast<long>(*position) : -1;
  }
  switch (origin) {
    case platform::kCabinetSeekSet: stream->position = static_cast<std::uint32_t>(offset); break;
    case platform::kCabinetSeekCurrent: stream->position += static_cast<std::uint32_t>(offset); break;
    case platform::kCabinetSeekEnd: stream->position = stream->length + static_cast<std::uint32_t>(offset); break;
    default: break;
  }
  return static_cast<long>(stream->position);
}

constexpr platform::CabinetFileCallbacks kFileCallbacks{OpenCallback, ReadCallback, WriteCallback, CloseCallback,
                                                        SeekCallback};

// "<destination>\<entry name>", cut to the path buffer; -1 (abort: a damaged cabinet) for a
// name that would leave the destination.
std::intptr_t OpenTarget(const std::string& destination, const char* entryName) {
  std::string target = destination + "\\" + entryName;
  if (target.size() >= kTargetPathBuffer) target.resize(kTargetPathBuffer - 1);
  const std::string_view stored = std::string_view(target).substr(std::min(target.size(), destination.size() + 1));
  if (target.size() <= destination.size() + 1 || !IsContainedCabinetEntryName(stored)) return kAbortCopy;
  return OpenCallback(target.data(), platform::kCabinetOpenWriteOnly | platform::kCabinetOpenCreate, 0);
}

std::intptr_t CloseTarget(const CabinetNotificationData& data) {
  CabinetStream* stream = g_streams.Find(data.stream);
  if (stream && stream->kind == CabinetStream::Kind::File) {
    stream->file->SetCreationTimeFromLocalDosTime(data.date, data.time);
  }
  CloseCallback(data.stream);
  return 1;
}

}  // namespace

const platform::CabinetFileCallbacks& CabinetExtractorFileCallbacks() { return kFileCallbacks; }

struct CabinetNotifications {
  static std::intptr_t Notify(CabinetNotification type, const CabinetNotificationData& data) {
    switch (type) {
      case CabinetNotification::CopyFile:
        if (!data.userData) return kSkipEntry;
        return OpenTarget(static_cast<const ICBSCabinetExtractor*>(data.userData)->destination_, data.name);
      case CabinetNotification::CloseFileInfo: return CloseTarget(data);
      // Sets of several cabinets are not supported, and the one cabinet is all there is: an
      // answer that let the expansion go on would have every open return the same cabinet
      // again, read over and over for ever. Aborting ends it as a damaged package.
      case CabinetNotification::NextCabinet: return kAbortCopy;
      default: return 0;
    }
  }
};

ICBSCabinetExtractor::ICBSCabinetExtractor(platform::Platform& platform, std::wstring_view displayName,
                                           std::wstring_view resourceName, std::wstring_view destination)
    : platform_(platform), cabinetName_(platform.files->ToAnsi(displayName)) {
  Open(platform, destination);
  const auto resource = platform.resources->FindPackageResource(resourceName, std::nullopt);
  if (!resource) return;
  resourceFound_ = true;
  g_state.resource = resource->data();
  // The cabinet is as long as its prefix says, but never longer than the resource.
  const std::size_t available = resource->size() > kLengthPrefixSize ? resource->size() - kLengthPrefixSize : 0;
  const std::uint32_t announced = resource->size() >= kLengthPrefixSize ? LittleEndian32(resource->data()) : 0;
  g_state.cabinetLength = static_cast<std::uint32_t>(std::min<std::size_t>(announced, available));
}

ICBSCabinetExtractor::ICBSCabinetExtractor(platform::Platform& platform, std::wstring_view cabinetFile,
                                           std::wstring_view destination)
    : platform_(platform), resourceFound_(true) {
  const std::size_t separator = cabinetFile.find_last_of(L"\\/");
  const std::size_t nameStart = separator == std::wstring_view::npos ? 0 : separator + 1;
  cabinetFolder_ = platform.files->ToAnsi(cabinetFile.substr(0, nameStart));
  cabinetName_ = platform.files->ToAnsi(cabinetFile.substr(nameStart));
  Open(platform, destination);
}

void ICBSCabinetExtractor::Open(platform::Platform& platform, std::wstring_view destination) {
  g_state = ExtractionState{};
  g_state.platform = &platform;
  destination_ = platform.files->ToAnsi(destination);
  if (platform.cabinets) context_ = platform.cabinets->Create(kFileCallbacks, error_);
}

ICBSCabinetExtractor::~ICBSCabinetExtractor() {
  context_.reset();
  g_streams.Clear();
  // The disk-full flag stays readable until the next extractor is made.
  const bool diskFull = g_state.diskFull;
  g_state = ExtractionState{};
  g_state.diskFull = diskFull;
}

bool ICBSCabinetExtractor::Extract(ICBSCabinetProgressCallbacks& sink, const std::atomic<bool>* cancelRequested) {
  // A missing resource is a cabinet that cannot be opened, not a file of the display name.
  if (!context_ || !resourceFound_) return false;
  g_state.sink = &sink;
  g_state.cancelRequested = cancelRequested;
  g_state.createdFiles.clear();
  g_state.writeFellShort = false;
  // Wine's decompression carries on after a write that fell short and reports success: such a
  // write fails the extraction here, so that a full disk never passes for a complete package.
  const bool copied = context_->Copy(cabinetName_, cabinetFolder_, &CabinetNotifications::Notify, this) &&
                      !g_state.writeFellShort;
  g_state.sink = nullptr;
  g_state.cancelRequested = nullptr;
  // Streams the decompression left open after a failure are closed before their files go.
  g_streams.Clear();
  if (!copied) RemoveCreatedFiles();
  return copied;
}

void ICBSCabinetExtractor::RemoveCreatedFiles() {
  // The decompression may report a cut-short file as complete; no file of a failed cabinet
  // may be taken later for an unpacked package.
  for (const std::wstring& file : g_state.createdFiles) platform_.files->DeleteFile(file);
  g_state.createdFiles.clear();
}

bool ICBSCabinetExtractor::DiskFull() { return g_state.diskFull; }

}  // namespace setup
