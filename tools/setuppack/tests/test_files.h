// Temporary folders and file helpers for the packaging tool's tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace setup::pack::testing {

class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() / ("setuppack-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Data that compresses partly: runs of text mixed with pseudo-random bytes.
inline std::vector<std::uint8_t> MixedData(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i) {
    data[i] = (i / 4096) % 2 == 0 ? static_cast<std::uint8_t>("setup launcher "[i % 15]) : static_cast<std::uint8_t>(random());
  }
  return data;
}

}  // namespace setup::pack::testing
