// Host stand-in of the installer-database port: databases and transforms are the text files
// of host_database_files.h on the host file system. A database is read when it is opened and
// written back only by a commit; a transform applied with the view condition fills the
// handle's temporary "_TransformView" table (Table, Column, Row, Data, Current) as the
// installer does and leaves the tables alone; applied without it, the transform changes the
// tables, and a row it adds that exists already, or a row it changes or deletes that does not
// exist, fails the whole transform. Other error conditions are not modelled.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "platform/host/host_database_files.h"
#include "platform/host/host_database_query.h"
#include "platform/host/host_file_system.h"
#include "platform/installer_databases.h"

namespace setup::platform::host {

class HostInstallerDatabases : public InstallerDatabases {
 public:
  explicit HostInstallerDatabases(HostFileSystem& files) : files_(files) {}

  std::uint32_t OpenDatabase(std::wstring_view path, std::uint32_t persistMode, DatabaseHandle& database) override;
  std::uint32_t Commit(DatabaseHandle database) override;
  std::uint32_t ApplyTransform(DatabaseHandle database, std::wstring_view transformPath,
                               std::uint32_t errorConditions) override;
  std::uint32_t OpenView(DatabaseHandle database, std::wstring_view sql, DatabaseHandle& view) override;
  std::uint32_t Execute(DatabaseHandle view, DatabaseHandle parameters) override;
  std::uint32_t Fetch(DatabaseHandle view, DatabaseHandle& record) override;
  DatabaseHandle CreateRecord(std::uint32_t fieldCount) override;
  std::uint32_t SetInteger(DatabaseHandle record, std::uint32_t field, std::int32_t value) override;
  std::uint32_t SetString(DatabaseHandle record, std::uint32_t field, std::wstring_view value) override;
  std::int32_t GetInteger(DatabaseHandle record, std::uint32_t field) override;
  DatabaseText GetString(DatabaseHandle record, std::uint32_t field, std::size_t bufferChars) override;
  DatabaseHandle LastErrorRecord() override;
  DatabaseText FormatRecord(DatabaseHandle record, std::size_t bufferChars) override;
  std::uint32_t CloseHandle(DatabaseHandle handle) override;
  std::optional<std::wstring> PackageCode(std::wstring_view path) override;

  // Handles not closed yet: a test's check that the code under test released everything.
  std::size_t OpenHandles() const { return objects_.size(); }

 private:
  struct Database {
    std::wstring path;
    bool readOnly = false;
    HostDatabaseFile content;
    std::optional<HostTable> transformView;
  };
  struct View {
    std::shared_ptr<Database> database;
    HostQuery query;
    std::optional<std::vector<HostRow>> rows;  // set by Execute
    std::size_t next = 0;
  };
  using Record = HostRow;  // fields 1..n at indexes 0..n-1
  using Object = std::variant<std::shared_ptr<Database>, View, Record>;

  // The table a query names: one of the database's, or the temporary "_TransformView" once a
  // transform has been viewed; null when there is none of that name.
  static const HostTable* QueriedTable(const Database& database, std::wstring_view name);
  template <class T>
  T* Find(DatabaseHandle handle);
  DatabaseHandle Add(Object object);
  HostField* RecordField(DatabaseHandle record, std::uint32_t field);
  // Remembers an error record (installer error number and the object it concerns) for
  // LastErrorRecord, and returns `result`.
  std::uint32_t Fail(std::uint32_t result, std::int32_t error, std::wstring_view subject);

  HostFileSystem& files_;
  std::map<DatabaseHandle, Object> objects_;
  DatabaseHandle nextHandle_ = 1;
  std::optional<Record> lastError_;
};

}  // namespace setup::platform::host
