#include "extraction/msi_database_query.h"

#include "extraction/msi_database.h"
#include "platform/installer.h"

namespace setup {

namespace {

constexpr std::size_t kFieldBufferChars = 4096;

}  // namespace

ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement(ICBSMSIDatabase& database, std::wstring_view sql,
                                                         std::initializer_list<QueryParameter> parameters)
    : databases_(database.Databases()), database_(database.Handle()) {
  lastResult_ = databases_.OpenView(database_, sql, view_);
  if (lastResult_ != platform::kInstallerSuccess) {
    view_ = 0;
    return;
  }
  if (parameters.size() != 0) {
    parameters_ = databases_.CreateRecord(static_cast<std::uint32_t>(parameters.size()));
    std::uint32_t field = 1;
    for (const QueryParameter& parameter : parameters) {
      if (const auto* number = std::get_if<std::int32_t>(&parameter)) {
        databases_.SetInteger(parameters_, field++, *number);
      } else {
        databases_.SetString(parameters_, field++, std::get<std::wstring_view>(parameter));
      }
    }
  }
  lastResult_ = databases_.Execute(view_, parameters_);
}

ICBSMSIDatabaseSQLStatement::~ICBSMSIDatabaseSQLStatement() {
  if (parameters_ != 0) databases_.CloseHandle(parameters_);
  if (view_ != 0) databases_.CloseHandle(view_);
}

ICBSMSIDatabaseQuery::~ICBSMSIDatabaseQuery() {
  if (row_ != 0) databases_.CloseHandle(row_);
}

bool ICBSMSIDatabaseQuery::Fetch() {
  if (row_ != 0) {
    databases_.CloseHandle(row_);
    row_ = 0;
  }
  if (view_ == 0 || lastResult_ != platform::kInstallerSuccess) return false;
  if (databases_.Fetch(view_, row_) != platform::kInstallerSuccess) row_ = 0;
  return row_ != 0;
}

std::wstring ICBSMSIDatabaseQuery::StringField(std::uint32_t field) const {
  if (row_ == 0) return L"";
  platform::DatabaseText text = databases_.GetString(row_, field, kFieldBufferChars);
  return text.result == platform::kInstallerSuccess ? std::move(text.text) : L"";
}

std::int32_t ICBSMSIDatabaseQuery::IntegerField(std::uint32_t field) const {
  return row_ == 0 ? platform::kDatabaseNullInteger : databases_.GetInteger(row_, field);
}

}  // namespace setup
