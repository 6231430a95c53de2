// The database classes over the host stand-in: opening and committing, queries with
// parameters, fields read through their fixed buffer, and every handle released.
#include "extraction/msi_database.h"

#include <gtest/gtest.h>

#include "extraction/msi_database_query.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

using platform::host::HostDatabaseFile;

constexpr wchar_t kPackage[] = L"C:\\Work\\package.msi";

class MsiDatabaseTest : public ::testing::Test {
 protected:
  MsiDatabaseTest() {
    HostDatabaseFile package = HostDatabaseFile::Package();
    package.AddRow(L"Media", {1, 3, {}, std::wstring(L"disk1.cab")})
        .AddRow(L"Media", {2, 10, {}, std::wstring(L"disk2.cab")})
        .AddRow(L"Property", {std::wstring(L"Limit"), std::wstring(4095, L'x')})
        .AddRow(L"Property", {std::wstring(L"TooLong"), std::wstring(4096, L'y')});
    host_.Files().WriteFile(kPackage, package.Serialize());
  }

  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
};

TEST_F(MsiDatabaseTest, QueriesBindTheirParametersInOrderAndReadFieldsOfTheCurrentRow) {
  {
    ICBSMSIDatabase database(host_, kPackage);
    ASSERT_NE(database.Handle(), 0u);
    ICBSMSIDatabaseQuery media(database, L"SELECT LastSequence, Cabinet FROM Media WHERE DiskId=?", {2});
    EXPECT_EQ(media.LastResult(), 0u);
    EXPECT_EQ(media.StringField(2), L"");  // no current row yet
    ASSERT_TRUE(media.Fetch());
    EXPECT_EQ(media.IntegerField(1), 10);
    EXPECT_EQ(media.StringField(2), L"disk2.cab");
    EXPECT_EQ(media.IntegerField(2), platform::kDatabaseNullInteger);
    EXPECT_FALSE(media.Fetch());
    EXPECT_EQ(media.IntegerField(1), platform::kDatabaseNullInteger);

    // A field of 4095 characters fits the buffer; a longer one reads as empty, never cut.
    ICBSMSIDatabaseQuery limit(database, L"SELECT Value FROM Property WHERE Property=?", {L"Limit"});
    ASSERT_TRUE(limit.Fetch());
    EXPECT_EQ(limit.StringField(1), std::wstring(4095, L'x'));
    ICBSMSIDatabaseQuery tooLong(database, L"SELECT Value FROM Property WHERE Property=?",
                                 {L"TooLong"});
    ASSERT_TRUE(tooLong.Fetch());
    EXPECT_EQ(tooLong.StringField(1), L"");

    ICBSMSIDatabaseQuery missing(database, L"SELECT * FROM Registry");
    EXPECT_EQ(missing.LastResult(), platform::kDatabaseBadQuerySyntax);
    EXPECT_FALSE(missing.Fetch());
  }
  EXPECT_EQ(host_.Databases().OpenHandles(), 0u);
}

TEST_F(MsiDatabaseTest, ACreatedDatabaseIsWrittenWhenTheObjectEnds) {
  {
    ICBSMSIDatabase created(host_, L"C:\\Work\\new.msi", true);
    ASSERT_NE(created.Handle(), 0u);
    EXPECT_FALSE(host_.Files().ReadFile(L"C:\\Work\\new.msi").has_value());
  }
  const auto bytes = host_.Files().ReadFile(L"C:\\Work\\new.msi");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(HostDatabaseFile::Parse(*bytes).has_value());
}

TEST_F(MsiDatabaseTest, AFailedOpenLeavesNoHandleAndSaysWhy) {
  ICBSMSIDatabase missing(host_, L"C:\\Work\\missing.msi");
  EXPECT_EQ(missing.Handle(), 0u);
  EXPECT_NE(missing.LastError().find(L"C:\\Work\\missing.msi"), std::wstring::npos) << missing.LastError();
  EXPECT_TRUE(missing.Commit());
}

}  // namespace
}  // namespace setup
