#include "platform/host/host_database_query.h"

#include <cwctype>

#include "foundation/text.h"

namespace setup::platform::host {

namespace {

enum class TokenKind { Name, Text, Number, Symbol };

struct Token {
  TokenKind kind;
  std::wstring text;
};

bool IsNameCharacter(wchar_t c) { return std::iswalnum(c) || c == L'_' || c == L'.'; }

std::optional<std::vector<Token>> Tokenize(std::wstring_view sql) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < sql.size()) {
    const wchar_t c = sql[i];
    if (std::iswspace(c)) {
      ++i;
    } else if (c == L'`' || c == L'\'') {
      const std::size_t end = sql.find(c, i + 1);
      if (end == std::wstring_view::npos) return std::nullopt;
      tokens.push_back({c == L'`' ? TokenKind::Name : TokenKind::Text, std::wstring(sql.substr(i + 1, end - i - 1))});
      i = end + 1;
    } else if (std::iswdigit(c) || (c == L'-' && i + 1 < sql.size() && std::iswdigit(sql[i + 1]))) {
      std::size_t end = i + 1;
      while (end < sql.size() && std::iswdigit(sql[end])) ++end;
      tokens.push_back({TokenKind::Number, std::wstring(sql.substr(i, end - i))});
      i = end;
    } else if (IsNameCharacter(c)) {
      std::size_t end = i;
      while (end < sql.size() && IsNameCharacter(sql[end])) ++end;
      tokens.push_back({TokenKind::Name, std::wstring(sql.substr(i, end - i))});
      i = end;
    } else if (c == L'*' || c == L',' || c == L'=' || c == L'?') {
      tokens.push_back({TokenKind::Symbol, std::wstring(1, c)});
      ++i;
    } else {
      return std::nullopt;
    }
  }
  return tokens;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool Keyword(std::wstring_view word) {
    if (at_ >= tokens_.size() || tokens_[at_].kind != TokenKind::Name) return false;
    if (!EqualsIgnoreCase(tokens_[at_].text, word)) return false;
    ++at_;
    return true;
  }
  bool Symbol(wchar_t symbol) {
    if (at_ >= tokens_.size() || tokens_[at_].kind != TokenKind::Symbol || tokens_[at_].text[0] != symbol) return false;
    ++at_;
    return true;
  }
  std::optional<std::wstring> Name() {
    if (at_ >= tokens_.size() || tokens_[at_].kind != TokenKind::Name) return std::nullopt;
    return tokens_[at_++].text;
  }
  std::optional<HostField> Literal() {
    if (at_ >= tokens_.size()) return std::nullopt;
    const Token& token = tokens_[at_];
    if (token.kind == TokenKind::Text) {
      ++at_;
      return HostField(token.text);
    }
    if (token.kind == TokenKind::Number) {
      ++at_;
      return HostField(static_cast<std::int32_t>(ParseLeadingInteger(token.text)));
    }
    return std::nullopt;
  }
  bool AtEnd() const { return at_ == tokens_.size(); }

 private:
  std::vector<Token> tokens_;
  std::size_t at_ = 0;
};

// A condition value compares with a field as the installer compares them: strings exactly,
// integers by value, and a number given as text against an integer column by its value.
bool Matches(const HostField& field, const HostField& value) {
  if (std::holds_alternative<std::int32_t>(field) && std::holds_alternative<std::wstring>(value)) {
    return FieldText(field) == std::get<std::wstring>(value);
  }
  return field == value;
}

}  // namespace

std::optional<HostQuery> ParseHostQuery(std::wstring_view sql) {
  auto tokens = Tokenize(sql);
  if (!tokens) return std::nullopt;
  Parser parser(std::move(*tokens));
  HostQuery query;
  if (!parser.Keyword(L"SELECT")) return std::nullopt;
  if (!parser.Symbol(L'*')) {
    do {
      auto column = parser.Name();
      if (!column) return std::nullopt;
      query.columns.push_back(std::move(*column));
    } while (parser.Symbol(L','));
  }
  if (!parser.Keyword(L"FROM")) return std::nullopt;
  auto table = parser.Name();
  if (!table) return std::nullopt;
  query.table = std::move(*table);
  if (parser.Keyword(L"WHERE")) {
    query.whereColumn = parser.Name();
    if (!query.whereColumn || !parser.Symbol(L'=')) return std::nullopt;
    if (parser.Symbol(L'?')) {
      query.whereParameter = true;
    } else {
      auto literal = parser.Literal();
      if (!literal) return std::nullopt;
      query.whereValue = std::move(*literal);
    }
  }
  if (!parser.AtEnd()) return std::nullopt;
  return query;
}

std::optional<std::vector<HostRow>> RunHostQuery(const HostQuery& query, const HostTable& table,
                                                 const HostField& parameter) {
  std::vector<std::size_t> selected;
  for (const std::wstring& column : query.columns) {
    const auto index = table.ColumnIndex(column);
    if (!index) return std::nullopt;
    selected.push_back(*index);
  }
  if (query.columns.empty()) {
    for (std::size_t i = 0; i < table.columns.size(); ++i) selected.push_back(i);
  }
  std::optional<std::size_t> whereIndex;
  if (query.whereColumn) {
    whereIndex = table.ColumnIndex(*query.whereColumn);
    if (!whereIndex) return std::nullopt;
  }
  const HostField& wanted = query.whereParameter ? parameter : query.whereValue;
  std::vector<HostRow> rows;
  for (const HostRow& row : table.rows) {
    if (whereIndex && !Matches(row[*whereIndex], wanted)) continue;
    HostRow picked;
    for (const std::size_t index : selected) picked.push_back(row[index]);
    rows.push_back(std::move(picked));
  }
  return rows;
}

}  // namespace setup::platform::host
