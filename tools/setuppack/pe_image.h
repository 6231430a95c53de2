// A PE32 or PE32+ executable held in memory: headers, section table and the data directories
// that the resource writer needs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "byte_order.h"
#include "resource_tree.h"

namespace setup::pack {

struct PeSection {
  std::string name;
  std::uint32_t virtual_size = 0;
  std::uint32_t virtual_address = 0;
  std::uint32_t raw_size = 0;
  std::uint32_t raw_pointer = 0;
  std::uint32_t characteristics = 0;
};

struct DataDirectory {
  std::uint32_t address = 0;  // an RVA, except for the certificate table (a file offset)
  std::uint32_t size = 0;
};

class PeImage {
 public:
  static constexpr int kCertificateDirectory = 4;
  static constexpr int kResourceDirectory = 2;

  // Throws PackError naming `path` when the bytes are not a PE image this tool can rewrite.
  PeImage(Bytes file, const std::string& path);

  const Bytes& File() const { return file_; }
  bool IsPe32Plus() const { return pe32_plus_; }
  std::uint16_t Machine() const { return ReadU16(file_.data() + nt_offset_ + 4); }
  const std::vector<PeSection>& Sections() const { return sections_; }
  DataDirectory Directory(int index) const;
  std::uint32_t FileAlignment() const { return ReadU32(file_.data() + optional_offset_ + 36); }
  std::uint32_t SectionAlignment() const { return ReadU32(file_.data() + optional_offset_ + 32); }
  std::uint32_t SizeOfHeaders() const { return ReadU32(file_.data() + optional_offset_ + 60); }

  // Offsets of header fields inside the file.
  std::uint32_t NtOffset() const { return nt_offset_; }
  std::uint32_t OptionalHeaderOffset() const { return optional_offset_; }
  std::uint32_t SectionTableOffset() const { return section_table_offset_; }
  std::uint32_t DirectoryOffset(int index) const;
  std::uint32_t ChecksumOffset() const { return optional_offset_ + 64; }
  std::uint32_t SizeOfImageOffset() const { return optional_offset_ + 56; }

  // Removes a signature: the certificate table at the end of the file and its directory entry.
  // A setup packed from a signed template would carry a signature that no longer matches its
  // bytes, so the setup is signed after packing instead. Returns whether there was a table.
  bool DropCertificateTable();

  // File bytes of an RVA range, or null when the range is not backed by the file.
  const std::uint8_t* AtRva(std::uint32_t rva, std::uint32_t size) const;
  ResourceTree Resources() const;

 private:
  Bytes file_;
  bool pe32_plus_ = false;
  std::uint32_t nt_offset_ = 0;
  std::uint32_t optional_offset_ = 0;
  std::uint32_t section_table_offset_ = 0;
  std::uint32_t directory_count_ = 0;
  std::vector<PeSection> sections_;
};

// The PE checksum: 16-bit one's-complement-style sum of the file with the checksum field
// counted as zero, plus the file length.
class PeChecksum {
 public:
  explicit PeChecksum(std::uint64_t checksum_offset) : checksum_offset_(checksum_offset) {}
  void Add(const std::uint8_t* data, std::size_t size);  // consecutive chunks of even size, except the last
  std::uint32_t Finish() const;

 private:
  std::uint64_t checksum_offset_;
  std::uint64_t position_ = 0;
  std::uint64_t sum_ = 0;
};

}  // namespace setup::pack
