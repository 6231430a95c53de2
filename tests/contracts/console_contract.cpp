// Contract of the console port: text written to standard output arrives unchanged and in order,
// whatever its characters; without a console window nothing else is sent.
#include "contracts/platform_under_test.h"

namespace setup::contracts {
namespace {

class ConsoleContract : public ContractTest {};

TEST_F(ConsoleContract, WrittenTextArrivesUnchangedAndInOrder) {
  platform::Console& console = *Ports().console;
  const std::wstring output = Side().CaptureOutput([&] {
    console.Write(L"Setup.exe - command line syntax\r\n");
    console.Write(L"");
    console.Write(L"Gr\u00FC\u00DFe \u65E5\u672C \U0001F600\n");
    console.PostEnterToConsoleWindow();
    console.Write(L"\tlast line");
  });
  EXPECT_EQ(output, L"Setup.exe - command line syntax\r\nGr\u00FC\u00DFe \u65E5\u672C \U0001F600\n\tlast line");
}

}  // namespace
}  // namespace setup::contracts
