#include "extraction/extraction_progress_handler.h"

namespace setup {

void ExtractionProgressHandler::OnBytes(unsigned position) {
  // Nothing to measure against: the bar is full.
  const int value = total_ == 0 ? kUnpackProgressRange
                                : static_cast<int>(static_cast<double>(base_ + position) /
                                                   static_cast<double>(total_) * kUnpackProgressRange);
  const std::uint32_t now = system_.TickCount();
  const bool final = value == kUnpackProgressRange;
  if (!final && (value == lastPosted_ || now - lastPostTick_ <= kMinimumPostIntervalMs)) return;
  lastPosted_ = value;
  lastPostTick_ = now;
  gui_.Post(page_, kUnpackProgressMessage, static_cast<std::uintptr_t>(value), 0);
}

}  // namespace setup
