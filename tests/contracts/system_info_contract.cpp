// Contract of the system-information port: the named mutex that marks a running setup, the
// system's message texts, and the shape of the facts the launcher reads about the machine.
#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

using platform::MutexResult;

class SystemInfoContract : public ContractTest {
 protected:
  platform::SystemInfo& System() { return *Ports().system; }
  // Named objects live as long as the process: each test uses names of its own.
  std::wstring Name(std::wstring_view suffix) { return L"TarquelContracts_" + FromUtf8(TestName()) + std::wstring(suffix); }
};

TEST_F(SystemInfoContract, ASecondMutexOfTheSameNameFindsTheFirstAndNamesAreCaseSensitive) {
  EXPECT_EQ(System().CreateNamedMutex(Name(L"_Setup")), MutexResult::Created);
  EXPECT_EQ(System().CreateNamedMutex(Name(L"_Setup")), MutexResult::AlreadyExists);
  EXPECT_EQ(System().CreateNamedMutex(Name(L"_SETUP")), MutexResult::Created);
  EXPECT_EQ(System().CreateNamedMutex(Name(L"_Other")), MutexResult::Created);
}

TEST_F(SystemInfoContract, MessageTextsEndWithALineBreakAndUnknownCodesHaveNone) {
  for (const std::uint32_t code : {5u, 1603u}) {
    const std::wstring text = System().SystemMessageText(code);
    EXPECT_GT(text.size(), 2u) << code;
    EXPECT_TRUE(text.ends_with(L"\r\n")) << code;
  }
  EXPECT_EQ(System().SystemMessageText(0x2000ABCD), L"");
}

TEST_F(SystemInfoContract, MachineFactsHaveTheirWindowsShape) {
  const auto version = System().QueryOsVersion();
  ASSERT_TRUE(version);
  EXPECT_GE(version->major, 6u);
  EXPECT_GE(version->productType, 1);
  EXPECT_LE(version->productType, 3);
  EXPECT_EQ(System().NativeProcessorArchitecture(), platform::kArchitectureAmd64);
  EXPECT_TRUE(System().IsTokenMemberOf(platform::BuiltinGroup::Administrators).has_value());
  EXPECT_TRUE(System().IsTokenMemberOf(platform::BuiltinGroup::PowerUsers).has_value());
  EXPECT_NE(System().UserDefaultUiLanguage(), 0);
  EXPECT_TRUE(System().HasDirect2D11());

  const std::wstring module = System().ModulePath();
  ASSERT_GT(module.size(), 7u);
  EXPECT_EQ(module.substr(1, 2), L":\\");
  EXPECT_TRUE(EqualsIgnoreCase(module.substr(module.size() - 4), L".exe"));

  const platform::LocalTime now = System().Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59 && now.second >= 0 &&
              now.second <= 60);
}

}  // namespace
}  // namespace setup::contracts
