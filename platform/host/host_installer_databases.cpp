#include "platform/host/host_installer_databases.h"

#include "foundation/text.h"
#include "platform/installer.h"

namespace setup::platform::host {

namespace {

constexpr std::uint32_t kDatabaseOpenTransact = 1;
constexpr std::uint32_t kDatabaseCreate = 3;

// Installer error numbers of the error records.
constexpr std::int32_t kErrorOpenDatabase = 2203;
constexpr std::int32_t kErrorQuery = 2227;
constexpr std::int32_t kErrorTransform = 2226;
constexpr std::int32_t kErrorCommit = 2205;

HostTable TransformViewTable() {
  return {L"_TransformView", {{L"Table"}, {L"Column"}, {L"Row"}, {L"Data"}, {L"Current"}}, {}};
}

// What the view condition records for one change: a row per column it sets (the key
// column of an added row is the row's name, not a change), and a row naming the operation
// for added and deleted rows.
void RecordChange(const HostTableChange& change, const HostTable& table, HostTable& view) {
  auto add = [&](std::wstring column, const HostField& key, const HostField& data, const HostField& current) {
    view.rows.push_back({HostField(change.table), HostField(std::move(column)), HostField(FieldText(key)),
                         HostField(FieldText(data)), HostField(FieldText(current))});
  };
  switch (change.kind) {
    case HostChangeKind::Insert:
      for (std::size_t i = 1; i < table.columns.size() && i < change.row.size(); ++i) {
        add(table.columns[i].name, change.row[0], change.row[i], HostField());
      }
      add(L"INSERT", change.row.empty() ? HostField() : change.row[0], HostField(), HostField());
      break;
    case HostChangeKind::Update: {
      const HostRow* current = table.FindRow(change.key);
      for (const auto& [column, value] : change.values) {
        const auto index = table.ColumnIndex(column);
        add(column, change.key, value, current && index ? (*current)[*index] : HostField());
      }
      break;
    }
    case HostChangeKind::Delete:
      add(L"DELETE", change.key, HostField(), HostField());
      break;
  }
}

// Makes one change; false when it conflicts with the table.
bool MakeChange(const HostTableChange& change, HostTable& table) {
  switch (change.kind) {
    case HostChangeKind::Insert: {
      if (change.row.size() != table.columns.size() || table.FindRow(change.row[0])) return false;
      table.rows.push_back(change.row);
      return true;
    }
    case HostChangeKind::Update: {
      HostRow* row = table.FindRow(change.key);
      if (!row) return false;
      for (const auto& [column, value] : change.values) {
        const auto index = table.ColumnIndex(column);
        if (!index || *index == 0) return false;
        (*row)[*index] = value;
      }
      return true;
    }
    case HostChangeKind::Delete: {
      const HostRow* row = table.FindRow(change.key);
      if (!row) return false;
      table.rows.erase(table.rows.begin() + (row - table.rows.data()));
      return true;
    }
  }
  return false;
}

DatabaseText BufferedText(std::wstring text, std::size_t bufferChars) {
  const std::size_t length = text.size();
  if (length < bufferChars) return {kInstallerSuccess, std::move(text), length};
  text.resize(bufferChars == 0 ? 0 : bufferChars - 1);
  return {kInstallerMoreData, std::move(text), length};
}

}  // namespace

const HostTable* HostInstallerDatabases::QueriedTable(const Database& database, std::wstring_view name) {
  if (name == L"_TransformView") return database.transformView ? &*database.transformView : nullptr;
  return database.content.Table(name);
}

template <class T>
T* HostInstallerDatabases::Find(DatabaseHandle handle) {
  const auto found = objects_.find(handle);
  return found == objects_.end() ? nullptr : std::get_if<T>(&found->second);
}

DatabaseHandle HostInstallerDatabases::Add(Object object) {
  const DatabaseHandle handle = nextHandle_++;
  objects_.emplace(handle, std::move(object));
  return handle;
}

HostField* HostInstallerDatabases::RecordField(DatabaseHandle record, std::uint32_t field) {
  Record* fields = Find<Record>(record);
  return fields && field >= 1 && field <= fields->size() ? &(*fields)[field - 1] : nullptr;
}

std::uint32_t HostInstallerDatabases::Fail(std::uint32_t result, std::int32_t error, std::wstring_view subject) {
  lastError_ = Record{HostField(error), HostField(std::wstring(subject))};
  return result;
}

std::uint32_t HostInstallerDatabases::OpenDatabase(std::wstring_view path, std::uint32_t persistMode,
                                                   DatabaseHandle& database) {
  database = 0;
  auto opened = std::make_shared<Database>();
  opened->path = path;
  if (persistMode == kDatabaseCreate || persistMode == kDatabaseCreateDirect) {
    database = Add(std::move(opened));
    return kInstallerSuccess;
  }
  const bool opensFile =
      persistMode == kDatabaseOpenReadOnly || persistMode == kDatabaseOpenTransact || persistMode == kDatabaseOpenDirect;
  if (!opensFile) return kDatabaseInvalidParameter;
  const auto bytes = files_.ReadFile(path);
  auto content = bytes ? HostDatabaseFile::Parse(*bytes) : std::nullopt;
  if (!content) return Fail(kDatabaseOpenFailed, kErrorOpenDatabase, path);
  opened->readOnly = persistMode == kDatabaseOpenReadOnly;
  opened->content = std::move(*content);
  database = Add(std::move(opened));
  return kInstallerSuccess;
}

std::uint32_t HostInstallerDatabases::Commit(DatabaseHandle database) {
  auto* found = Find<std::shared_ptr<Database>>(database);
  if (!found) return kDatabaseInvalidHandle;
  const Database& opened = **found;
  if (opened.readOnly || !files_.WriteFile(opened.path, opened.content.Serialize())) {
    return Fail(kDatabaseFunctionFailed, kErrorCommit, opened.path);
  }
  return kInstallerSuccess;
}

std::uint32_t HostInstallerDatabases::ApplyTransform(DatabaseHandle database, std::wstring_view transformPath,
                                                     std::uint32_t errorConditions) {
  auto* found = Find<std::shared_ptr<Database>>(database);
  if (!found) return kDatabaseInvalidHandle;
  Database& opened = **found;
  const auto bytes = files_.ReadFile(transformPath);
  if (!bytes) return Fail(kDatabaseOpenFailed, kErrorTransform, transformPath);
  const auto transform = HostTransformFile::Parse(*bytes);
  if (!transform) return Fail(kDatabaseTransformFailed, kErrorTransform, transformPath);

  // Every change is checked on a copy first: a transform is applied whole or not at all.
  HostDatabaseFile changed = opened.content;
  HostTable view = opened.transformView.value_or(TransformViewTable());
  for (const HostTableChange& change : transform->changes) {
    HostTable* table = changed.Table(change.table);
    if (!table) return Fail(kDatabaseTransformFailed, kErrorTransform, transformPath);
    if (errorConditions & kTransformViewOnly) {
      RecordChange(change, *table, view);
    } else if (!MakeChange(change, *table)) {
      return Fail(kDatabaseTransformFailed, kErrorTransform, transformPath);
    }
  }
  if (errorConditions & kTransformViewOnly) {
    opened.transformView = std::move(view);
  } else {
    opened.content = std::move(changed);
  }
  return kInstallerSuccess;
}

std::uint32_t HostInstallerDatabases::OpenView(DatabaseHandle database, std::wstring_view sql, DatabaseHandle& view) {
  view = 0;
  auto* found = Find<std::shared_ptr<Database>>(database);
  if (!found) return kDatabaseInvalidHandle;
  auto query = ParseHostQuery(sql);
  const HostTable* table = query ? QueriedTable(**found, query->table) : nullptr;
  // Running the query on the table's columns alone checks the columns it names.
  if (!table || !RunHostQuery(*query, HostTable{table->name, table->columns, {}}, HostField())) {
    return Fail(kDatabaseBadQuerySyntax, kErrorQuery, sql);
  }
  view = Add(View{*found, std::move(*query), std::nullopt, 0});
  return kInstallerSuccess;
}

std::uint32_t HostInstallerDatabases::Execute(DatabaseHandle view, DatabaseHandle parameters) {
  View* opened = Find<View>(view);
  if (!opened) return kDatabaseInvalidHandle;
  HostField parameter;
  if (opened->query.whereParameter) {
    const HostField* field = RecordField(parameters, 1);
    if (!field) return kDatabaseInvalidParameter;
    parameter = *field;
  }
  opened->rows = RunHostQuery(opened->query, *QueriedTable(*opened->database, opened->query.table), parameter);
  opened->next = 0;
  return kInstallerSuccess;
}

std::uint32_t HostInstallerDatabases::Fetch(DatabaseHandle view, DatabaseHandle& record) {
  record = 0;
  View* opened = Find<View>(view);
  if (!opened) return kDatabaseInvalidHandle;
  if (!opened->rows) return kDatabaseFunctionFailed;
  if (opened->next >= opened->rows->size()) return kInstallerNoMoreItems;
  HostRow row = (*opened->rows)[opened->next++];
  record = Add(std::move(row));
  return kInstallerSuccess;
}

DatabaseHandle HostInstallerDatabases::CreateRecord(std::uint32_t fieldCount) { return Add(Record(fieldCount)); }

std::uint32_t HostInstallerDatabases::SetInteger(DatabaseHandle record, std::uint32_t field, std::int32_t value) {
  HostField* target = RecordField(record, field);
  if (!target) return Find<Record>(record) ? kDatabaseInvalidParameter : kDatabaseInvalidHandle;
  *target = value == kDatabaseNullInteger ? HostField() : HostField(value);
  return kInstallerSuccess;
}

std::uint32_t HostInstallerDatabases::SetString(DatabaseHandle record, std::uint32_t field, std::wstring_view value) {
  HostField* target = RecordField(record, field);
  if (!target) return Find<Record>(record) ? kDatabaseInvalidParameter : kDatabaseInvalidHandle;
  *target = value.empty() ? HostField() : HostField(std::wstring(value));
  return kInstallerSuccess;
}

std::int32_t HostInstallerDatabases::GetInteger(DatabaseHandle record, std::uint32_t field) {
  const HostField* value = RecordField(record, field);
  if (!value) return kDatabaseNullInteger;
  if (const auto* number = std::get_if<std::int32_t>(value)) return *number;
  // A string that is a whole number reads as that number, as the installer reads it.
  const std::wstring text = FieldText(*value);
  std::size_t consumed = 0;
  const std::int64_t number = ParseLeadingInteger(text, &consumed);
  return !text.empty() && consumed == text.size() ? static_cast<std::int32_t>(number) : kDatabaseNullInteger;
}

DatabaseText HostInstallerDatabases::GetString(DatabaseHandle record, std::uint32_t field, std::size_t bufferChars) {
  if (!Find<Record>(record)) return {kDatabaseInvalidHandle, L"", 0};
  const HostField* value = RecordField(record, field);
  return BufferedText(value ? FieldText(*value) : L"", bufferChars);
}

DatabaseHandle HostInstallerDatabases::LastErrorRecord() {
  if (!lastError_) return 0;
  const DatabaseHandle record = Add(std::move(*lastError_));
  lastError_.reset();
  return record;
}

DatabaseText HostInstallerDatabases::FormatRecord(DatabaseHandle record, std::size_t bufferChars) {
  const Record* fields = Find<Record>(record);
  if (!fields) return {kDatabaseInvalidHandle, L"", 0};
  // A record without a template formats as "1: <field 1> 2: <field 2> ...".
  std::wstring text;
  for (std::size_t i = 0; i < fields->size(); ++i) {
    text += std::to_wstring(i + 1) + L": " + FieldText((*fields)[i]) + L" ";
  }
  return BufferedText(std::move(text), bufferChars);
}

std::uint32_t HostInstallerDatabases::CloseHandle(DatabaseHandle handle) {
  return objects_.erase(handle) ? kInstallerSuccess : kDatabaseInvalidHandle;
}

std::optional<std::wstring> HostInstallerDatabases::PackageCode(std::wstring_view path) {
  const auto bytes = files_.ReadFile(path);
  const auto database = bytes ? HostDatabaseFile::Parse(*bytes) : std::nullopt;
  if (!database || database->packageCode.empty()) return std::nullopt;
  return database->packageCode;
}

}  // namespace setup::platform::host
