#include "resource_tree.h"

#include <algorithm>

#include "foundation/text.h"
#include "pack_error.h"

namespace setup::pack {
namespace {

constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kNameBit = 0x80000000u;
constexpr std::uint32_t kDirectoryHeaderSize = 16;
constexpr std::uint32_t kDirectoryEntrySize = 8;
constexpr std::uint32_t kDataEntrySize = 16;

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

class DirectoryReader {
 public:
  DirectoryReader(const std::function<const std::uint8_t*(std::uint32_t, std::uint32_t)>& at_rva,
                  std::uint32_t base, std::uint32_t size)
      : at_rva_(at_rva), base_(base), size_(size) {}

  const std::uint8_t* At(std::uint32_t offset, std::uint32_t count) const {
    if (offset > size_ || count > size_ - offset) throw PackError("the template's resource directory is damaged");
    const std::uint8_t* p = at_rva_(base_ + offset, count);
    if (p == nullptr) throw PackError("the template's resource directory lies outside the file");
    return p;
  }

  // Calls `visit(id, entry value)` for every entry of the directory table at `offset`.
  template <typename Visit>
  void ForEachEntry(std::uint32_t offset, Visit visit) const {
    const std::uint8_t* header = At(offset, kDirectoryHeaderSize);
    std::uint32_t count = static_cast<std::uint32_t>(ReadU16(header + 12)) + ReadU16(header + 14);
    const std::uint8_t* entries = At(offset + kDirectoryHeaderSize, count * kDirectoryEntrySize);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint32_t name = ReadU32(entries + i * kDirectoryEntrySize);
      std::uint32_t value = ReadU32(entries + i * kDirectoryEntrySize + 4);
      visit(ReadId(name), value);
    }
  }

  std::uint32_t Subdirectory(std::uint32_t value) const {
    if ((value & kSubdirectoryBit) == 0) throw PackError("the template's resource directory is damaged");
    return value & ~kSubdirectoryBit;
  }

  ResourceLeaf ReadLeaf(std::uint32_t value) const {
    if ((value & kSubdirectoryBit) != 0) throw PackError("the template's resource directory is damaged");
    const std::uint8_t* entry = At(value, kDataEntrySize);
    std::uint32_t rva = ReadU32(entry);
    std::uint32_t size = ReadU32(entry + 4);
    const std::uint8_t* data = size == 0 ? nullptr : at_rva_(rva, size);
    if (size != 0 && data == nullptr) throw PackError("a resource of the template lies outside the file");
    ResourceLeaf leaf;
    leaf.content = Bytes(data, data + size);
    leaf.code_page = ReadU32(entry + 8);
    return leaf;
  }

 private:
  ResourceId ReadId(std::uint32_t name) const {
    if ((name & kNameBit) == 0) return ResourceId(static_cast<std::uint16_t>(name));
    std::uint32_t offset = name & ~kNameBit;
    std::uint16_t length = ReadU16(At(offset, 2));
    const std::uint8_t* units = At(offset + 2, length * 2u);
    std::u16string text;
    for (std::uint16_t i = 0; i < length; ++i) text.push_back(static_cast<char16_t>(ReadU16(units + 2 * i)));
    return ResourceId(std::move(text));
  }

  const std::function<const std::uint8_t*(std::uint32_t, std::uint32_t)>& at_rva_;
  std::uint32_t base_;
  std::uint32_t size_;
};

// Offsets of every part of the section, decided before anything is written.
struct SectionLayout {
  std::uint32_t directories_size = 0;
  std::uint32_t strings_offset = 0;
  std::uint32_t data_entries_offset = 0;
  std::uint32_t data_offset = 0;
  std::uint32_t leaf_count = 0;
  std::map<std::u16string, std::uint32_t> string_offsets;
};

void CollectName(const ResourceId& id, SectionLayout& layout, std::uint32_t& strings_size) {
  if (id.IsNumber() || layout.string_offsets.count(id.Name()) != 0) return;
  layout.string_offsets[id.Name()] = strings_size;
  strings_size += 2 + 2 * static_cast<std::uint32_t>(id.Name().size());
}

SectionLayout PlanSection(const ResourceTree& tree) {
  SectionLayout layout;
  std::uint32_t strings_size = 0;
  layout.directories_size = kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(tree.size());
  for (const auto& [type, names] : tree) {
    CollectName(type, layout, strings_size);
    layout.directories_size += kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(names.size());
    for (const auto& [name, languages] : names) {
      CollectName(name, layout, strings_size);
      layout.directories_size += kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(languages.size());
      layout.leaf_count += static_cast<std::uint32_t>(languages.size());
    }
  }
  layout.strings_offset = layout.directories_size;
  for (auto& [text, offset] : layout.string_offsets) offset += layout.strings_offset;
  layout.data_entries_offset = AlignUp(layout.strings_offset + strings_size, 4);
  layout.data_offset = AlignUp(layout.data_entries_offset + kDataEntrySize * layout.leaf_count, 8);
  return layout;
}

void AppendDirectoryHeader(Bytes& out, std::size_t named, std::size_t numbered) {
  AppendU32(out, 0);  // characteristics
  AppendU32(out, 0);  // time stamp
  AppendU32(out, 0);  // version
  AppendU16(out, static_cast<std::uint16_t>(named));
  AppendU16(out, static_cast<std::uint16_t>(numbered));
}

template <typename Map>
void AppendDirectory(Bytes& out, const Map& children, const SectionLayout& layout,
                     const std::function<std::uint32_t(std::size_t)>& target_of) {
  std::size_t named = 0;
  for (const auto& child : children) {
    if (!ResourceId(child.first).IsNumber()) ++named;
  }
  AppendDirectoryHeader(out, named, children.size() - named);
  std::size_t index = 0;
  for (const auto& child : children) {
    ResourceId id(child.first);
    AppendU32(out, id.IsNumber() ? id.Number() : (kNameBit | layout.string_offsets.at(id.Name())));
    AppendU32(out, target_of(index++));
  }
}

}  // namespace

