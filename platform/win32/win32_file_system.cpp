// Files and folders through the Win32 API.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/running_under_wine.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32WritableFile : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE handle) : handle_(handle) {}
  ~Win32WritableFile() override {
    FlushFileBuffers(handle_);
    CloseHandle(handle_);
  }
  Win32WritableFile(const Win32WritableFile&) = delete;
  Win32WritableFile& operator=(const Win32WritableFile&) = delete;

  bool Write(std::string_view bytes) override {
    DWORD written = 0;
    return WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }
  bool Flush() override { return FlushFileBuffers(handle_) != FALSE; }
  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  }

 private:
  HANDLE handle_;
};

class Win32FileStream : public FileStream {
 public:
  explicit Win32FileStream(HANDLE handle) : handle_(handle) {}
  ~Win32FileStream() override { CloseHandle(handle_); }
  Win32FileStream(const Win32FileStream&) = delete;
  Win32FileStream& operator=(const Win32FileStream&) = delete;

  std::uint32_t Read(void* buffer, std::uint32_t count) override {
    DWORD read = 0;
    return ::ReadFile(handle_, buffer, count, &read, nullptr) ? read : 0;
  }

  StreamWriteResult Write(const void* buffer, std::uint32_t count) override {
    DWORD written = 0;
    if (::WriteFile(handle_, buffer, count, &written, nullptr)) return {written, false};
    const DWORD error = GetLastError();
    return {written, error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL};
  }

  std::optional<std::uint32_t> Seek(std::int32_t distance, SeekOrigin origin) override {
    const DWORD position = SetFilePointer(handle_, distance, nullptr, static_cast<DWORD>(origin));
    if (position == INVALID_SET_FILE_POINTER) return std::nullopt;
    return position;
  }

  std::optional<std::uint64_t> Size() const override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  bool SetCreationTimeFromLocalDosTime(std::uint16_t dosDate, std::uint16_t dosTime) override {
    FILETIME local{};
    FILETIME utc{};
    return DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &utc) &&
           SetFileTime(handle_, &utc, nullptr, nullptr);
  }

 private:
  HANDLE handle_;
};

// The account name of a SID; empty when the system does not know it.
std::wstring AccountName(PSID sid) {
  wchar_t name[256];
  wchar_t domain[256];
  DWORD nameLength = 256;
  DWORD domainLength = 256;
  SID_NAME_USE use;
  if (!ADVAPI32(LookupAccountSidW)(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) return {};
  return name;
}

std::wstring SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!sid || !ADVAPI32(ConvertSidToStringSidW)(sid, &text)) return {};
  std::wstring result = text;
  LocalFree(text);
  return result;
}

// A security descriptor whose list is the grants alone and inherits nothing from the parent
// (the protected flag), for the creation call of a folder or file, so that the object never
// exists without it. `Security()` is null when it could not be built.
class ProtectedDescriptor {
 public:
  ProtectedDescriptor(const std::vector<AccessGrant>& grants, DWORD inheritance) {
    std::vector<EXPLICIT_ACCESS_W> entries;
    sids_.reserve(grants.size());
    for (const AccessGrant& grant : grants) {
      const WELL_KNOWN_SID_TYPE type = grant.account == WellKnownAccount::System           ? WinLocalSystemSid
                                       : grant.account == WellKnownAccount::Administrators ? WinBuiltinAdministratorsSid
                                                                                           : WinBuiltinUsersSid;
      std::vector<BYTE>& sid = sids_.emplace_back(SECURITY_MAX_SID_SIZE);
      DWORD size = SECURITY_MAX_SID_SIZE;
      if (!ADVAPI32(CreateWellKnownSid)(type, nullptr, sid.data(), &size)) return;
      EXPLICIT_ACCESS_W entry{};
      entry.grfAccessPermissions = grant.accessMask;
      entry.grfAccessMode = SET_ACCESS;
      entry.grfInheritance = inheritance;
      entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
      entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
      entry.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid.data());
      entries.push_back(entry);
    }
    if (ADVAPI32(SetEntriesInAclW)(static_cast<ULONG>(entries.size()), entries.data(), nullptr, &acl_) !=
        ERROR_SUCCESS) {
      acl_ = nullptr;
      return;
    }
    ready_ = ADVAPI32(InitializeSecurityDescriptor)(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             ADVAPI32(SetSecurityDescriptorDacl)(&descriptor_, TRUE, acl_, FALSE) &&
             ADVAPI32(SetSecurityDescriptorControl)(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
  }
  ~ProtectedDescriptor() {
    if (acl_) LocalFree(acl_);
  }
  ProtectedDescriptor(const ProtectedDescriptor&) = delete;
  ProtectedDescriptor& operator=(const ProtectedDescriptor&) = delete;

  SECURITY_ATTRIBUTES* Security() { return ready_ ? &attributes_ : nullptr; }

 private:
  std::vector<std::vector<BYTE>> sids_;
  PACL acl_ = nullptr;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), &descriptor_, FALSE};
  bool ready_ = false;
};

