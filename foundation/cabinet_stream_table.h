// The streams the cabinet extractor has open, by number: the numbers 0 to 199, a new stream
// taking the lowest free one. One table serves the whole process; a lock guards every lookup,
// insertion and removal, since the decompression calls back on the extracting thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/file_system.h"

namespace setup {

class ICBSCabinetProgressCallbacks;

struct CabinetStream {
  enum class Kind { File, Memory };
  Kind kind = Kind::File;

  // A file stream.
  std::unique_ptr<platform::FileStream> file;
  std::uint64_t fileSize = 0;   // fetched on the first read
  std::uint64_t totalRead = 0;

  // A memory stream over a cabinet of `length` bytes at `memory`; `position` counts from its
  // first byte.
  const std::byte* memory = nullptr;
  std::uint32_t length = 0;
  std::uint32_t position = 0;

  // The progress sink that was current when the stream was opened.
  ICBSCabinetProgressCallbacks* sink = nullptr;
};

class CabinetStreamTable {
 public:
  static constexpr int kCapacity = 200;

  // Enters the stream under the lowest free number; -1 (and the stream dropped) when every
  // number is taken.
  int Insert(std::unique_ptr<CabinetStream> stream);
  // The stream of that number, or null.
  CabinetStream* Find(std::intptr_t number);
  // Takes the stream out of the table; null when the number is not in use.
  std::unique_ptr<CabinetStream> Remove(std::intptr_t number);
  // Takes every stream out of the table.
  void Clear();
  std::size_t Size();

 private:
  std::mutex lock_;
  std::map<std::intptr_t, std::unique_ptr<CabinetStream>> streams_;
};

}  // namespace setup
