#include "platform/host/host_database_files.h"

#include "foundation/text.h"

namespace setup::platform::host {

namespace {

// File layout, UTF-8, one record a line, fields separated by tabs:
//   host installer database            host installer transform
//   table <name> <column>...           insert <table> <field>...
//   row <table> <field>...             update <table> <key> <column> <field> [<column> <field>]...
//                                      delete <table> <key>
// A column name starting with "#" holds integers. A field is empty (null), "#" and a number,
// or "'" and a string in which backslash, tab and line end are escaped.
constexpr std::string_view kDatabaseHeader = "host installer database";
constexpr std::string_view kTransformHeader = "host installer transform";

std::string EncodeText(std::wstring_view text) {
  std::string encoded;
  for (const char c : ToUtf8(text)) {
    if (c == '\\') {
      encoded += "\\\\";
    } else if (c == '\t') {
      encoded += "\\t";
    } else if (c == '\n') {
      encoded += "\\n";
    } else {
      encoded += c;
    }
  }
  return encoded;
}

std::wstring DecodeText(std::string_view encoded) {
  std::string text;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '\\' || i + 1 == encoded.size()) {
      text += encoded[i];
      continue;
    }
    const char next = encoded[++i];
    text += next == 't' ? '\t' : next == 'n' ? '\n' : next;
  }
  return FromUtf8(text);
}

std::string EncodeField(const HostField& field) {
  if (const auto* number = std::get_if<std::int32_t>(&field)) return "#" + std::to_string(*number);
  if (const auto* text = std::get_if<std::wstring>(&field)) return text->empty() ? "" : "'" + EncodeText(*text);
  return "";
}

std::optional<HostField> DecodeField(std::string_view encoded) {
  if (encoded.empty()) return HostField();
  if (encoded[0] == '\'') return HostField(DecodeText(encoded.substr(1)));
  if (encoded[0] != '#') return std::nullopt;
  std::size_t consumed = 0;
  const std::wstring digits = FromUtf8(encoded.substr(1));
  const std::int64_t value = ParseLeadingInteger(digits, &consumed);
  if (digits.empty() || consumed != digits.size()) return std::nullopt;
  return HostField(static_cast<std::int32_t>(value));
}

std::string Line(std::string_view tag, std::wstring_view table, const std::vector<std::string>& fields) {
  std::string line(tag);
  line += "\t" + EncodeText(table);
  for (const std::string& field : fields) line += "\t" + field;
  return line + "\n";
}

std::vector<std::string> EncodeRow(const HostRow& row) {
  std::vector<std::string> fields;
  for (const HostField& field : row) fields.push_back(EncodeField(field));
  return fields;
}

// The lines after the header, each cut into its tab-separated parts; empty when the header
// does not match.
std::optional<std::vector<std::vector<std::string_view>>> SplitFile(std::string_view bytes, std::string_view header) {
  std::vector<std::vector<std::string_view>> lines;
  bool first = true;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (first) {
      if (line != header) return std::nullopt;
      first = false;
      continue;
    }
    if (line.empty()) continue;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
      parts.push_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    parts.push_back(line.substr(start));
    lines.push_back(std::move(parts));
  }
  if (first) return std::nullopt;
  return lines;
}

std::optional<HostRow> DecodeRow(const std::vector<std::string_view>& parts, std::size_t from) {
  HostRow row;
  for (std::size_t i = from; i < parts.size(); ++i) {
    auto field = DecodeField(parts[i]);
    if (!field) return std::nullopt;
    row.push_back(std::move(*field));
  }
  return row;
}

}  // namespace

std::wstring FieldText(const HostField& field) {
  if (const auto* number = std::get_if<std::int32_t>(&field)) return std::to_wstring(*number);
  if (const auto* text = std::get_if<std::wstring>(&field)) return *text;
  return L"";
}

std::optional<std::size_t> HostTable::ColumnIndex(std::wstring_view column) const {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == column) return i;
  }
  return std::nullopt;
}

HostRow* HostTable::FindRow(const HostField& key) {
  return const_cast<HostRow*>(static_cast<const HostTable*>(this)->FindRow(key));
}

const HostRow* HostTable::FindRow(const HostField& key) const {
  for (const HostRow& row : rows) {
    if (!row.empty() && row[0] == key) return &row;
  }
  return nullptr;
}

HostDatabaseFile HostDatabaseFile::Package() {
  HostDatabaseFile database;
  database.tables.push_back({L"File",
                             {{L"File"}, {L"Component_"}, {L"FileName"}, {L"FileSize", true}, {L"Version"},
                              {L"Language"}, {L"Attributes", true}, {L"Sequence", true}},
                             {}});
  database.tables.push_back(
      {L"Media",
       {{L"DiskId", true}, {L"LastSequence", true}, {L"DiskPrompt"}, {L"Cabinet"}, {L"VolumeLabel"}, {L"Source"}},
       {}});
  database.tables.push_back({L"Property", {{L"Property"}, {L"Value"}}, {}});
  return database;
}

HostTable* HostDatabaseFile::Table(std::wstring_view name) {
  for (HostTable& table : tables) {
    if (table.name == name) return &table;
  }
  return nullptr;
}

