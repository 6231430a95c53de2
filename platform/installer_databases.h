// Port: Windows Installer databases (the .msi files themselves): opening and committing,
// applying transforms, views over SQL queries, records and the installer's last error.
// Every object is reached through a handle; 0 is no handle, and every other handle is closed
// with CloseHandle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <limits>
#include <string>
#include <string_view>

namespace setup::platform {

using DatabaseHandle = std::uint32_t;

// Persistence modes of OpenDatabase, with their installer values.
inline constexpr std::uint32_t kDatabaseOpenReadOnly = 0;
inline constexpr std::uint32_t kDatabaseOpenDirect = 2;
inline constexpr std::uint32_t kDatabaseCreateDirect = 4;

// Error condition of ApplyTransform that records the transform's changes in the temporary
// table "_TransformView" (Table, Column, Row, Data, Current) instead of making them.
inline constexpr std::uint32_t kTransformViewOnly = 0x100;

// The integer a record field holds when it is null or not a number.
inline constexpr std::int32_t kDatabaseNullInteger = std::numeric_limits<std::int32_t>::min();

// Results besides those of installer.h, with their Windows values.
inline constexpr std::uint32_t kDatabaseInvalidHandle = 6;
inline constexpr std::uint32_t kDatabaseInvalidParameter = 87;
inline constexpr std::uint32_t kDatabaseOpenFailed = 110;
inline constexpr std::uint32_t kDatabaseBadQuerySyntax = 1615;
inline constexpr std::uint32_t kDatabaseTransformFailed = 1624;
inline constexpr std::uint32_t kDatabaseFunctionFailed = 1627;

// A text read through a caller-sized buffer, as the installer hands it out: when the buffer of
// `bufferChars` characters (terminating zero included) is too small, the result is
// kInstallerMoreData and the text is cut to fit; `length` is the whole text's length.
struct DatabaseText {
  std::uint32_t result = 0;
  std::wstring text;
  std::size_t length = 0;
};

class InstallerDatabases {
 public:
  virtual ~InstallerDatabases() = default;

  virtual std::uint32_t OpenDatabase(std::wstring_view path, std::uint32_t persistMode, DatabaseHandle& database) = 0;
  // Writes the database's changes to its file.
  virtual std::uint32_t Commit(DatabaseHandle database) = 0;
  virtual std::uint32_t ApplyTransform(DatabaseHandle database, std::wstring_view transformPath,
                                       std::uint32_t errorConditions) = 0;

  virtual std::uint32_t OpenView(DatabaseHandle database, std::wstring_view sql, DatabaseHandle& view) = 0;
  // Runs the view's query; `parameters` (a record, or 0) fills its "?" markers in order.
  virtual std::uint32_t Execute(DatabaseHandle view, DatabaseHandle parameters) = 0;
  // The next row as a new record; kInstallerNoMoreItems after the last one.
  virtual std::uint32_t Fetch(DatabaseHandle view, DatabaseHandle& record) = 0;

  // A record of `fieldCount` null fields, numbered from 1; 0 when it cannot be made.
  virtual DatabaseHandle CreateRecord(std::uint32_t fieldCount) = 0;
  virtual std::uint32_t SetInteger(DatabaseHandle record, std::uint32_t field, std::int32_t value) = 0;
  virtual std::uint32_t SetString(DatabaseHandle record, std::uint32_t field, std::wstring_view value) = 0;
  // The field as an integer; kDatabaseNullInteger when it is null or not a number.
  virtual std::int32_t GetInteger(DatabaseHandle record, std::uint32_t field) = 0;
  // The field as text (an integer field in decimal, a null field empty).
  virtual DatabaseText GetString(DatabaseHandle record, std::uint32_t field, std::size_t bufferChars) = 0;

  // The record describing the last failed database operation of this process, handed over
  // once; 0 when there is none.
  virtual DatabaseHandle LastErrorRecord() = 0;
  virtual DatabaseText FormatRecord(DatabaseHandle record, std::size_t bufferChars) = 0;

  virtual std::uint32_t CloseHandle(DatabaseHandle handle) = 0;

  // The package code of the MSI file (its summary information's revision number), read
  // without opening the database; none when the file is no readable package.
  virtual std::optional<std::wstring> PackageCode(std::wstring_view path) = 0;
};

}  // namespace setup::platform
