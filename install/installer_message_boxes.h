// The launcher's handler of the installer's messages during an install call: the messages
// meant for the user are shown in message boxes of the style the installer asks for.
#pragma once

#include "platform/installer.h"
#include "run/run_context.h"

namespace setup {

class InstallerMessageBoxes : public platform::InstallerMessageHandler {
 public:
  explicit InstallerMessageBoxes(const RunContext& run) : run_(run) {}

  // A user message becomes a message box (the low 24 bits of its type are the box's style)
  // and the button pressed is the answer. Every other message, and every message at a quiet
  // user-interface level, is answered 0: the installer handles it itself.
  int HandleMessage(std::uint32_t messageType, std::wstring_view text) override;

 private:
  const RunContext& run_;
};

}  // namespace setup
