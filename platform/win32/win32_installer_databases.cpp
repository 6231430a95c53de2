// Installer databases through msi.dll, loaded on first use.
//
// Handles given out are the adapter's own numbers, each standing for an msi.dll handle: a
// database may have to be reopened behind its handle (below), and msi.dll reuses the numbers
// of closed handles.
//
// Wine differs from Windows here: when a transform has been applied to a database handle with
// the view condition (MSITRANSFORM_ERROR_VIEWTRANSFORM) and then again for real, committing
// that handle stores NULL for every string the transform brought. Applying the transform on a
// freshly opened handle stores the right data, and a second handle cannot be opened beside the
// first (the file is shared exclusively). So a commit of a database that has viewed a
// transform closes its msi.dll handle, opens the file afresh, applies again every transform
// that was applied for real since the last commit, and commits that handle, which then stands
// behind the database's handle. Windows commits the first handle as it is: the repair runs
// under Wine only. Only databases opened in direct mode (the launcher's mode) are reopened,
// and changes made on them other than by transforms would be lost; the launcher makes none.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/running_under_wine.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

struct AppliedTransform {
  std::wstring path;
  std::uint32_t errorConditions;
};

// What a database handle needs for reopening its file.
struct DatabaseState {
  std::wstring path;
  std::uint32_t persistMode;
  bool viewedTransform = false;
  std::vector<AppliedTransform> appliedSinceCommit;
};

// Calls `read` (buffer, in: its size in characters, out: the text's length) as msi.dll's text
// getters take them. The buffer has one spare zero, so that the text ends even where the
// getter fills the whole buffer.
template <class Read>
DatabaseText ReadText(Read read, std::size_t bufferChars) {
  std::vector<wchar_t> buffer(bufferChars + 1, L'\0');
  DWORD length = static_cast<DWORD>(bufferChars);
  const UINT result = read(buffer.data(), &length);
  DatabaseText text{result, std::wstring(buffer.data()), length};
  const std::size_t fits = result == ERROR_SUCCESS ? length : (bufferChars == 0 ? 0 : bufferChars - 1);
  if (text.text.size() > fits) text.text.resize(fits);
  return text;
}

class Win32InstallerDatabases : public InstallerDatabases {
 public:
  ~Win32InstallerDatabases() override {
    for (const auto& [handle, msiHandle] : handles_) Close(msiHandle);
  }

