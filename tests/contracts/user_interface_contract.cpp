// Contract of the user-interface port outside the wizard: the quit message ends the message
// pump, and the rich-edit control the wizard pages use is available. (Message boxes wait for a
// user; the Wine tests press their buttons.)
#include "contracts/platform_under_test.h"

namespace setup::contracts {
namespace {

class UserInterfaceContract : public ContractTest {};

TEST_F(UserInterfaceContract, AQuitPostedBeforeThePumpEndsIt) {
  platform::UserInterface& ui = *Ports().ui;
  ui.PostQuit(3);
  ui.PumpUntilQuit();  // returns: a pump that missed the quit would never end
  EXPECT_TRUE(ui.LoadRichEdit());
  ui.PostQuit(0);  // now with the window library loaded
  ui.PumpUntilQuit();
}

}  // namespace
}  // namespace setup::contracts
