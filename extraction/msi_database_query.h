// SQL statements and queries over an open installer database. A statement opens its view and
// runs it at once, with its parameters filling the "?" markers in order; a query then hands
// out the rows one at a time.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "platform/installer_databases.h"

namespace setup {

class ICBSMSIDatabase;

using QueryParameter = std::variant<std::int32_t, std::wstring_view>;

class ICBSMSIDatabaseSQLStatement {
 public:
  // Borrows the database's handle: the database must outlive the statement.
  ICBSMSIDatabaseSQLStatement(ICBSMSIDatabase& database, std::wstring_view sql,
                              std::initializer_list<QueryParameter> parameters = {});
  virtual ~ICBSMSIDatabaseSQLStatement();
  ICBSMSIDatabaseSQLStatement(const ICBSMSIDatabaseSQLStatement&) = delete;
  ICBSMSIDatabaseSQLStatement& operator=(const ICBSMSIDatabaseSQLStatement&) = delete;

  // The installer's result of opening or running the view; 0 when it ran.
  std::uint32_t LastResult() const { return lastResult_; }

 protected:
  platform::InstallerDatabases& databases_;
  platform::DatabaseHandle database_;
  platform::DatabaseHandle view_ = 0;
  platform::DatabaseHandle parameters_ = 0;
  std::uint32_t lastResult_ = 0;
};

class ICBSMSIDatabaseQuery : public ICBSMSIDatabaseSQLStatement {
 public:
  using ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement;
  ~ICBSMSIDatabaseQuery() override;

  // Moves to the next row; false after the last one, or when the query did not run.
  bool Fetch();
  // A field of the current row (numbered from 1) as text; empty without a current row. Text
  // is read through a buffer of 4096 characters: a longer field reads as empty, so that no
  // file or table name is ever taken from a cut text.
  std::wstring StringField(std::uint32_t field) const;
  // A field of the current row as an integer; platform::kDatabaseNullInteger when it is
  // null, not a number, or there is no current row.
  std::int32_t IntegerField(std::uint32_t field) const;

 private:
  platform::DatabaseHandle row_ = 0;
};

}  // namespace setup
