// Whole-file reading and a seekable output file with 64-bit positions, so that large packages
// can be streamed into place and their headers patched afterwards.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "byte_order.h"

namespace setup::pack {

// A path as UTF-8 text, for messages and for names stored in cabinets.
std::string Utf8Path(const std::filesystem::path& path);

Bytes ReadWholeFile(const std::filesystem::path& path);

class InputFile {
 public:
  explicit InputFile(const std::filesystem::path& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::uint64_t Size() const { return size_; }
  // Reads up to `count` bytes; fewer only at the end of the file.
  std::size_t Read(std::uint8_t* buffer, std::size_t count);
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
};

class OutputFile {
 public:
  // Creates (or truncates) the file for reading and writing.
  explicit OutputFile(const std::filesystem::path& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  std::uint64_t Position() const { return position_; }
  void Write(const std::uint8_t* data, std::size_t count);
  void Write(const Bytes& data) { Write(data.data(), data.size()); }
  void WriteZeros(std::uint64_t count);
  // Writes at an earlier position and comes back to where writing stopped.
  void Patch(std::uint64_t offset, const std::uint8_t* data, std::size_t count);
  void PatchU32(std::uint64_t offset, std::uint32_t value);
  // Reads back what was written (for checksums over the finished file).
  void ReadBack(std::uint64_t offset, std::uint8_t* buffer, std::size_t count);
  void Close();

 private:
  void SeekTo(std::uint64_t offset);

  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  std::uint64_t position_ = 0;
  std::uint64_t end_ = 0;
};

}  // namespace setup::pack
