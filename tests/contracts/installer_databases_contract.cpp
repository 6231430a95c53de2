// Contract of the installer-database port: queries with parameters read rows through records;
// a transform applied with the view condition is recorded in "_TransformView" and changes
// nothing; viewed and then applied on the same handle, it is stored by the commit, and only by
// it. (Result codes of a missing database or transform differ under Wine: only that they are
// not success is shared.)
#include <algorithm>

#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

using platform::DatabaseHandle;
using Rows = std::vector<std::vector<std::wstring>>;

class InstallerDatabasesContract : public ContractTest {
 protected:
  InstallerDatabasesContract() : database_(Side().TransformableDatabase()) {}

  platform::InstallerDatabases& Databases() { return *Ports().databases; }

  DatabaseHandle Open(std::uint32_t mode) {
    DatabaseHandle handle = 0;
    EXPECT_EQ(Databases().OpenDatabase(database_.path, mode, handle), platform::kInstallerSuccess);
    return handle;
  }

  // The first `columns` fields of every row the query delivers, its one "?" filled with
  // `parameter` when that is not empty; every handle is closed again.
  Rows Select(DatabaseHandle database, std::wstring_view sql, std::size_t columns, std::wstring_view parameter = {}) {
    Rows rows;
    DatabaseHandle view = 0;
    EXPECT_EQ(Databases().OpenView(database, sql, view), platform::kInstallerSuccess) << ToUtf8(sql);
    DatabaseHandle record = 0;
    if (!parameter.empty()) {
      record = Databases().CreateRecord(1);
      EXPECT_EQ(Databases().SetString(record, 1, parameter), platform::kInstallerSuccess);
    }
    EXPECT_EQ(Databases().Execute(view, record), platform::kInstallerSuccess);
    DatabaseHandle row = 0;
    std::uint32_t fetched = 0;
    while ((fetched = Databases().Fetch(view, row)) == platform::kInstallerSuccess) {
      std::vector<std::wstring> fields;
      for (std::uint32_t field = 1; field <= columns; ++field) {
        fields.push_back(Databases().GetString(row, field, 256).text);
      }
      rows.push_back(std::move(fields));
      EXPECT_EQ(Databases().CloseHandle(row), platform::kInstallerSuccess);
    }
    EXPECT_EQ(fetched, platform::kInstallerNoMoreItems);
    if (record != 0) EXPECT_EQ(Databases().CloseHandle(record), platform::kInstallerSuccess);
    EXPECT_EQ(Databases().CloseHandle(view), platform::kInstallerSuccess);
    return rows;
  }

  std::wstring Property(DatabaseHandle database, std::wstring_view name) {
    const Rows rows = Select(database, L"SELECT Value FROM Property WHERE Property=?", 1, name);
    return rows.empty() ? L"<none>" : rows[0][0];
  }
  Rows AddedFile(DatabaseHandle database) {
    return Select(database, L"SELECT FileName, Attributes, Sequence FROM File WHERE File=?", 3, L"AdminNotes");
  }

  void ApplyBoth(DatabaseHandle database, std::uint32_t errorConditions) {
    for (const std::wstring& transform : {database_.propertyTransform, database_.fileTransform}) {
      EXPECT_EQ(Databases().ApplyTransform(database, transform, errorConditions), platform::kInstallerSuccess)
          << ToUtf8(transform);
    }
  }

  ContractDatabase database_;
};

TEST_F(InstallerDatabasesContract, QueriesReadRowsThroughRecordsOfTextAndIntegers) {
  const DatabaseHandle database = Open(platform::kDatabaseOpenReadOnly);
  EXPECT_EQ(Property(database, L"INSTALLER_LANGUAGE"), L"en");
  EXPECT_EQ(Property(database, L"NO_SUCH_PROPERTY"), L"<none>");
  EXPECT_EQ(Select(database, L"SELECT File, FileName FROM File WHERE File='ApplicationFile'", 2),
            (Rows{{L"ApplicationFile", database_.applicationFileName}}));

  DatabaseHandle view = 0;
  ASSERT_EQ(Databases().OpenView(database, L"SELECT Property, Value FROM Property WHERE Property='INSTALLER_LANGUAGE'",
                                 view),
            platform::kInstallerSuccess);
  ASSERT_EQ(Databases().Execute(view, 0), platform::kInstallerSuccess);
  DatabaseHandle row = 0;
  ASSERT_EQ(Databases().Fetch(view, row), platform::kInstallerSuccess);
  // A buffer too small for the text and its terminating zero gets as much as fits.
  const platform::DatabaseText cut = Databases().GetString(row, 1, 4);
  EXPECT_EQ(cut.result, platform::kInstallerMoreData);
  EXPECT_EQ(cut.length, 18u);
  EXPECT_EQ(cut.text, L"INS");
  EXPECT_EQ(Databases().GetString(row, 2, 3).text, L"en");
  EXPECT_EQ(Databases().GetInteger(row, 2), platform::kDatabaseNullInteger);
  EXPECT_EQ(Databases().CloseHandle(row), platform::kInstallerSuccess);
  EXPECT_EQ(Databases().CloseHandle(view), platform::kInstallerSuccess);

  ASSERT_EQ(Databases().OpenView(database, L"SELECT Attributes FROM File WHERE File='ApplicationFile'", view),
            platform::kInstallerSuccess);
  ASSERT_EQ(Databases().Execute(view, 0), platform::kInstallerSuccess);
  ASSERT_EQ(Databases().Fetch(view, row), platform::kInstallerSuccess);
  EXPECT_EQ(Databases().GetInteger(row, 1), database_.applicationFileAttributes);
  EXPECT_EQ(Databases().CloseHandle(row), platform::kInstallerSuccess);
  EXPECT_EQ(Databases().CloseHandle(view), platform::kInstallerSuccess);
  EXPECT_EQ(Databases().CloseHandle(database), platform::kInstallerSuccess);
}