const HostTable* HostDatabaseFile::Table(std::wstring_view name) const {
  return const_cast<HostDatabaseFile*>(this)->Table(name);
}

HostDatabaseFile& HostDatabaseFile::AddRow(std::wstring_view table, HostRow row) {
  HostTable* target = Table(table);
  if (target) {
    row.resize(target->columns.size());
    target->rows.push_back(std::move(row));
  }
  return *this;
}

std::string HostDatabaseFile::Serialize() const {
  std::string bytes(kDatabaseHeader);
  bytes += "\n";
  if (!packageCode.empty()) bytes += Line("package-code", packageCode, {});
  for (const HostTable& table : tables) {
    std::vector<std::string> columns;
    for (const HostColumn& column : table.columns) {
      columns.push_back((column.integer ? "#" : "") + EncodeText(column.name));
    }
    bytes += Line("table", table.name, columns);
    for (const HostRow& row : table.rows) bytes += Line("row", table.name, EncodeRow(row));
  }
  return bytes;
}

std::optional<HostDatabaseFile> HostDatabaseFile::Parse(std::string_view bytes) {
  const auto lines = SplitFile(bytes, kDatabaseHeader);
  if (!lines) return std::nullopt;
  HostDatabaseFile database;
  for (const auto& parts : *lines) {
    if (parts.size() < 2) return std::nullopt;
    const std::wstring name = DecodeText(parts[1]);
    if (parts[0] == "table") {
      HostTable table{name, {}, {}};
      for (std::size_t i = 2; i < parts.size(); ++i) {
        const bool integer = parts[i].starts_with('#');
        table.columns.push_back({DecodeText(parts[i].substr(integer ? 1 : 0)), integer});
      }
      database.tables.push_back(std::move(table));
    } else if (parts[0] == "package-code") {
      database.packageCode = name;
    } else if (parts[0] == "row") {
      auto row = DecodeRow(parts, 2);
      HostTable* table = database.Table(name);
      if (!row || !table || row->size() != table->columns.size()) return std::nullopt;
      table->rows.push_back(std::move(*row));
    } else {
      return std::nullopt;
    }
  }
  return database;
}

HostTransformFile& HostTransformFile::Insert(std::wstring_view table, HostRow row) {
  changes.push_back({HostChangeKind::Insert, std::wstring(table), std::move(row), {}, {}});
  return *this;
}

HostTransformFile& HostTransformFile::Update(std::wstring_view table, HostField key, std::wstring_view column,
                                             HostField value) {
  changes.push_back(
      {HostChangeKind::Update, std::wstring(table), {}, std::move(key), {{std::wstring(column), std::move(value)}}});
  return *this;
}

HostTransformFile& HostTransformFile::Delete(std::wstring_view table, HostField key) {
  changes.push_back({HostChangeKind::Delete, std::wstring(table), {}, std::move(key), {}});
  return *this;
}

std::string HostTransformFile::Serialize() const {
  std::string bytes(kTransformHeader);
  bytes += "\n";
  for (const HostTableChange& change : changes) {
    switch (change.kind) {
      case HostChangeKind::Insert:
        bytes += Line("insert", change.table, EncodeRow(change.row));
        break;
      case HostChangeKind::Update: {
        std::vector<std::string> fields{EncodeField(change.key)};
        for (const auto& [column, value] : change.values) {
          fields.push_back(EncodeText(column));
          fields.push_back(EncodeField(value));
        }
        bytes += Line("update", change.table, fields);
        break;
      }
      case HostChangeKind::Delete:
        bytes += Line("delete", change.table, {EncodeField(change.key)});
        break;
    }
  }
  return bytes;
}

std::optional<HostTransformFile> HostTransformFile::Parse(std::string_view bytes) {
  const auto lines = SplitFile(bytes, kTransformHeader);
  if (!lines) return std::nullopt;
  HostTransformFile transform;
  for (const auto& parts : *lines) {
    if (parts.size() < 3) return std::nullopt;
    HostTableChange change{HostChangeKind::Insert, DecodeText(parts[1]), {}, {}, {}};
    if (parts[0] == "insert") {
      auto row = DecodeRow(parts, 2);
      if (!row) return std::nullopt;
      change.row = std::move(*row);
    } else if (parts[0] == "update" || parts[0] == "delete") {
      change.kind = parts[0] == "update" ? HostChangeKind::Update : HostChangeKind::Delete;
      auto key = DecodeField(parts[2]);
      // An update names pairs of column and value after its key; a deletion only its key.
      const bool shaped = change.kind == HostChangeKind::Update ? parts.size() % 2 == 1 : parts.size() == 3;
      if (!key || !shaped) return std::nullopt;
      change.key = std::move(*key);
      for (std::size_t i = 3; i + 1 < parts.size(); i += 2) {
        auto value = DecodeField(parts[i + 1]);
        if (!value) return std::nullopt;
        change.values.emplace_back(DecodeText(parts[i]), std::move(*value));
      }
    } else {
      return std::nullopt;
    }
    transform.changes.push_back(std::move(change));
  }
  return transform;
}

}  // namespace setup::platform::host
