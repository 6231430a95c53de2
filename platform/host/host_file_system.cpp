#include "platform/host/host_file_system.h"

#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cwctype>
#include <fstream>
#include <stdexcept>

#include "foundation/text.h"

namespace setup::platform::host {

namespace fs = std::filesystem;

namespace {

class HostWritableFile : public WritableFile {
 public:
  HostWritableFile(std::ofstream stream, fs::path path) : stream_(std::move(stream)), path_(std::move(path)) {}
  bool Write(std::string_view bytes) override {
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return stream_.good();
  }
  bool Flush() override { return stream_.flush().good(); }
  std::uint64_t Size() const override {
    std::error_code error;
    const auto size = fs::file_size(path_, error);
    return error ? 0 : size;
  }

 private:
  std::ofstream stream_;
  fs::path path_;
};

// Symbolic links stand for the reparse points of Windows (junctions and symbolic links).
bool IsLink(const fs::path& path) {
  std::error_code error;
  return fs::is_symlink(fs::symlink_status(path, error));
}

std::wstring Lower(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = FoldCase(c);
  return out;
}

bool IsReadOnly(const fs::path& path) {
  std::error_code error;
  const fs::perms perms = fs::status(path, error).permissions();
  return !error && (perms & fs::perms::owner_write) == fs::perms::none;
}

// Windows names ignore case: an existing entry of another spelling stands for the name.
fs::path Child(const fs::path& folder, std::wstring_view name) {
  fs::path exact = folder / std::wstring(name);
  std::error_code error;
  if (fs::exists(fs::symlink_status(exact, error))) return exact;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (EqualsIgnoreCase(entry.path().filename().wstring(), name)) return entry.path();
  }
  return exact;
}

bool IsWritableFolder(const fs::path& folder) {
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  return !error && fs::is_directory(status) && (status.permissions() & fs::perms::owner_write) != fs::perms::none;
}

}  // namespace

class HostFileStream : public FileStream {
 public:
  HostFileStream(HostFileSystem& files, std::wstring key, int descriptor, HostFileSystem::OpenStreamRights rights)
      : files_(files), key_(std::move(key)), descriptor_(descriptor) {
    const std::lock_guard lock(files_.openStreamsMutex_);
    open_ = files_.openStreams_.emplace(key_, rights);
  }
  ~HostFileStream() override {
    ::close(descriptor_);
    const std::lock_guard lock(files_.openStreamsMutex_);
    files_.openStreams_.erase(open_);
  }
  HostFileStream(const HostFileStream&) = delete;
  HostFileStream& operator=(const HostFileStream&) = delete;

  std::uint32_t Read(void* buffer, std::uint32_t count) override {
    if (files_.readDelay.count() > 0) std::this_thread::sleep_for(files_.readDelay);
    const ssize_t read = ::read(descriptor_, buffer, count);
    return read > 0 ? static_cast<std::uint32_t>(read) : 0;
  }

  StreamWriteResult Write(const void* buffer, std::uint32_t count) override {
    if (files_.freeSpace && count > *files_.freeSpace) return {0, true};
    const ssize_t written = ::write(descriptor_, buffer, count);
    if (written < 0) return {0, errno == ENOSPC || errno == EDQUOT};
    if (files_.freeSpace) *files_.freeSpace -= static_cast<std::uint64_t>(written);
    return {static_cast<std::uint32_t>(written), false};
  }

  std::optional<std::uint32_t> Seek(std::int32_t distance, SeekOrigin origin) override {
    const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(descriptor_, distance, whence);
    if (position < 0) return std::nullopt;
    return static_cast<std::uint32_t>(position);
  }

  std::optional<std::uint64_t> Size() const override {
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
  }

  bool SetCreationTimeFromLocalDosTime(std::uint16_t dosDate, std::uint16_t dosTime) override {
    files_.creationTimes_[key_] = {dosDate, dosTime};
    return true;
  }

 private:
  HostFileSystem& files_;
  std::wstring key_;
  int descriptor_;
  std::multimap<std::wstring, HostFileSystem::OpenStreamRights>::iterator open_;
};

