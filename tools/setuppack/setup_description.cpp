#include "setup_description.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <string_view>

#include "binary_file.h"
#include "cabinet_writer.h"
#include "foundation/text.h"
#include "json_value.h"
#include "packages/package_resource_names.h"
#include "pack_error.h"

namespace setup::pack {
namespace {

namespace fs = std::filesystem;
namespace names = setup::package_resource_names;

fs::path PathFromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

// Where a value sits in the description, for error messages.
class Context {
 public:
  Context(std::string where) : where_(std::move(where)) {}  // NOLINT
  Context Member(const std::string& name) const { return Context(where_ + "." + name); }
  Context Item(std::size_t index) const { return Context(where_ + "[" + std::to_string(index) + "]"); }
  [[noreturn]] void Fail(const std::string& what) const { throw PackError(where_ + ": " + what); }
  const std::string& Where() const { return where_; }

 private:
  std::string where_;
};

const JsonValue& Require(const JsonValue& object, const std::string& name, JsonValue::Kind kind, const Context& at) {
  const JsonValue* value = object.Find(name);
  if (value == nullptr) at.Fail("missing member \"" + name + "\"");
  if (value->GetKind() != kind) at.Member(name).Fail(std::string("must be ") + KindName(kind) + ", not " + KindName(value->GetKind()));
  return *value;
}

const JsonValue* Optional(const JsonValue& object, const std::string& name, JsonValue::Kind kind, const Context& at) {
  const JsonValue* value = object.Find(name);
  if (value != nullptr && value->GetKind() != kind) {
    at.Member(name).Fail(std::string("must be ") + KindName(kind) + ", not " + KindName(value->GetKind()));
  }
  return value;
}

std::uint32_t RequireUnsigned(const JsonValue& value, std::uint32_t maximum, const Context& at) {
  const std::string& text = value.Text();
  bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  unsigned long long number = digits && text.size() < 12 ? std::strtoull(text.c_str(), nullptr, 10) : maximum + 1ull;
  if (!value.IsNumber() || number > maximum) at.Fail("must be a whole number from 0 to " + std::to_string(maximum));
  return static_cast<std::uint32_t>(number);
}

class DescriptionReader {
 public:
  explicit DescriptionReader(const fs::path& description) : folder_(description.parent_path()) {}

  fs::path ExistingFile(const JsonValue& value, const Context& at) const {
    fs::path path = PathFromUtf8(value.Text());
    if (path.is_relative()) path = folder_ / path;
    std::error_code error;
    if (!fs::is_regular_file(path, error)) at.Fail("file '" + Utf8Path(path) + "' does not exist");
    return path;
  }

  void AddText(const std::string& name, const std::string& text) {
    Add(name, kEnglishLanguage, ResourceLeaf{EncodeResourceText(text), 0});
  }

  void Add(const std::string& name, std::uint16_t language, ResourceLeaf leaf,
           std::function<ResourceStreamer(std::uint32_t)> cut = {}) {
    plan_.resources.push_back({ResourceId::FromUtf8(name), language, std::move(leaf), std::move(cut)});
  }

  SetupPlan& Plan() { return plan_; }

