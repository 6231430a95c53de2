#include "pe_resource_writer.h"

#include <algorithm>
#include <limits>

#include "pack_error.h"

namespace setup::pack {
namespace {

constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kInitializedDataReadable = 0x40000040u;  // CNT_INITIALIZED_DATA | MEM_READ

struct Placement {
  std::size_t header_index = 0;     // section table slot of the resource section
  bool appended = false;
  std::uint32_t virtual_address = 0;
  std::uint32_t raw_pointer = 0;    // where the new section's bytes start in the output
  std::uint32_t copied_bytes = 0;   // template bytes copied before it
  std::uint32_t overlay_start = 0;  // template bytes after the last section
};

std::uint32_t SectionEnd(const PeSection& section, std::uint32_t alignment) {
  return AlignUp(section.virtual_address + std::max(section.virtual_size, section.raw_size), alignment);
}

Placement PlaceResourceSection(const PeImage& image) {
  const auto& sections = image.Sections();
  const std::uint32_t file_size = static_cast<std::uint32_t>(image.File().size());
  Placement place;
  std::uint32_t raw_end = image.SizeOfHeaders();
  std::uint32_t virtual_end = 0;
  std::size_t last_by_address = 0;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (sections[i].raw_size != 0) raw_end = std::max(raw_end, sections[i].raw_pointer + sections[i].raw_size);
    if (sections[i].virtual_address >= sections[last_by_address].virtual_address) last_by_address = i;
    virtual_end = std::max(virtual_end, SectionEnd(sections[i], image.SectionAlignment()));
  }
  place.overlay_start = std::min(raw_end, file_size);

  const DataDirectory resources = image.Directory(PeImage::kResourceDirectory);
  if (!sections.empty() && resources.address != 0) {
    const PeSection& last = sections[last_by_address];
    const bool last_in_file = last.raw_size == 0 || last.raw_pointer + last.raw_size == raw_end;
    if (last.virtual_address == resources.address && last_in_file && last.raw_pointer != 0) {
      place.header_index = last_by_address;
      place.virtual_address = last.virtual_address;
      place.raw_pointer = last.raw_pointer;
      place.copied_bytes = last.raw_pointer;
      return place;
    }
  }

  const std::uint32_t table_end = image.SectionTableOffset() + kSectionHeaderSize * static_cast<std::uint32_t>(sections.size());
  std::uint32_t first_raw = image.SizeOfHeaders();
  for (const PeSection& section : sections) {
    if (section.raw_size != 0) first_raw = std::min(first_raw, section.raw_pointer);
  }
  if (table_end + kSectionHeaderSize > first_raw) {
    throw PackError("the template has no room for another section header");
  }
  place.header_index = sections.size();
  place.appended = true;
  place.virtual_address = virtual_end;
  place.raw_pointer = AlignUp(place.overlay_start, image.FileAlignment());
  place.copied_bytes = place.overlay_start;
  return place;
}

void WriteSectionHeader(std::uint8_t* header, std::uint32_t virtual_size, const Placement& place, std::uint32_t raw_size) {
  std::fill(header, header + kSectionHeaderSize, 0);
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  std::copy(name, name + 8, header);
  WriteU32(header + 8, virtual_size);
  WriteU32(header + 12, place.virtual_address);
  WriteU32(header + 16, raw_size);
  WriteU32(header + 20, place.raw_pointer);
  WriteU32(header + 36, kInitializedDataReadable);
}

void WriteChecksum(const PeImage& image, OutputFile& output) {
  PeChecksum checksum(image.ChecksumOffset());
  const std::uint64_t size = output.Position();
  Bytes chunk(1 << 20);
  for (std::uint64_t at = 0; at < size; at += chunk.size()) {
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - at));
    output.ReadBack(at, chunk.data(), count);
    checksum.Add(chunk.data(), count);
  }
  output.PatchU32(image.ChecksumOffset(), checksum.Finish());
}

}  // namespace

void WritePeWithResources(const PeImage& image, const ResourceTree& resources, OutputFile& output) {
  const Bytes& file = image.File();
  const Placement place = PlaceResourceSection(image);

  output.Write(file.data(), place.copied_bytes);
  output.WriteZeros(place.raw_pointer - place.copied_bytes);
  const std::uint32_t section_size = WriteResourceSection(resources, place.virtual_address, output);
  const std::uint32_t raw_size = AlignUp(section_size, image.FileAlignment());
  output.WriteZeros(raw_size - section_size);
  const std::uint64_t overlay_position = output.Position();
  output.Write(file.data() + place.overlay_start, file.size() - place.overlay_start);
  if (output.Position() > std::numeric_limits<std::uint32_t>::max()) {
    throw PackError("the setup would exceed the 4 GB limit of a PE file");
  }
  const std::int64_t overlay_shift = static_cast<std::int64_t>(overlay_position) - place.overlay_start;

  // Header fields that change, patched into a copy of the headers.
  Bytes headers(file.begin(), file.begin() + image.SizeOfHeaders());
  std::uint8_t* file_header = headers.data() + image.NtOffset() + 4;
  if (place.appended) {
    WriteU16(file_header + 2, static_cast<std::uint16_t>(image.Sections().size() + 1));
  }
  WriteSectionHeader(headers.data() + image.SectionTableOffset() + kSectionHeaderSize * place.header_index,
                     section_size, place, raw_size);
  const std::uint32_t symbols = ReadU32(file_header + 8);
  if (symbols >= place.overlay_start && symbols != 0) {
    WriteU32(file_header + 8, static_cast<std::uint32_t>(symbols + overlay_shift));
  }
  std::uint32_t image_end = AlignUp(place.virtual_address + section_size, image.SectionAlignment());
  for (std::size_t i = 0; i < image.Sections().size(); ++i) {
    if (i != place.header_index) image_end = std::max(image_end, SectionEnd(image.Sections()[i], image.SectionAlignment()));
  }
  WriteU32(headers.data() + image.SizeOfImageOffset(), image_end);
  WriteU32(headers.data() + image.DirectoryOffset(PeImage::kResourceDirectory), place.virtual_address);
  WriteU32(headers.data() + image.DirectoryOffset(PeImage::kResourceDirectory) + 4, section_size);
  output.Patch(0, headers.data(), headers.size());
  WriteChecksum(image, output);
}

}  // namespace setup::pack
