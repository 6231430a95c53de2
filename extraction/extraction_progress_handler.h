// The unpack page's progress sink: turns the position in the current cabinet into a value of
// 0 to 30 over all packages and posts it to the page as WM_USER + 1, at most every half
// second, and always the final 30.
#pragma once

#include <cstdint>

#include "foundation/cabinet_extractor.h"
#include "platform/platform.h"

namespace setup {

inline constexpr std::uint32_t kUnpackProgressMessage = platform::kUserMessage + 1;
inline constexpr int kUnpackProgressRange = 30;

class ExtractionProgressHandler : public ICBSCabinetProgressCallbacks {
 public:
  ExtractionProgressHandler(platform::Gui& gui, const platform::SystemInfo& system, platform::WindowHandle page)
      : gui_(gui), system_(system), page_(page) {}

  // The bytes of all packages, and of those before the current one.
  void SetTotal(std::uint64_t total) { total_ = total; }
  void SetBase(std::uint64_t base) { base_ = base; }

  void OnPercent(int) override {}
  void OnBytes(unsigned position) override;
  int GetProgressRange() override { return kUnpackProgressRange; }
  void OnFileStart(std::wstring_view) override {}

 private:
  static constexpr std::uint32_t kMinimumPostIntervalMs = 500;

  platform::Gui& gui_;
  const platform::SystemInfo& system_;
  platform::WindowHandle page_;
  std::uint64_t total_ = 0;
  std::uint64_t base_ = 0;
  int lastPosted_ = 0;
  std::uint32_t lastPostTick_ = 0;
};

}  // namespace setup
