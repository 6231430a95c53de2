#include "foundation/cabinet_stream_table.h"

namespace setup {

int CabinetStreamTable::Insert(std::unique_ptr<CabinetStream> stream) {
  const std::lock_guard guard(lock_);
  std::intptr_t number = 0;
  for (const auto& [used, _] : streams_) {
    if (used != number) break;
    ++number;
  }
  if (number >= kCapacity) return -1;
  streams_.emplace(number, std::move(stream));
  return static_cast<int>(number);
}

CabinetStream* CabinetStreamTable::Find(std::intptr_t number) {
  const std::lock_guard guard(lock_);
  const auto found = streams_.find(number);
  return found == streams_.end() ? nullptr : found->second.get();
}

std::unique_ptr<CabinetStream> CabinetStreamTable::Remove(std::intptr_t number) {
  const std::lock_guard guard(lock_);
  const auto found = streams_.find(number);
  if (found == streams_.end()) return nullptr;
  std::unique_ptr<CabinetStream> stream = std::move(found->second);
  streams_.erase(found);
  return stream;
}

void CabinetStreamTable::Clear() {
  std::map<std::intptr_t, std::unique_ptr<CabinetStream>> closing;
  {
    const std::lock_guard guard(lock_);
    closing.swap(streams_);
  }
}

std::size_t CabinetStreamTable::Size() {
  const std::lock_guard guard(lock_);
  return streams_.size();
}

}  // namespace setup
