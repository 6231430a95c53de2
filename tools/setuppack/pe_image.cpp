#include "pe_image.h"

#include <algorithm>

#include "pack_error.h"

namespace setup::pack {
namespace {

constexpr std::uint16_t kMagicPe32 = 0x10b;
constexpr std::uint16_t kMagicPe32Plus = 0x20b;
constexpr std::uint32_t kSectionHeaderSize = 40;

}  // namespace

PeImage::PeImage(Bytes file, const std::string& path) : file_(std::move(file)) {
  auto fail = [&](const std::string& why) { throw PackError("template '" + path + "' is not a PE file: " + why); };
  if (file_.size() < 64 || file_[0] != 'M' || file_[1] != 'Z') fail("no MZ header");
  nt_offset_ = ReadU32(file_.data() + 60);
  if (nt_offset_ > file_.size() || file_.size() - nt_offset_ < 24 ||
      ReadU32(file_.data() + nt_offset_) != 0x00004550u) {
    fail("no PE signature");
  }
  const std::uint16_t section_count = ReadU16(file_.data() + nt_offset_ + 6);
  const std::uint16_t optional_size = ReadU16(file_.data() + nt_offset_ + 20);
  optional_offset_ = nt_offset_ + 24;
  if (file_.size() - optional_offset_ < optional_size || optional_size < 2) fail("truncated optional header");
  const std::uint16_t magic = ReadU16(file_.data() + optional_offset_);
  if (magic != kMagicPe32 && magic != kMagicPe32Plus) fail("unknown optional header magic");
  pe32_plus_ = magic == kMagicPe32Plus;
  const std::uint32_t directories_at = pe32_plus_ ? 108 : 92;  // NumberOfRvaAndSizes
  if (optional_size < directories_at + 4) fail("truncated optional header");
  directory_count_ = ReadU32(file_.data() + optional_offset_ + directories_at);
  if (directories_at + 4 + 8ull * directory_count_ > optional_size) fail("truncated data directories");
  if (directory_count_ <= kResourceDirectory) fail("no resource data directory");
  if (FileAlignment() == 0 || SectionAlignment() == 0) fail("zero alignment");
  section_table_offset_ = optional_offset_ + optional_size;
  if (file_.size() - section_table_offset_ < 1ull * kSectionHeaderSize * section_count) fail("truncated section table");
  if (SizeOfHeaders() > file_.size() || SizeOfHeaders() < section_table_offset_ + kSectionHeaderSize * section_count) {
    fail("inconsistent header size");
  }
  for (std::uint16_t i = 0; i < section_count; ++i) {
    const std::uint8_t* header = file_.data() + section_table_offset_ + i * kSectionHeaderSize;
    PeSection section;
    section.name.assign(reinterpret_cast<const char*>(header), 8);
    section.name.resize(section.name.find('\0') == std::string::npos ? 8 : section.name.find('\0'));
    section.virtual_size = ReadU32(header + 8);
    section.virtual_address = ReadU32(header + 12);
    section.raw_size = ReadU32(header + 16);
    section.raw_pointer = ReadU32(header + 20);
    section.characteristics = ReadU32(header + 36);
    if (section.raw_size != 0 && (section.raw_pointer > file_.size() || section.raw_size > file_.size() - section.raw_pointer)) {
      fail("section " + section.name + " lies beyond the end of the file");
    }
    sections_.push_back(section);
  }
}

std::uint32_t PeImage::DirectoryOffset(int index) const {
  return optional_offset_ + (pe32_plus_ ? 112 : 96) + 8 * static_cast<std::uint32_t>(index);
}

DataDirectory PeImage::Directory(int index) const {
  if (static_cast<std::uint32_t>(index) >= directory_count_) return {};
  const std::uint8_t* p = file_.data() + DirectoryOffset(index);
  return {ReadU32(p), ReadU32(p + 4)};
}

bool PeImage::DropCertificateTable() {
  const DataDirectory table = Directory(kCertificateDirectory);
  if (table.size == 0) return false;
  // The table is the last thing in a signed file, behind every section (signing tools pad it to
  // eight bytes with zeros); cutting it off must leave the headers and sections whole.
  std::uint64_t data_end = SizeOfHeaders();
  for (const PeSection& section : sections_) {
    if (section.raw_size != 0) data_end = std::max<std::uint64_t>(data_end, section.raw_pointer + section.raw_size);
  }
  if (table.address < data_end || table.address > file_.size() || table.size > file_.size() - table.address ||
      !std::all_of(file_.begin() + table.address + table.size, file_.end(), [](std::uint8_t b) { return b == 0; })) {
    throw PackError("the template's certificate table is not at the end of the file");
  }
  file_.resize(table.address);
  WriteU32(file_.data() + DirectoryOffset(kCertificateDirectory), 0);
  WriteU32(file_.data() + DirectoryOffset(kCertificateDirectory) + 4, 0);
  return true;
}

const std::uint8_t* PeImage::AtRva(std::uint32_t rva, std::uint32_t size) const {
  for (const PeSection& section : sections_) {
    if (rva < section.virtual_address) continue;
    std::uint64_t offset = rva - section.virtual_address;
    if (offset + size <= section.raw_size) return file_.data() + section.raw_pointer + offset;
  }
  return nullptr;
}

ResourceTree PeImage::Resources() const {
  DataDirectory directory = Directory(kResourceDirectory);
  // Linkers disagree on what the directory size covers; offsets may reach to the section's end.
  std::uint32_t reach = directory.size;
  for (const PeSection& section : sections_) {
    if (directory.address >= section.virtual_address && directory.address - section.virtual_address < section.raw_size) {
      reach = std::max(reach, section.raw_size - (directory.address - section.virtual_address));
    }
  }
  return ParseResourceTree([this](std::uint32_t rva, std::uint32_t size) { return AtRva(rva, size); },
                           directory.address, reach);
}

void PeChecksum::Add(const std::uint8_t* data, std::size_t size) {
  auto word = [&](std::size_t i) -> std::uint32_t { return data[i] | (i + 1 < size ? data[i + 1] << 8 : 0); };
  // Words are summed unfolded (a 4 GB file cannot carry out of 64 bits); Finish folds the carries.
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < size; i += 2) sum += word(i);
  // The checksum field itself does not count.
  for (std::uint64_t at = (checksum_offset_ + 1) & ~std::uint64_t{1}; at < checksum_offset_ + 4; at += 2) {
    if (at >= position_ && at < position_ + size) sum -= word(static_cast<std::size_t>(at - position_));
  }
  sum_ += sum;
  position_ += size;
}

std::uint32_t PeChecksum::Finish() const {
  std::uint64_t folded = sum_;
  while (folded > 0xFFFF) folded = (folded & 0xFFFF) + (folded >> 16);
  return static_cast<std::uint32_t>(folded + position_);
}

}  // namespace setup::pack