AccessEntry ToAccessEntry(const EXPLICIT_ACCESS_W& entry) {
  AccessEntry result;
  result.accessMask = entry.grfAccessPermissions;
  result.grants = entry.grfAccessMode == GRANT_ACCESS || entry.grfAccessMode == SET_ACCESS;
  switch (entry.Trustee.TrusteeForm) {
    case TRUSTEE_IS_SID:
      result.trustee = TrusteeForm::Sid;
      result.account = AccountName(reinterpret_cast<PSID>(entry.Trustee.ptstrName));
      result.sid = SidText(reinterpret_cast<PSID>(entry.Trustee.ptstrName));
      break;
    case TRUSTEE_IS_NAME:
      result.trustee = entry.Trustee.TrusteeType == TRUSTEE_IS_USER ? TrusteeForm::UserName : TrusteeForm::OtherName;
      result.account = entry.Trustee.ptstrName ? entry.Trustee.ptstrName : L"";
      break;
    default:
      result.trustee = TrusteeForm::OtherName;
      break;
  }
  return result;
}

// Wine 8 shows a symbolic link in the prefix as a reparse point only when it points to a
// folder; a link to a file looks like the file. Its final path gives it away: Wine resolves
// links there, while the path of a plain file stays its own.
bool IsWineLinkToAFile(const std::wstring& path) {
  HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  wchar_t finalPath[MAX_PATH * 4] = {};
  const DWORD finalLength = GetFinalPathNameByHandleW(handle, finalPath, MAX_PATH * 4, FILE_NAME_NORMALIZED);
  CloseHandle(handle);
  wchar_t fullPath[MAX_PATH * 4] = {};
  const DWORD fullLength = GetFullPathNameW(path.c_str(), MAX_PATH * 4, fullPath, nullptr);
  if (finalLength == 0 || finalLength >= MAX_PATH * 4 || fullLength == 0 || fullLength >= MAX_PATH * 4) return false;
  const wchar_t* resolved = wcsncmp(finalPath, L"\\\\?\\", 4) == 0 ? finalPath + 4 : finalPath;
  return _wcsicmp(resolved, fullPath) != 0;
}

