// Text from the command line, the resources or a workload file never makes a line of its own
// in the setup log: its control characters are written escaped.
#include "launcher_fixture.h"

namespace setup {
namespace {

using testing::kLogPath;
using testing::LauncherTest;

std::size_t Count(const std::wstring& text, std::wstring_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST_F(LauncherTest, AnArgumentCannotForgeALogLine) {
  AddSinglePackageSetup();
  Run({L"/qn", L"/L", kLogPath, L"x\r\n=== SetupLauncher stopped: 2020-01-01 00:00:00\r\nTSL (c): forged=1"});
  const std::wstring log = LogText();
  EXPECT_NE(log.find(L"TSL (c): CommandLine: /qn /L C:\\Work\\setup.log "
                     L"x\\r\\n=== SetupLauncher stopped: 2020-01-01 00:00:00\\r\\nTSL (c): forged=1\r\n"),
            std::wstring::npos)
      << ToUtf8(log);
  EXPECT_EQ(Count(log, L"\n=== SetupLauncher stopped: "), 1u);
  EXPECT_EQ(Count(log, L"\nTSL (c): forged"), 0u);
}

TEST_F(LauncherTest, ServicePasswordsAreMaskedInTheCommandLineLine) {
  AddSinglePackageSetup();
  Run({L"/qn", L"/L", kLogPath, L"BR_Service_Username=svc", L"BR_Service_Password=s3cret", L"pms_service_password=z9q"});
  const std::wstring log = LogText();
  EXPECT_NE(log.find(L"TSL (c): CommandLine: /qn /L C:\\Work\\setup.log BR_Service_Username=svc "
                     L"BR_Service_Password=******** pms_service_password=********\r\n"),
            std::wstring::npos)
      << ToUtf8(log);
  EXPECT_EQ(log.find(L"s3cret"), std::wstring::npos);
  EXPECT_EQ(log.find(L"z9q"), std::wstring::npos);
}

TEST_F(LauncherTest, ProductNamesAndWorkloadPathsAreLoggedEscaped) {
  AddSinglePackageSetup(L"Quibrix\r\nTSL (c): All information collected. Start processing.\r\n");
  Run({L"/qn", L"/L", kLogPath});
  EXPECT_NE(LogText().find(L"TSL (c): Initialized state for package "
                           L"Quibrix\\r\\nTSL (c): All information collected. Start processing.\\r\\n.\r\n"),
            std::wstring::npos)
      << ToUtf8(LogText());
}

TEST_F(LauncherTest, AWorkloadPathWithALineBreakStaysOnItsLine) {
  Host().Resources().AddPackageText(L"OS", L"6.1.1");
  EXPECT_EQ(Run({L"/qn", L"/L", kLogPath, L"workload=C:\\a\nb.json"}), kResultPackageInfoMissing);
  EXPECT_TRUE(LogHas(L"Workload file 'C:\\a\\nb.json' does not exist.\r\n")) << ToUtf8(LogText());
}

}  // namespace
}  // namespace setup