bool MatchesPattern(std::wstring_view name, std::wstring_view pattern) {
  if (pattern == L"*.*" || pattern == L"*") return true;
  if (pattern.empty()) return name.empty();
  if (pattern[0] == L'*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (MatchesPattern(name.substr(skip), pattern.substr(1))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  if (pattern[0] != L'?' && FoldCase(pattern[0]) != FoldCase(name[0])) return false;
  return MatchesPattern(name.substr(1), pattern.substr(1));
}

HostFileSystem::HostFileSystem(fs::path root) : root_(std::move(root)) { fs::create_directories(HostPath(currentFolder)); }

fs::path HostFileSystem::HostPath(std::wstring_view windowsPath) const {
  std::wstring path(windowsPath);
  if (path.starts_with(L"\\\\?\\")) path.erase(0, 4);
  if (path.size() < 2 || path[1] != L':') path = currentFolder + L"\\" + path;
  fs::path host = root_ / std::wstring(1, static_cast<wchar_t>(std::towupper(path[0])));
  for (const std::wstring_view part : Split(std::wstring_view(path).substr(2), L'\\')) {
    for (const std::wstring_view piece : Split(part, L'/')) {
      if (!piece.empty()) host = Child(host, piece);
    }
  }
  return host;
}

namespace {
// The sharing an open with these rights needs from the streams already open on the file.
std::uint32_t SharingNeededFor(std::uint32_t access) {
  return ((access & kGenericRead) ? kShareRead : 0) | ((access & kGenericWrite) ? kShareWrite : 0);
}
}  // namespace

bool HostFileSystem::SharingAllows(const std::wstring& key, std::uint32_t needed, std::uint32_t share) const {
  const std::lock_guard lock(openStreamsMutex_);
  const auto [first, last] = openStreams_.equal_range(key);
  for (auto open = first; open != last; ++open) {
    // Each open stream must share what the new open needs, and the new open must share the
    // rights that stream has.
    if ((needed & ~open->second.share) != 0 || (SharingNeededFor(open->second.access) & ~share) != 0) return false;
  }
  return true;
}

std::unique_ptr<WritableFile> HostFileSystem::OpenForWriting(std::wstring_view path, OpenMode mode) {
  if (!SharingAllows(Lower(path), kShareWrite, kShareRead)) return nullptr;
  const fs::path host = HostPath(path);
  if (!fs::is_directory(host.parent_path()) || IsReadOnly(host)) return nullptr;
  const auto flags = std::ios::binary | (mode == OpenMode::CreateAlways ? std::ios::trunc : std::ios::app);
  std::ofstream stream(host, flags);
  if (!stream) return nullptr;
  return std::make_unique<HostWritableFile>(std::move(stream), host);
}

std::unique_ptr<FileStream> HostFileSystem::OpenStream(std::wstring_view path, std::uint32_t access, std::uint32_t share,
                                                      StreamDisposition disposition) {
  if (!SharingAllows(Lower(path), SharingNeededFor(access), share)) return nullptr;
  const fs::path host = HostPath(path);
  const bool reads = (access & kGenericRead) != 0;
  const bool writes = (access & kGenericWrite) != 0;
  std::error_code error;
  if (fs::is_directory(host, error)) return nullptr;
  if (writes && fs::exists(host, error) && IsReadOnly(host)) return nullptr;
  int flags = writes ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (disposition == StreamDisposition::CreateAlways) {
    if (!IsWritableFolder(host.parent_path())) return nullptr;
    flags |= O_CREAT | O_TRUNC;
    creationTimes_.erase(Lower(path));
  }
  const int descriptor = ::open(host.c_str(), flags | O_CLOEXEC, 0644);
  if (descriptor < 0) return nullptr;
  return std::make_unique<HostFileStream>(*this, Lower(path), descriptor, OpenStreamRights{access, share});
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> HostFileSystem::CreationDosTime(std::wstring_view path) const {
  const auto found = creationTimes_.find(Lower(path));
  if (found == creationTimes_.end()) return std::nullopt;
  return found->second;
}

std::optional<FileAttributes> HostFileSystem::Attributes(std::wstring_view path) const {
  const fs::path host = HostPath(path);
  std::error_code error;
  const fs::file_status own = fs::symlink_status(host, error);
  if (error || !fs::exists(own)) return std::nullopt;
  // As on Windows, a link to a folder carries the folder attribute beside the link's own.
  return FileAttributes{fs::is_directory(fs::status(host, error)), IsReadOnly(host), fs::is_symlink(own)};
}

bool HostFileSystem::SetReadOnly(std::wstring_view path, bool readOnly) {
  std::error_code error;
  fs::permissions(HostPath(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add, error);
  return !error;
}

std::vector<DirectoryEntry> HostFileSystem::List(std::wstring_view folder, std::wstring_view pattern) const {
  std::vector<DirectoryEntry> entries;
  std::error_code error;
  for (const auto& item : fs::directory_iterator(HostPath(folder), error)) {
    const std::wstring name = item.path().filename().wstring();
    if (MatchesPattern(name, pattern)) entries.push_back({name, item.is_directory(error), item.is_symlink(error)});
  }
  return entries;
}

DeleteResult HostFileSystem::DeleteFile(std::wstring_view path) {
  if (!SharingAllows(Lower(path), kShareDelete, kShareRead | kShareWrite | kShareDelete)) return DeleteResult::InUse;
  const fs::path host = HostPath(path);
  std::error_code error;
  if (!fs::exists(fs::symlink_status(host, error))) return DeleteResult::NotFound;
  // A link to a file is deleted itself, never its target; a link to a folder is a folder.
  if (IsLink(host)) {
    if (fs::is_directory(host, error)) return DeleteResult::Failed;
    return fs::remove(host, error) ? DeleteResult::Deleted : DeleteResult::Failed;
  }
  // Windows refuses to delete a read-only file; POSIX would not.
  if (fs::is_directory(host) || IsReadOnly(host)) return DeleteResult::Failed;
  if (!fs::remove(host, error)) return DeleteResult::Failed;
  // A file made later under the same name has an owner and a list of its own.
  owners_.erase(Lower(path));
  accessLists_.erase(Lower(path));
  protectedLists_.erase(Lower(path));
  return DeleteResult::Deleted;
}

bool HostFileSystem::RemoveDirectory(std::wstring_view path) {
  const fs::path host = HostPath(path);
  std::error_code error;
  // Removing a link to a folder removes the link, whatever the folder it points to holds.
  if (IsLink(host)) return fs::is_directory(host, error) && fs::remove(host, error);
  if (!fs::is_directory(host, error) || !fs::is_empty(host, error)) return false;
  if (!fs::remove(host, error)) return false;
  // A folder made later under the same name has an owner and a list of its own.
  owners_.erase(Lower(path));
  accessLists_.erase(Lower(path));
  protectedLists_.erase(Lower(path));
  return true;
}

CreateResult HostFileSystem::CreateDirectory(std::wstring_view path) {
  const fs::path host = HostPath(path);
  std::error_code error;
  if (fs::exists(host, error)) return CreateResult::AlreadyExists;
  if (!fs::is_directory(host.parent_path(), error)) return CreateResult::Failed;
  return fs::create_directory(host, error) ? CreateResult::Created : CreateResult::Failed;
}

bool HostFileSystem::CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) {
  if (!SharingAllows(Lower(target), kShareWrite, 0)) return false;
  const fs::path to = HostPath(target);
  std::error_code error;
  if (fs::exists(to, error) && (failIfExists || IsReadOnly(to))) return false;
  return fs::copy_file(HostPath(source), to, fs::copy_options::overwrite_existing, error);
}

std::optional<std::uint64_t> HostFileSystem::FileSize(std::wstring_view path) const {
  std::error_code error;
  const auto size = fs::file_size(HostPath(path), error);
  if (error) return std::nullopt;
  return size;
}

FolderSizes HostFileSystem::SumFolder(std::wstring_view folder, const std::atomic<bool>& stop) const {
  FolderSizes sizes;
  std::error_code error;
  for (const auto& item : fs::directory_iterator(HostPath(folder), error)) {
    if (stop) break;
    if (item.is_symlink(error)) {
      if (!item.is_directory(error)) ++sizes.files;
      continue;
    }
    if (item.is_directory(error)) {
      sizes.subfolders.push_back(item.path().filename().wstring());
      continue;
    }
    ++sizes.files;
    sizes.fileBytes += item.file_size(error);
  }
  return sizes;
}

std::optional<std::uint64_t> HostFileSystem::VolumeFreeBytes(std::wstring_view) const {
  constexpr std::uint64_t kUnlimited = std::uint64_t{1} << 40;
  return freeSpace.value_or(kUnlimited);
}

bool HostFileSystem::IsRegularDiskFile(std::wstring_view path) const {
  std::error_code error;
  return fs::is_regular_file(HostPath(path), error);
}

void HostFileSystem::SetFileVersion(std::wstring_view path, FileVersionNumbers version) {
  fileVersions_[Lower(path)] = version;
}

void HostFileSystem::MarkInUse(std::wstring_view path) {
  auto stream = OpenStream(path, kGenericRead, kShareRead | kShareWrite, StreamDisposition::OpenExisting);
  if (!stream) throw std::logic_error("MarkInUse: no file to hold open");
  heldByOthers_.push_back(std::move(stream));
}

std::optional<FileVersionNumbers> HostFileSystem::FileVersion(std::wstring_view path) const {
  const auto found = fileVersions_.find(Lower(path));
  if (found == fileVersions_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> HostFileSystem::ReadFile(std::wstring_view path) const {
  if (!SharingAllows(Lower(path), kShareRead, kShareRead | kShareWrite)) return std::nullopt;
  std::ifstream in(HostPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool HostFileSystem::WriteFile(std::wstring_view path, std::string_view bytes) {
  const auto file = OpenForWriting(path, OpenMode::CreateAlways);
  return file && file->Write(bytes) && file->Flush();
}

std::wstring HostFileSystem::KnownFolderPath(KnownFolder folder) const {
  const auto found = knownFolders.find(folder);
  return found == knownFolders.end() ? std::wstring() : found->second;
}

void HostFileSystem::AddAccessEntry(std::wstring_view path, AccessEntry entry) {
  accessLists_[Lower(path)].push_back(std::move(entry));
}

std::optional<std::vector<AccessEntry>> HostFileSystem::ExplicitAccessEntries(std::wstring_view path) const {
  if (!Attributes(path)) return std::nullopt;
  const auto found = accessLists_.find(Lower(path));
  return found == accessLists_.end() ? std::vector<AccessEntry>() : found->second;
}

void HostFileSystem::SetOwnerSid(std::wstring_view path, std::wstring_view sid) { owners_[Lower(path)] = sid; }

std::optional<std::wstring> HostFileSystem::OwnerSid(std::wstring_view path) const {
  if (!Attributes(path)) return std::nullopt;
  const auto found = owners_.find(Lower(path));
  return found == owners_.end() ? std::wstring(kHostDefaultOwnerSid) : found->second;
}

bool HostFileSystem::SetInheritedAccess(std::wstring_view path, std::wstring_view trusteeName,
                                        std::uint32_t accessMask) {
  if (!Attributes(path)) return false;
  // As on Windows, the stored entry names its account by SID; the well-known group reads
  // back under its own spelling.
  const bool everyone = EqualsIgnoreCase(trusteeName, L"EVERYONE");
  const std::wstring account = everyone ? L"Everyone" : std::wstring(trusteeName);
  std::vector<AccessEntry>& list = accessLists_[Lower(path)];
  std::erase_if(list, [&](const AccessEntry& entry) { return EqualsIgnoreCase(entry.account, account); });
  list.push_back({accessMask, true, TrusteeForm::Sid, account, everyone ? L"S-1-1-0" : L""});
  return true;
}

void HostFileSystem::RecordProtectedList(std::wstring_view path, const std::vector<AccessGrant>& grants) {
  std::vector<AccessEntry>& list = accessLists_[Lower(path)];
  list.clear();
  for (const AccessGrant& grant : grants) {
    const auto [account, sid] = grant.account == WellKnownAccount::System ? std::pair(L"SYSTEM", L"S-1-5-18")
                                : grant.account == WellKnownAccount::Administrators
                                    ? std::pair(L"Administrators", L"S-1-5-32-544")
                                    : std::pair(L"Users", L"S-1-5-32-545");
    list.push_back({grant.accessMask, true, TrusteeForm::Sid, account, sid});
  }
  protectedLists_.insert(Lower(path));
}

CreateResult HostFileSystem::CreateProtectedDirectory(std::wstring_view path, const std::vector<AccessGrant>& grants) {
  const CreateResult created = CreateDirectory(path);
  if (created == CreateResult::Created) RecordProtectedList(path, grants);
  return created;
}

CreateResult HostFileSystem::CreateProtectedFile(std::wstring_view path, const std::vector<AccessGrant>& grants,
                                                 std::string_view bytes) {
  const fs::path host = HostPath(path);
  std::error_code error;
  if (fs::exists(fs::symlink_status(host, error))) return CreateResult::AlreadyExists;
  if (!IsWritableFolder(host.parent_path())) return CreateResult::Failed;
  // O_EXCL: a file (or link) that appeared since the look above is not opened.
  const int descriptor = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0) return errno == EEXIST ? CreateResult::AlreadyExists : CreateResult::Failed;
  owners_.erase(Lower(path));
  RecordProtectedList(path, grants);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written <= 0) break;
    done += static_cast<std::size_t>(written);
  }
  ::close(descriptor);
  if (done == bytes.size()) return CreateResult::Created;
  DeleteFile(path);
  return CreateResult::Failed;
}

bool HostFileSystem::IsAccessProtected(std::wstring_view path) const { return protectedLists_.contains(Lower(path)); }

std::string HostFileSystem::ToAnsi(std::wstring_view text) const {
  // The host stands for a Western system: code page 1252, which holds Latin-1.
  std::string out;
  out.reserve(text.size());
  for (const wchar_t c : text) out.push_back(static_cast<std::uint32_t>(c) < 0x100 ? static_cast<char>(c) : '?');
  return out;
}

std::wstring HostFileSystem::FromAnsi(std::string_view text) const {
  std::wstring out;
  out.reserve(text.size());
  for (const char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace setup::platform::host