// The attributes of an entry, with the reparse-point mark also on Wine's links to files.
DWORD EntryAttributes(const std::wstring& path, DWORD attributes) {
  if (attributes != INVALID_FILE_ATTRIBUTES && RunningUnderWine() &&
      (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 && IsWineLinkToAFile(path)) {
    attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  }
  return attributes;
}

// Wine 8 cannot remove a symbolic link: removing it as a folder removes the (empty) folder it
// points to, deleting it as a file deletes the file it points to. There a link is left in
// place, so that nothing outside is touched.
bool WineWouldFollowLink(const std::wstring& path) {
  if (!RunningUnderWine()) return false;
  const DWORD attributes = EntryAttributes(path, GetFileAttributesW(path.c_str()));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The root folder of the volume that holds `path` ("C:\" or "\\server\share\"), as the
// free-space query wants it; the path itself when the system cannot tell.
std::wstring VolumeRoot(std::wstring_view path) {
  const std::wstring name(path);
  std::wstring root(MAX_PATH + 1, L'\0');
  if (!GetVolumePathNameW(name.c_str(), root.data(), static_cast<DWORD>(root.size()))) return name;
  root.resize(wcslen(root.c_str()));
  return root;
}

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<WritableFile> OpenForWriting(std::wstring_view path, OpenMode mode) override {
    const std::wstring name(path);
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                mode == OpenMode::CreateAlways ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    SetFilePointer(handle, 0, nullptr, FILE_END);
    return std::make_unique<Win32WritableFile>(handle);
  }

  std::unique_ptr<FileStream> OpenStream(std::wstring_view path, std::uint32_t access, std::uint32_t share,
                                         StreamDisposition disposition) override {
    HANDLE handle = CreateFileW(std::wstring(path).c_str(), access, share, nullptr,
                                disposition == StreamDisposition::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32FileStream>(handle);
  }

  std::optional<FileAttributes> Attributes(std::wstring_view path) const override {
    const std::wstring name(path);
    const DWORD attributes = EntryAttributes(name, GetFileAttributesW(name.c_str()));
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return FileAttributes{(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_READONLY) != 0,
                          (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
  }

  bool SetReadOnly(std::wstring_view path, bool readOnly) override {
    const std::wstring name(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD changed = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
    return changed == attributes || SetFileAttributesW(name.c_str(), changed) != FALSE;
  }

  std::vector<DirectoryEntry> List(std::wstring_view folder, std::wstring_view pattern) const override {
    std::vector<DirectoryEntry> entries;
    const std::wstring search = std::wstring(folder) + L"\\" + std::wstring(pattern);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(search.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const DWORD attributes = EntryAttributes(std::wstring(folder) + L"\\" + name, data.dwFileAttributes);
      entries.push_back({name, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
  }

  // The basic information level without short names and the large fetch make the search as
  // quick as the system allows; sizes come with the entries, so no file is opened.
  FolderSizes SumFolder(std::wstring_view folder, const std::atomic<bool>& stop) const override {
    FolderSizes sizes;
    const std::wstring search = std::wstring(folder) + L"\\*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return sizes;
    do {
      if (stop) break;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;
        sizes.subfolders.emplace_back(name);
        continue;
      }
      ++sizes.files;
      sizes.fileBytes += (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return sizes;
  }

  std::optional<std::uint64_t> VolumeFreeBytes(std::wstring_view path) const override {
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    if (!GetDiskFreeSpaceW(VolumeRoot(path).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters)) {
      return std::nullopt;
    }
    return std::uint64_t{freeClusters} * sectorsPerCluster * bytesPerSector;
  }

  DeleteResult DeleteFile(std::wstring_view path) override {
    const std::wstring name(path);
    if (WineWouldFollowLink(name)) return DeleteResult::Failed;
    if (::DeleteFileW(name.c_str())) return DeleteResult::Deleted;
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND: return DeleteResult::NotFound;
      case ERROR_SHARING_VIOLATION: return DeleteResult::InUse;
      default: return DeleteResult::Failed;
    }
  }

  // On Windows this removes a junction or a symbolic link itself, never what it points to.
  bool RemoveDirectory(std::wstring_view path) override {
    const std::wstring name(path);
    return !WineWouldFollowLink(name) && ::RemoveDirectoryW(name.c_str()) != FALSE;
  }

  CreateResult CreateDirectory(std::wstring_view path) override {
    if (::CreateDirectoryW(std::wstring(path).c_str(), nullptr)) return CreateResult::Created;
    return GetLastError() == ERROR_ALREADY_EXISTS ? CreateResult::AlreadyExists : CreateResult::Failed;
  }

  bool CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) override {
    return ::CopyFileW(std::wstring(source).c_str(), std::wstring(target).c_str(), failIfExists) != FALSE;
  }

  std::optional<std::uint64_t> FileSize(std::wstring_view path) const override {
    HANDLE handle = CreateFileW(std::wstring(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    const BOOL ok = GetFileSizeEx(handle, &size);
    CloseHandle(handle);
    if (!ok) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  // Opened for its attributes only, so that nothing is read from what the path names; a
  // folder does not open without backup semantics.
  bool IsRegularDiskFile(std::wstring_view path) const override {
    HANDLE handle = CreateFileW(std::wstring(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool regular = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &information) &&
                         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(handle);
    return regular;
  }

  std::optional<FileVersionNumbers> FileVersion(std::wstring_view path) const override {
    // version.dll is no KnownDLL: imported, a copy beside the program would be loaded.
    SETUP_SYSTEM_FUNCTION(L"version.dll", GetFileVersionInfoSizeW);
    SETUP_SYSTEM_FUNCTION(L"version.dll", GetFileVersionInfoW);
    SETUP_SYSTEM_FUNCTION(L"version.dll", VerQueryValueW);
    if (!GetFileVersionInfoSizeWPtr || !GetFileVersionInfoWPtr || !VerQueryValueWPtr) return std::nullopt;
    const std::wstring name(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeWPtr(name.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::string block(size, '\0');
    if (!GetFileVersionInfoWPtr(name.c_str(), 0, size, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueWPtr(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return std::nullopt;
    return FileVersionNumbers{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
  }

  std::optional<std::string> ReadFile(std::wstring_view path) const override {
    HANDLE handle = CreateFileW(std::wstring(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(handle, buffer, sizeof(buffer), &read, nullptr) != FALSE) && read > 0) content.append(buffer, read);
    CloseHandle(handle);
    if (!ok) return std::nullopt;
    return content;
  }

  bool WriteFile(std::wstring_view path, std::string_view bytes) override {
    const auto file = OpenForWriting(path, OpenMode::CreateAlways);
    return file && file->Write(bytes) && file->Flush();
  }

  std::wstring KnownFolderPath(KnownFolder folder) const override {
    int csidl = CSIDL_COMMON_APPDATA;
    switch (folder) {
      case KnownFolder::CommonAppData: csidl = CSIDL_COMMON_APPDATA; break;
      case KnownFolder::ProgramFiles: csidl = CSIDL_PROGRAM_FILES; break;
      // The shipped launcher is a 32-bit process; the 64-bit build asks for the same folder.
      case KnownFolder::ProgramFilesX86: csidl = CSIDL_PROGRAM_FILESX86; break;
      case KnownFolder::CommonDesktop: csidl = CSIDL_COMMON_DESKTOPDIRECTORY; break;
    }
    wchar_t path[MAX_PATH] = {};
    SETUP_SYSTEM_FUNCTION(L"shell32.dll", SHGetFolderPathW);
    if (!SHGetFolderPathWPtr || FAILED(SHGetFolderPathWPtr(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
  }

  std::wstring CurrentFolder() const override {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
  }

  std::optional<std::vector<AccessEntry>> ExplicitAccessEntries(std::wstring_view path) const override {
    std::wstring name(path);
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ADVAPI32(GetNamedSecurityInfoW)(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                                        nullptr, &descriptor) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    ULONG count = 0;
    PEXPLICIT_ACCESS_W entries = nullptr;
    const DWORD result = ADVAPI32(GetExplicitEntriesFromAclW)(acl, &count, &entries);
    std::optional<std::vector<AccessEntry>> access;
    if (result == ERROR_SUCCESS) {
      access.emplace();
      for (ULONG i = 0; i < count; ++i) access->push_back(ToAccessEntry(entries[i]));
    }
    if (entries) LocalFree(entries);
    LocalFree(descriptor);
    return access;
  }

  std::optional<std::wstring> OwnerSid(std::wstring_view path) const override {
    std::wstring name(path);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ADVAPI32(GetNamedSecurityInfoW)(name.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::optional<std::wstring> text;
    wchar_t* sidText = nullptr;
    if (owner && ADVAPI32(ConvertSidToStringSidW)(owner, &sidText)) {
      text = sidText;
      LocalFree(sidText);
    }
    LocalFree(descriptor);
    return text;
  }

  // Wine stores a generic right mapped to the file rights it stands for (GENERIC_ALL becomes
  // 0x1301FF) where Windows keeps the generic right in an inherit-only entry beside the mapped
  // one; under Wine a later check for an entry of exactly GENERIC_ALL therefore fails and the
  // launcher grants once more, which leaves the same list.
  bool SetInheritedAccess(std::wstring_view path, std::wstring_view trusteeName, std::uint32_t accessMask) override {
    std::wstring name(path);
    std::wstring trustee(trusteeName);
    PACL oldAcl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ADVAPI32(GetNamedSecurityInfoW)(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                        &oldAcl, nullptr, &descriptor) != ERROR_SUCCESS) {
      return false;
    }
    EXPLICIT_ACCESS_W entry{};
    entry.grfAccessPermissions = accessMask;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = trustee.data();
    PACL newAcl = nullptr;
    bool stored = false;
    if (ADVAPI32(SetEntriesInAclW)(1, &entry, oldAcl, &newAcl) == ERROR_SUCCESS) {
      stored = ADVAPI32(SetNamedSecurityInfoW)(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                               newAcl, nullptr) == ERROR_SUCCESS;
      LocalFree(newAcl);
    }
    LocalFree(descriptor);
    return stored;
  }

  // Under Wine the descriptor given here shapes the folder's file mode, where a list set on
  // an existing folder changes nothing that reads back.
  CreateResult CreateProtectedDirectory(std::wstring_view path, const std::vector<AccessGrant>& grants) override {
    ProtectedDescriptor protection(grants, SUB_CONTAINERS_AND_OBJECTS_INHERIT);
    if (!protection.Security()) return CreateResult::Failed;
    if (::CreateDirectoryW(std::wstring(path).c_str(), protection.Security())) return CreateResult::Created;
    return GetLastError() == ERROR_ALREADY_EXISTS ? CreateResult::AlreadyExists : CreateResult::Failed;
  }

  // CREATE_NEW: an existing file (or a link of that name) is never opened. The file is shared
  // with nobody while it is written.
  CreateResult CreateProtectedFile(std::wstring_view path, const std::vector<AccessGrant>& grants,
                                   std::string_view bytes) override {
    ProtectedDescriptor protection(grants, NO_INHERITANCE);
    if (!protection.Security()) return CreateResult::Failed;
    const std::wstring name(path);
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, protection.Security(), CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? CreateResult::AlreadyExists
                                                                         : CreateResult::Failed;
    }
    DWORD written = 0;
    const bool complete = (bytes.empty() || (::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()),
                                                         &written, nullptr) &&
                                             written == bytes.size())) &&
                          FlushFileBuffers(handle);
    CloseHandle(handle);
    if (complete) return CreateResult::Created;
    DeleteFileW(name.c_str());
    return CreateResult::Failed;
  }

  // Without best-fit mapping: a character the code page lacks becomes '?' rather than a
  // look-alike (a full-width backslash must not turn into a path separator).
  std::string ToAnsi(std::wstring_view text) const override {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), size, nullptr, nullptr);
    return out;
  }

  std::wstring FromAnsi(std::string_view text) const override {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), length, nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), length, out.data(), size);
    return out;
  }
};

}  // namespace

std::unique_ptr<FileSystem> CreateFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace setup::platform::win32
