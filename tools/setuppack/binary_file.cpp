#include "binary_file.h"

#include <cerrno>
#include <cstring>

#include "pack_error.h"

namespace setup::pack {
namespace {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::strlen(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

int Seek(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET);
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET);
#endif
}

std::string Describe(const std::filesystem::path& path) {
  return "'" + Utf8Path(path) + "': " + std::strerror(errno);
}

}  // namespace

std::string Utf8Path(const std::filesystem::path& path) {
  auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

Bytes ReadWholeFile(const std::filesystem::path& path) {
  InputFile input(path);
  Bytes data(static_cast<std::size_t>(input.Size()));
  if (input.Read(data.data(), data.size()) != data.size()) {
    throw PackError("cannot read " + Describe(path));
  }
  return data;
}

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw PackError("file '" + Utf8Path(path) + "' does not exist");
  }
  size_ = std::filesystem::file_size(path, error);
  file_ = OpenFile(path, "rb");
  if (file_ == nullptr || error) throw PackError("cannot open " + Describe(path));
}

InputFile::~InputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t InputFile::Read(std::uint8_t* buffer, std::size_t count) {
  std::size_t done = std::fread(buffer, 1, count, file_);
  if (done < count && std::ferror(file_)) throw PackError("cannot read " + Describe(path_));
  return done;
}

OutputFile::OutputFile(const std::filesystem::path& path) : path_(path) {
  file_ = OpenFile(path, "w+b");
  if (file_ == nullptr) throw PackError("cannot create " + Describe(path));
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void OutputFile::SeekTo(std::uint64_t offset) {
  if (Seek(file_, offset) != 0) throw PackError("cannot seek in " + Describe(path_));
  position_ = offset;
}

void OutputFile::Write(const std::uint8_t* data, std::size_t count) {
  if (count != 0 && std::fwrite(data, 1, count, file_) != count) {
    throw PackError("cannot write " + Describe(path_));
  }
  position_ += count;
  if (position_ > end_) end_ = position_;
}

void OutputFile::WriteZeros(std::uint64_t count) {
  static const std::uint8_t zeros[4096] = {};
  while (count > 0) {
    std::size_t chunk = count < sizeof zeros ? static_cast<std::size_t>(count) : sizeof zeros;
    Write(zeros, chunk);
    count -= chunk;
  }
}

void OutputFile::Patch(std::uint64_t offset, const std::uint8_t* data, std::size_t count) {
  std::uint64_t resume = position_;
  SeekTo(offset);
  Write(data, count);
  SeekTo(resume);
}

void OutputFile::PatchU32(std::uint64_t offset, std::uint32_t value) {
  std::uint8_t bytes[4];
  WriteU32(bytes, value);
  Patch(offset, bytes, sizeof bytes);
}

void OutputFile::ReadBack(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
  std::uint64_t resume = position_;
  std::fflush(file_);
  SeekTo(offset);
  if (std::fread(buffer, 1, count, file_) != count) throw PackError("cannot read back " + Describe(path_));
  SeekTo(resume);
}

void OutputFile::Close() {
  if (file_ == nullptr) return;
  int flushed = std::fflush(file_);
  int closed = std::fclose(file_);
  file_ = nullptr;
  if (flushed != 0 || closed != 0) throw PackError("cannot write " + Describe(path_));
}

}  // namespace setup::pack
