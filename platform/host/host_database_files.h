// The files of the host installer-database stand-in: a package database holding a few tables
// and a transform listing row changes, both kept as small text files that tests build with
// the types below and write anywhere on the host file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace setup::platform::host {

// A field: null, an integer or a string.
using HostField = std::variant<std::monostate, std::int32_t, std::wstring>;
using HostRow = std::vector<HostField>;

struct HostColumn {
  std::wstring name;
  bool integer = false;
};

// A table whose first column is its key.
struct HostTable {
  std::wstring name;
  std::vector<HostColumn> columns;
  std::vector<HostRow> rows;

  std::optional<std::size_t> ColumnIndex(std::wstring_view column) const;
  HostRow* FindRow(const HostField& key);
  const HostRow* FindRow(const HostField& key) const;
};

struct HostDatabaseFile {
  std::vector<HostTable> tables;
  // The summary information's package code; empty when the file carries none.
  std::wstring packageCode;

  // An empty package with the tables a transform merge reads, with their installer columns:
  // File (File, Component_, FileName, FileSize, Version, Language, Attributes, Sequence),
  // Media (DiskId, LastSequence, DiskPrompt, Cabinet, VolumeLabel, Source) and
  // Property (Property, Value).
  static HostDatabaseFile Package();

  HostTable* Table(std::wstring_view name);
  const HostTable* Table(std::wstring_view name) const;
  // Adds a row to an existing table, padding missing trailing fields with null.
  HostDatabaseFile& AddRow(std::wstring_view table, HostRow row);

  std::string Serialize() const;
  // Empty when the bytes are not a host database file.
  static std::optional<HostDatabaseFile> Parse(std::string_view bytes);
};

enum class HostChangeKind { Insert, Update, Delete };

struct HostTableChange {
  HostChangeKind kind = HostChangeKind::Insert;
  std::wstring table;
  HostRow row;                                             // Insert: every column in order
  HostField key;                                           // Update, Delete: the row's key
  std::vector<std::pair<std::wstring, HostField>> values;  // Update: new values by column
};

struct HostTransformFile {
  std::vector<HostTableChange> changes;

  HostTransformFile& Insert(std::wstring_view table, HostRow row);
  HostTransformFile& Update(std::wstring_view table, HostField key, std::wstring_view column, HostField value);
  HostTransformFile& Delete(std::wstring_view table, HostField key);

  std::string Serialize() const;
  // Empty when the bytes are not a host transform file.
  static std::optional<HostTransformFile> Parse(std::string_view bytes);
};

// The field as the installer's text: decimal for an integer, empty for null.
std::wstring FieldText(const HostField& field);

}  // namespace setup::platform::host
