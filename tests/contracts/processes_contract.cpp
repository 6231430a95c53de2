// Contract of the processes port: started children, their waits, exit codes and termination,
// a failed start, and the launcher's own environment.
#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

class ProcessesContract : public ContractTest {
 protected:
  platform::Processes& Processes() { return *Ports().processes; }
  // The environment lives as long as the process: each test uses names of its own.
  std::wstring Variable() { return L"TARQUEL_CONTRACT_" + FromUtf8(TestName()); }
};

TEST_F(ProcessesContract, AChildsExitCodeIsReadAfterItEnds) {
  const auto started = Processes().Start(Side().ChildThatExits(7));
  ASSERT_TRUE(started.process) << "error " << started.error;
  EXPECT_TRUE(started.process->WaitFor(platform::kWaitForever));
  EXPECT_EQ(started.process->ExitCode(), 7u);
}

TEST_F(ProcessesContract, ARunningChildOutlastsAShortWaitAndEndsWhenTerminated) {
  const auto started = Processes().Start(Side().ChildThatRuns());
  ASSERT_TRUE(started.process) << "error " << started.error;
  EXPECT_FALSE(started.process->WaitFor(0));
  EXPECT_FALSE(started.process->WaitFor(200));
  started.process->Terminate(9);
  EXPECT_TRUE(started.process->WaitFor(10000));
  EXPECT_EQ(started.process->ExitCode(), 9u);
}

TEST_F(ProcessesContract, AMissingProgramDoesNotStartAndTellsWhy) {
  const auto started = Processes().Start(Side().MissingProgram());
  EXPECT_FALSE(started.process);
  EXPECT_EQ(started.error, 2u);  // the file is not found
}

TEST_F(ProcessesContract, EnvironmentNamesIgnoreCaseAndEmptyValuesExist) {
  const std::wstring name = Variable();
  std::wstring otherCase = name;
  for (wchar_t& c : otherCase) c = FoldCase(c);
  EXPECT_EQ(Processes().GetEnvironment(name), std::nullopt);
  Processes().SetEnvironment(name, L"first");
  EXPECT_EQ(Processes().GetEnvironment(name), L"first");
  Processes().SetEnvironment(otherCase, L"second");
  EXPECT_EQ(Processes().GetEnvironment(name), L"second");
  Processes().SetEnvironment(name, L"");
  EXPECT_EQ(Processes().GetEnvironment(name), L"");
}

}  // namespace
}  // namespace setup::contracts
