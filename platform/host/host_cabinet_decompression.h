// Host stand-in of the cabinet decompression port: libmspack expands the cabinet, and every
// byte it reads or writes goes through the caller's file callbacks, in the order the Windows
// interface uses them: the cabinet is opened once, each entry is offered with a copy-file
// notification and closed with a close-file-info notification. As Wine's implementation does,
// an entry cut short by a damaged cabinet is still reported with close-file-info before the
// copy fails.
#pragma once

#include "platform/cabinet_decompression.h"

namespace setup::platform::host {

class HostCabinetDecompression : public CabinetDecompression {
 public:
  std::unique_ptr<CabinetContext> Create(const CabinetFileCallbacks& callbacks, CabinetErrorRecord& error) override;
};

}  // namespace setup::platform::host