TEST_F(InstallerDatabasesContract, AViewedTransformIsRecordedAndChangesNothing) {
  const DatabaseHandle database = Open(platform::kDatabaseOpenDirect);
  DatabaseHandle view = 0;
  EXPECT_EQ(Databases().OpenView(database, L"SELECT * FROM _TransformView", view), platform::kDatabaseBadQuerySyntax);
  ApplyBoth(database, platform::kTransformViewOnly);

  const Rows changes = Select(database, L"SELECT * FROM _TransformView", 5);
  const auto recorded = [&](std::vector<std::wstring> change) {
    return std::find(changes.begin(), changes.end(), change) != changes.end();
  };
  EXPECT_TRUE(recorded({L"Property", L"Value", L"INSTALLER_LANGUAGE", L"it", L"en"}));
  EXPECT_TRUE(recorded({L"Property", L"Value", L"ADMIN_NOTE", L"Set by the administrator", L""}));
  EXPECT_TRUE(recorded({L"Property", L"INSERT", L"ADMIN_NOTE", L"", L""}));
  EXPECT_TRUE(recorded({L"File", L"FileName", L"AdminNotes", L"admin-notes.txt", L""}));
  EXPECT_TRUE(recorded({L"File", L"INSERT", L"AdminNotes", L"", L""}));
  EXPECT_EQ(Property(database, L"INSTALLER_LANGUAGE"), L"en");
  EXPECT_EQ(AddedFile(database), Rows());
  EXPECT_EQ(Databases().CloseHandle(database), platform::kInstallerSuccess);
}

TEST_F(InstallerDatabasesContract, TransformsViewedAndAppliedOnOneHandleAreStoredByTheCommitOnly) {
  DatabaseHandle database = Open(platform::kDatabaseOpenDirect);
  ApplyBoth(database, platform::kTransformViewOnly);
  ApplyBoth(database, 0);
  EXPECT_EQ(Property(database, L"INSTALLER_LANGUAGE"), L"it");
  EXPECT_EQ(AddedFile(database), (Rows{{L"admin-notes.txt", L"8192", L"2"}}));
  EXPECT_EQ(Databases().CloseHandle(database), platform::kInstallerSuccess);

  // Closed without a commit: the file is as it was.
  database = Open(platform::kDatabaseOpenDirect);
  EXPECT_EQ(Property(database, L"INSTALLER_LANGUAGE"), L"en");
  ApplyBoth(database, platform::kTransformViewOnly);
  ApplyBoth(database, 0);
  EXPECT_EQ(Databases().Commit(database), platform::kInstallerSuccess);
  EXPECT_EQ(Databases().CloseHandle(database), platform::kInstallerSuccess);

  database = Open(platform::kDatabaseOpenReadOnly);
  EXPECT_EQ(Property(database, L"INSTALLER_LANGUAGE"), L"it");
  EXPECT_EQ(Property(database, L"ADMIN_NOTE"), L"Set by the administrator");
  EXPECT_EQ(Property(database, L"ProductID"), database_.productId);
  EXPECT_EQ(AddedFile(database), (Rows{{L"admin-notes.txt", L"8192", L"2"}}));
  EXPECT_EQ(Databases().CloseHandle(database), platform::kInstallerSuccess);
}

TEST_F(InstallerDatabasesContract, MissingFilesAndTablesFailWithoutHandles) {
  DatabaseHandle database = 7;
  EXPECT_NE(Databases().OpenDatabase(Side().Folder() + L"\\missing.msi", platform::kDatabaseOpenDirect, database),
            platform::kInstallerSuccess);
  EXPECT_EQ(database, 0u);

  database = Open(platform::kDatabaseOpenDirect);
  EXPECT_NE(Databases().ApplyTransform(database, Side().Folder() + L"\\missing.mst", 0), platform::kInstallerSuccess);
  DatabaseHandle view = 7;
  EXPECT_EQ(Databases().OpenView(database, L"SELECT * FROM NoSuchTable", view), platform::kDatabaseBadQuerySyntax);
  EXPECT_EQ(view, 0u);
  EXPECT_EQ(Databases().OpenView(database, L"SELECT NoSuchColumn FROM File", view), platform::kDatabaseBadQuerySyntax);
  EXPECT_EQ(Databases().CloseHandle(database), platform::kInstallerSuccess);
}

}  // namespace
}  // namespace setup::contracts
