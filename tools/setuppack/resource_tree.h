// The resource directory of a PE image as a tree (type, name, language), read from a template
// and written back in the layout the loader expects: directory tables, names, data entries,
// then the data. Leaves either hold their bytes or stream them into the output (packages).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <variant>

#include "binary_file.h"
#include "byte_order.h"

namespace setup::pack {

// A resource type or name: a number, or a string that the loader compares without case.
class ResourceId {
 public:
  ResourceId(std::uint16_t number) : number_(number), is_number_(true) {}  // NOLINT: ids read naturally as numbers
  ResourceId(std::u16string name);                                      // NOLINT
  static ResourceId FromUtf8(const std::string& name);

  bool IsNumber() const { return is_number_; }
  std::uint16_t Number() const { return number_; }
  const std::u16string& Name() const { return name_; }
  std::string ToString() const;

  // Names before numbers; names in the order of their upper-case UTF-16 units.
  bool operator<(const ResourceId& other) const;
  bool operator==(const ResourceId& other) const { return !(*this < other) && !(other < *this); }

 private:
  std::uint16_t number_ = 0;
  bool is_number_ = false;
  std::u16string name_;
};

// Streams a resource's bytes at the output's position and returns how many it wrote.
using ResourceStreamer = std::function<std::uint32_t(OutputFile&)>;

struct ResourceLeaf {
  std::variant<Bytes, ResourceStreamer> content;
  std::uint32_t code_page = 0;
};

using LanguageMap = std::map<std::uint16_t, ResourceLeaf>;
using NameMap = std::map<ResourceId, LanguageMap>;
using ResourceTree = std::map<ResourceId, NameMap>;

// Reads the resource directory at `directory_rva`; `at_rva` maps an RVA range to file bytes
// (null when the range lies outside the image).
ResourceTree ParseResourceTree(const std::function<const std::uint8_t*(std::uint32_t rva, std::uint32_t size)>& at_rva,
                               std::uint32_t directory_rva, std::uint32_t directory_size);

// Writes the tree as a resource section whose first byte will be loaded at `section_rva`;
// returns the number of bytes written.
std::uint32_t WriteResourceSection(const ResourceTree& tree, std::uint32_t section_rva, OutputFile& output);

}  // namespace setup::pack