 private:
  fs::path folder_;
  SetupPlan plan_;
};

// Streams a file verbatim, optionally behind the 32-bit length prefix of cabinet resources, and
// optionally cut short (a damaged package for tests).
ResourceStreamer CopyFileStreamer(fs::path source, bool length_prefix, std::optional<std::uint32_t> cut) {
  return [source = std::move(source), length_prefix, cut](OutputFile& output) -> std::uint32_t {
    InputFile input(source);
    std::uint64_t size = input.Size();
    if (cut) size = std::min<std::uint64_t>(size, *cut);
    if (size > std::numeric_limits<std::uint32_t>::max() - 4) throw PackError("file '" + Utf8Path(source) + "' exceeds 4 GB");
    if (length_prefix) {
      Bytes prefix;
      AppendU32(prefix, static_cast<std::uint32_t>(size));
      output.Write(prefix);
    }
    Bytes buffer(1 << 16);
    for (std::uint64_t left = size; left > 0;) {
      std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
      if (input.Read(buffer.data(), chunk) != chunk) throw PackError("file '" + Utf8Path(source) + "' changed while packing");
      output.Write(buffer.data(), chunk);
      left -= chunk;
    }
    return static_cast<std::uint32_t>(size + (length_prefix ? 4 : 0));
  };
}

// Compresses an MSI into a cabinet written straight into the resource, behind its length prefix.
ResourceStreamer CabinetStreamer(fs::path msi, std::optional<std::uint32_t> cut) {
  return [msi = std::move(msi), cut](OutputFile& output) -> std::uint32_t {
    std::vector<CabinetEntry> entries{{msi, Utf8Path(msi.filename())}};
    if (!cut) {
      const std::uint64_t prefix_at = output.Position();
      output.WriteZeros(4);
      std::uint32_t size = WriteCabinet(output, entries);
      output.PatchU32(prefix_at, size);
      return size + 4;
    }
    // A cut cabinet is built aside first and only its beginning is copied.
    fs::path aside = fs::temp_directory_path() / ("setuppack-" + std::to_string(std::random_device{}()) + ".cab");
    struct Remove {
      fs::path path;
      ~Remove() {
        std::error_code ignored;
        fs::remove(path, ignored);
      }
    } remove{aside};
    {
      OutputFile cabinet(aside);
      WriteCabinet(cabinet, entries);
      cabinet.Close();
    }
    return CopyFileStreamer(aside, true, cut)(output);
  };
}

void ReadPackage(DescriptionReader& reader, const JsonValue& package, std::size_t n, const Context& at) {
  if (!package.IsObject()) at.Fail("must be an object");
  const int number = static_cast<int>(n);
  static const std::pair<const char*, std::string_view> kTexts[] = {
      {"productName", names::kProductName},         {"productCode", names::kProductCode},
      {"packageCode", names::kPackageCode},         {"productId", names::kProductId},
      {"productPlatform", names::kProductPlatform}, {"productVersion", names::kProductVersion}};
  for (const auto& [member, resource] : kTexts) {
    reader.AddText(names::PackageName<char>(resource, number), Require(package, member, JsonValue::Kind::kString, at).Text());
  }
  if (const JsonValue* type = Optional(package, "installerType", JsonValue::Kind::kString, at)) {
    reader.AddText(names::PackageName<char>(names::kInstallerType, number), type->Text());
  }

  const JsonValue* msi = Optional(package, "msi", JsonValue::Kind::kString, at);
  const JsonValue* cabinet = Optional(package, "cabinet", JsonValue::Kind::kString, at);
  const JsonValue* file = Optional(package, "file", JsonValue::Kind::kString, at);
  if ((msi != nullptr) + (cabinet != nullptr) + (file != nullptr) != 1) {
    at.Fail("needs exactly one of \"msi\", \"cabinet\" and \"file\"");
  }
  std::function<ResourceStreamer(std::optional<std::uint32_t>)> content;
  if (msi != nullptr) {
    content = [path = reader.ExistingFile(*msi, at.Member("msi"))](auto cut) { return CabinetStreamer(path, cut); };
  } else {
    const bool is_cabinet = cabinet != nullptr;
    content = [path = reader.ExistingFile(is_cabinet ? *cabinet : *file, at.Member(is_cabinet ? "cabinet" : "file")), is_cabinet](auto cut) {
      return CopyFileStreamer(path, is_cabinet, cut);
    };
  }
  reader.Add(names::PackageName<char>(names::kPackageData, number), kEnglishLanguage, ResourceLeaf{content(std::nullopt), 0},
             [content](std::uint32_t cut) { return content(cut); });

  if (const JsonValue* transforms = Optional(package, "transforms", JsonValue::Kind::kObject, at)) {
    for (const auto& [lcid, path] : transforms->Members()) {
      Context where = at.Member("transforms").Member(lcid);
      bool numeric = !lcid.empty() && lcid.size() <= 5 && std::all_of(lcid.begin(), lcid.end(), [](char c) { return c >= '0' && c <= '9'; });
      unsigned long language = numeric ? std::strtoul(lcid.c_str(), nullptr, 10) : 0;
      if (language == 0 || language > 0xFFFF) where.Fail("the member name must be an LCID from 1 to 65535");
      if (!path.IsString()) where.Fail("must be a string (the .mst file)");
      fs::path transform = reader.ExistingFile(path, where);
      reader.Add(names::TransformName<char>(number, std::to_string(language)), static_cast<std::uint16_t>(language),
                 ResourceLeaf{CopyFileStreamer(transform, false, std::nullopt), 0},
                 [transform](std::uint32_t cut) { return CopyFileStreamer(transform, false, cut); });
    }
  }
}

// Overrides for tests: null removes a resource, a string replaces it with a text, an object
// gives "text" or "file" content, another "language", "truncate" to cut the content, or
// "length" to make a package's length prefix announce another size. An
// overridden name replaces every language of that name, the template's own included.
void ApplyOverride(DescriptionReader& reader, const std::string& name, const JsonValue& value, const Context& at) {
  SetupPlan& plan = reader.Plan();
  const ResourceId id = ResourceId::FromUtf8(name);
  auto planned = std::find_if(plan.resources.begin(), plan.resources.end(), [&](const PlannedResource& r) { return r.name == id; });
  if (value.IsNull()) {
    plan.resources.erase(std::remove_if(plan.resources.begin(), plan.resources.end(), [&](const PlannedResource& r) { return r.name == id; }),
                         plan.resources.end());
    plan.removed.push_back(id);
    return;
  }
  if (value.IsString()) {
    plan.resources.erase(std::remove_if(plan.resources.begin(), plan.resources.end(), [&](const PlannedResource& r) { return r.name == id; }),
                         plan.resources.end());
    reader.AddText(name, value.Text());
    plan.removed.push_back(id);
    return;
  }
  if (!value.IsObject()) at.Fail("must be null, a string or an object");

  PlannedResource result{id, planned != plan.resources.end() ? planned->language : kEnglishLanguage, {}, {}};
  const JsonValue* text = Optional(value, "text", JsonValue::Kind::kString, at);
  const JsonValue* file = Optional(value, "file", JsonValue::Kind::kString, at);
  const JsonValue* language = Optional(value, "language", JsonValue::Kind::kNumber, at);
  const JsonValue* truncate = Optional(value, "truncate", JsonValue::Kind::kNumber, at);
  const JsonValue* length = Optional(value, "length", JsonValue::Kind::kNumber, at);
  std::optional<std::uint32_t> cut;
  if (truncate != nullptr) cut = RequireUnsigned(*truncate, std::numeric_limits<std::uint32_t>::max() - 4, at.Member("truncate"));
  if (language != nullptr) result.language = static_cast<std::uint16_t>(RequireUnsigned(*language, 0xFFFF, at.Member("language")));
  if (text != nullptr && file != nullptr) at.Fail("give \"text\" or \"file\", not both");

  if (text != nullptr) {
    Bytes bytes = EncodeResourceText(text->Text());
    if (cut && *cut < bytes.size()) bytes.resize(*cut);
    result.leaf.content = std::move(bytes);
  } else if (file != nullptr) {
    result.leaf.content = CopyFileStreamer(reader.ExistingFile(*file, at.Member("file")), false, cut);
  } else if (planned == plan.resources.end()) {
    at.Fail("the setup has no resource of this name to change; give \"text\" or \"file\"");
  } else if (cut && planned->cut) {
    result.leaf.content = planned->cut(*cut);
  } else if (cut) {
    Bytes bytes = std::get<Bytes>(planned->leaf.content);
    if (*cut < bytes.size()) bytes.resize(*cut);
    result.leaf.content = std::move(bytes);
  } else {
    result.leaf = planned->leaf;
  }
  if (length != nullptr) {
    // The 32-bit length prefix announces another size than the cabinet that follows.
    const std::uint32_t announced = RequireUnsigned(*length, std::numeric_limits<std::uint32_t>::max(), at.Member("length"));
    result.leaf.content = [inner = result.leaf.content, announced](OutputFile& output) -> std::uint32_t {
      const std::uint64_t start = output.Position();
      std::uint32_t size = 0;
      if (const Bytes* bytes = std::get_if<Bytes>(&inner)) {
        output.Write(*bytes);
        size = static_cast<std::uint32_t>(bytes->size());
      } else {
        size = std::get<ResourceStreamer>(inner)(output);
      }
      if (size < 4) throw PackError("a resource of fewer than 4 bytes has no length prefix to change");
      output.PatchU32(start, announced);
      return size;
    };
  }
  plan.resources.erase(std::remove_if(plan.resources.begin(), plan.resources.end(), [&](const PlannedResource& r) { return r.name == id; }),
                       plan.resources.end());
  plan.resources.push_back(std::move(result));
  plan.removed.push_back(id);
}

}  // namespace

Bytes EncodeResourceText(const std::string& utf8) {
  std::string bytes = ToUtf16LeBytes(FromUtf8(utf8));
  Bytes encoded(bytes.begin(), bytes.end());
  encoded.push_back(0);
  encoded.push_back(0);
  return encoded;
}

SetupPlan ReadSetupDescription(const fs::path& description) {
  Bytes raw = ReadWholeFile(description);
  JsonValue root;
  try {
    root = JsonValue::Parse(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()));
  } catch (const PackError& error) {
    throw PackError("setup description '" + Utf8Path(description) + "': " + error.what());
  }
  const Context at("setup description '" + Utf8Path(description) + "'");
  if (!root.IsObject()) at.Fail("the top level must be an object");
  DescriptionReader reader(description);
  const JsonValue& packages = Require(root, "packages", JsonValue::Kind::kArray, at);
  reader.AddText(names::Name<char>(names::kPackageCount), std::to_string(packages.Items().size()));
  for (std::size_t n = 0; n < packages.Items().size(); ++n) {
    ReadPackage(reader, packages.Items()[n], n, at.Member("packages").Item(n));
  }
  if (const JsonValue* os = Optional(root, "os", JsonValue::Kind::kString, at)) {
    reader.AddText(names::Name<char>(names::kOs), os->Text());
  }
  if (const JsonValue* properties = Optional(root, "properties", JsonValue::Kind::kString, at)) {
    reader.AddText(names::Name<char>(names::kProperties), properties->Text());
  }
  if (const JsonValue* overrides = Optional(root, "resources", JsonValue::Kind::kObject, at)) {
    for (const auto& [name, value] : overrides->Members()) {
      ApplyOverride(reader, name, value, at.Member("resources").Member(name));
    }
  }
  return std::move(reader.Plan());
}

}  // namespace setup::pack
