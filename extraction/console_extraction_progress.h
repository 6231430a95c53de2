// The extract mode's progress sink: one console line per file, "extracting <path>...".
#pragma once

#include "foundation/cabinet_extractor.h"
#include "platform/console.h"

namespace setup {

class MSIExtractionProgressHandler : public ICBSCabinetProgressCallbacks {
 public:
  explicit MSIExtractionProgressHandler(platform::Console& console) : console_(console) {}

  void OnPercent(int) override {}
  void OnBytes(unsigned) override {}
  int GetProgressRange() override { return 0; }
  void OnFileStart(std::wstring_view path) override;

 private:
  platform::Console& console_;
};

}  // namespace setup