  std::uint32_t OpenDatabase(std::wstring_view path, std::uint32_t persistMode, DatabaseHandle& database) override {
    database = 0;
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiOpenDatabaseW);
    if (!MsiOpenDatabaseWPtr) return ERROR_MOD_NOT_FOUND;
    const std::wstring file(path);
    MSIHANDLE opened = 0;
    // The persistence mode travels in the pointer argument, as msi.dll expects it.
    const UINT result =
        MsiOpenDatabaseWPtr(file.c_str(), reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(persistMode)), &opened);
    if (result != ERROR_SUCCESS) return result;
    std::lock_guard lock(mutex_);
    database = Issue(opened);
    databases_[database] = DatabaseState{file, persistMode, false, {}};
    return ERROR_SUCCESS;
  }

  std::uint32_t Commit(DatabaseHandle database) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiDatabaseCommit);
    if (!MsiDatabaseCommitPtr) return ERROR_MOD_NOT_FOUND;
    std::lock_guard lock(mutex_);
    const auto state = databases_.find(database);
    if (state == databases_.end()) return ERROR_INVALID_HANDLE;
    if (RunningUnderWine() && state->second.viewedTransform && !state->second.appliedSinceCommit.empty() &&
        state->second.persistMode == kDatabaseOpenDirect) {
      if (const UINT reopened = ReopenAndReapply(database, state->second); reopened != ERROR_SUCCESS) return reopened;
    }
    const UINT result = MsiDatabaseCommitPtr(Real(database));
    if (result == ERROR_SUCCESS) {
      state->second.viewedTransform = false;
      state->second.appliedSinceCommit.clear();
    }
    return result;
  }

  std::uint32_t ApplyTransform(DatabaseHandle database, std::wstring_view transformPath,
                               std::uint32_t errorConditions) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiDatabaseApplyTransformW);
    if (!MsiDatabaseApplyTransformWPtr) return ERROR_MOD_NOT_FOUND;
    std::lock_guard lock(mutex_);
    const auto state = databases_.find(database);
    if (state == databases_.end()) return ERROR_INVALID_HANDLE;
    const std::wstring transform(transformPath);
    const UINT result = MsiDatabaseApplyTransformWPtr(Real(database), transform.c_str(), errorConditions);
    if (result != ERROR_SUCCESS) return result;
    if (errorConditions & kTransformViewOnly) {
      state->second.viewedTransform = true;
    } else {
      state->second.appliedSinceCommit.push_back({transform, errorConditions});
    }
    return ERROR_SUCCESS;
  }

  std::uint32_t OpenView(DatabaseHandle database, std::wstring_view sql, DatabaseHandle& view) override {
    view = 0;
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiDatabaseOpenViewW);
    if (!MsiDatabaseOpenViewWPtr) return ERROR_MOD_NOT_FOUND;
    const std::wstring query(sql);
    std::lock_guard lock(mutex_);
    MSIHANDLE opened = 0;
    const UINT result = MsiDatabaseOpenViewWPtr(Real(database), query.c_str(), &opened);
    if (result == ERROR_SUCCESS) view = Issue(opened);
    return result;
  }

  std::uint32_t Execute(DatabaseHandle view, DatabaseHandle parameters) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiViewExecute);
    if (!MsiViewExecutePtr) return ERROR_MOD_NOT_FOUND;
    std::lock_guard lock(mutex_);
    return MsiViewExecutePtr(Real(view), Real(parameters));
  }

  std::uint32_t Fetch(DatabaseHandle view, DatabaseHandle& record) override {
    record = 0;
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiViewFetch);
    if (!MsiViewFetchPtr) return ERROR_MOD_NOT_FOUND;
    std::lock_guard lock(mutex_);
    MSIHANDLE row = 0;
    const UINT result = MsiViewFetchPtr(Real(view), &row);
    if (result == ERROR_SUCCESS) record = Issue(row);
    return result;
  }

  DatabaseHandle CreateRecord(std::uint32_t fieldCount) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiCreateRecord);
    if (!MsiCreateRecordPtr) return 0;
    const MSIHANDLE record = MsiCreateRecordPtr(fieldCount);
    if (record == 0) return 0;
    std::lock_guard lock(mutex_);
    return Issue(record);
  }

  std::uint32_t SetInteger(DatabaseHandle record, std::uint32_t field, std::int32_t value) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiRecordSetInteger);
    if (!MsiRecordSetIntegerPtr) return ERROR_MOD_NOT_FOUND;
    std::lock_guard lock(mutex_);
    return MsiRecordSetIntegerPtr(Real(record), field, value);
  }

  std::uint32_t SetString(DatabaseHandle record, std::uint32_t field, std::wstring_view value) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiRecordSetStringW);
    if (!MsiRecordSetStringWPtr) return ERROR_MOD_NOT_FOUND;
    const std::wstring text(value);
    std::lock_guard lock(mutex_);
    return MsiRecordSetStringWPtr(Real(record), field, text.c_str());
  }

  std::int32_t GetInteger(DatabaseHandle record, std::uint32_t field) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiRecordGetInteger);
    if (!MsiRecordGetIntegerPtr) return kDatabaseNullInteger;
    std::lock_guard lock(mutex_);
    return MsiRecordGetIntegerPtr(Real(record), field);
  }

  DatabaseText GetString(DatabaseHandle record, std::uint32_t field, std::size_t bufferChars) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiRecordGetStringW);
    if (!MsiRecordGetStringWPtr) return {ERROR_MOD_NOT_FOUND, L"", 0};
    std::lock_guard lock(mutex_);
    const MSIHANDLE real = Real(record);
    return ReadText(
        [&](wchar_t* buffer, DWORD* length) { return MsiRecordGetStringWPtr(real, field, buffer, length); },
        bufferChars);
  }

  DatabaseHandle LastErrorRecord() override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiGetLastErrorRecord);
    if (!MsiGetLastErrorRecordPtr) return 0;
    const MSIHANDLE record = MsiGetLastErrorRecordPtr();
    if (record == 0) return 0;
    std::lock_guard lock(mutex_);
    return Issue(record);
  }

  DatabaseText FormatRecord(DatabaseHandle record, std::size_t bufferChars) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiFormatRecordW);
    if (!MsiFormatRecordWPtr) return {ERROR_MOD_NOT_FOUND, L"", 0};
    std::lock_guard lock(mutex_);
    const MSIHANDLE real = Real(record);
    return ReadText([&](wchar_t* buffer, DWORD* length) { return MsiFormatRecordWPtr(0, real, buffer, length); },
                    bufferChars);
  }

  std::uint32_t CloseHandle(DatabaseHandle handle) override {
    std::lock_guard lock(mutex_);
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return ERROR_INVALID_HANDLE;
    const UINT result = Close(found->second);
    handles_.erase(found);
    databases_.erase(handle);
    return result;
  }

  std::optional<std::wstring> PackageCode(std::wstring_view path) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiGetSummaryInformationW);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiSummaryInfoGetPropertyW);
    if (!MsiGetSummaryInformationWPtr || !MsiSummaryInfoGetPropertyWPtr) return std::nullopt;
    MSIHANDLE summary = 0;
    if (MsiGetSummaryInformationWPtr(0, std::wstring(path).c_str(), 0, &summary) != ERROR_SUCCESS) return std::nullopt;
    constexpr UINT kRevisionNumber = 9;  // PID_REVNUMBER: the package code
    wchar_t text[64] = {};
    DWORD size = 64;
    UINT type = 0;
    INT number = 0;
    FILETIME time{};
    const UINT read = MsiSummaryInfoGetPropertyWPtr(summary, kRevisionNumber, &type, &number, &time, text, &size);
    Close(summary);
    constexpr UINT kText = 30;  // VT_LPSTR
    if (read != ERROR_SUCCESS || type != kText) return std::nullopt;
    return std::wstring(text, size);
  }

 private:
  static UINT Close(MSIHANDLE handle) {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiCloseHandle);
    return MsiCloseHandlePtr ? MsiCloseHandlePtr(handle) : ERROR_MOD_NOT_FOUND;
  }

  DatabaseHandle Issue(MSIHANDLE handle) {
    const DatabaseHandle issued = nextHandle_++;
    handles_[issued] = handle;
    return issued;
  }

  // The msi.dll handle behind a handle of ours; 0 for none.
  MSIHANDLE Real(DatabaseHandle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? 0 : found->second;
  }

  // The Wine workaround described at the top of this file.
  UINT ReopenAndReapply(DatabaseHandle database, const DatabaseState& state) {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiOpenDatabaseW);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiDatabaseApplyTransformW);
    Close(handles_[database]);
    handles_[database] = 0;
    MSIHANDLE reopened = 0;
    const UINT result = MsiOpenDatabaseWPtr(state.path.c_str(), MSIDBOPEN_DIRECT, &reopened);
    if (result != ERROR_SUCCESS) return result;
    handles_[database] = reopened;
    for (const AppliedTransform& transform : state.appliedSinceCommit) {
      const UINT applied = MsiDatabaseApplyTransformWPtr(reopened, transform.path.c_str(), transform.errorConditions);
      if (applied != ERROR_SUCCESS) return applied;
    }
    return ERROR_SUCCESS;
  }

  std::mutex mutex_;
  std::map<DatabaseHandle, MSIHANDLE> handles_;
  std::map<DatabaseHandle, DatabaseState> databases_;
  DatabaseHandle nextHandle_ = 1;
};

}  // namespace

std::unique_ptr<InstallerDatabases> CreateInstallerDatabases() { return std::make_unique<Win32InstallerDatabases>(); }

}  // namespace setup::platform::win32