ResourceId::ResourceId(std::u16string name) : name_(std::move(name)) {}

ResourceId ResourceId::FromUtf8(const std::string& name) { return ResourceId(ToUtf16(setup::FromUtf8(name))); }

std::string ResourceId::ToString() const {
  return is_number_ ? "#" + std::to_string(number_) : ToUtf8(FromUtf16(name_));
}

bool ResourceId::operator<(const ResourceId& other) const {
  if (is_number_ != other.is_number_) return !is_number_;
  if (is_number_) return number_ < other.number_;
  return std::lexicographical_compare(name_.begin(), name_.end(), other.name_.begin(), other.name_.end(),
                                      [](char16_t a, char16_t b) { return Upper(a) < Upper(b); });
}

ResourceTree ParseResourceTree(const std::function<const std::uint8_t*(std::uint32_t, std::uint32_t)>& at_rva,
                               std::uint32_t directory_rva, std::uint32_t directory_size) {
  ResourceTree tree;
  if (directory_rva == 0 || directory_size == 0) return tree;
  DirectoryReader reader(at_rva, directory_rva, directory_size);
  reader.ForEachEntry(0, [&](const ResourceId& type, std::uint32_t type_value) {
    reader.ForEachEntry(reader.Subdirectory(type_value), [&](const ResourceId& name, std::uint32_t name_value) {
      reader.ForEachEntry(reader.Subdirectory(name_value), [&](const ResourceId& language, std::uint32_t value) {
        if (!language.IsNumber()) throw PackError("the template's resource directory is damaged");
        tree[type][name][language.Number()] = reader.ReadLeaf(value);
      });
    });
  });
  return tree;
}

std::uint32_t WriteResourceSection(const ResourceTree& tree, std::uint32_t section_rva, OutputFile& output) {
  const std::uint64_t start = output.Position();
  const SectionLayout layout = PlanSection(tree);

  // Directory tables breadth first: root, then every type's table, then every name's table.
  Bytes directories;
  std::uint32_t next_table = kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(tree.size());
  std::vector<std::uint32_t> type_tables;
  for (const auto& [type, names] : tree) {
    type_tables.push_back(next_table);
    next_table += kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(names.size());
  }
  std::vector<std::uint32_t> name_tables;
  for (const auto& [type, names] : tree) {
    for (const auto& [name, languages] : names) {
      name_tables.push_back(next_table);
      next_table += kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(languages.size());
    }
  }
  AppendDirectory(directories, tree, layout, [&](std::size_t i) { return kSubdirectoryBit | type_tables[i]; });
  std::size_t name_index = 0;
  for (const auto& [type, names] : tree) {
    std::size_t first = name_index;
    AppendDirectory(directories, names, layout, [&](std::size_t i) { return kSubdirectoryBit | name_tables[first + i]; });
    name_index += names.size();
  }
  std::uint32_t leaf_index = 0;
  for (const auto& [type, names] : tree) {
    for (const auto& [name, languages] : names) {
      Bytes table;
      AppendDirectoryHeader(table, 0, languages.size());
      for (const auto& [language, leaf] : languages) {
        AppendU32(table, language);
        AppendU32(table, layout.data_entries_offset + kDataEntrySize * leaf_index++);
      }
      directories.insert(directories.end(), table.begin(), table.end());
    }
  }
  std::vector<std::pair<std::uint32_t, const std::u16string*>> strings;
  for (const auto& [text, offset] : layout.string_offsets) strings.emplace_back(offset, &text);
  std::sort(strings.begin(), strings.end());
  for (const auto& [offset, text] : strings) {
    directories.resize(offset);
    AppendU16(directories, static_cast<std::uint16_t>(text->size()));
    for (char16_t unit : *text) AppendU16(directories, unit);
  }
  directories.resize(layout.data_offset, 0);
  output.Write(directories);

  // Data, each item 8-byte aligned; the data entries are filled in once every size is known.
  Bytes data_entries;
  for (const auto& [type, names] : tree) {
    for (const auto& [name, languages] : names) {
      for (const auto& [language, leaf] : languages) {
        output.WriteZeros(AlignUp(static_cast<std::uint32_t>(output.Position() - start), 8) - (output.Position() - start));
        std::uint32_t offset = static_cast<std::uint32_t>(output.Position() - start);
        std::uint32_t size = 0;
        if (const Bytes* bytes = std::get_if<Bytes>(&leaf.content)) {
          output.Write(*bytes);
          size = static_cast<std::uint32_t>(bytes->size());
        } else {
          size = std::get<ResourceStreamer>(leaf.content)(output);
        }
        AppendU32(data_entries, section_rva + offset);
        AppendU32(data_entries, size);
        AppendU32(data_entries, leaf.code_page);
        AppendU32(data_entries, 0);
      }
    }
  }
  output.Patch(start + layout.data_entries_offset, data_entries.data(), data_entries.size());
  return static_cast<std::uint32_t>(output.Position() - start);
}

}  // namespace setup::pack
