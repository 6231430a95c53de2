#include "platform/host/host_registry.h"

#include "foundation/text.h"

namespace setup::platform::host {

namespace {

std::wstring Lower(std::wstring_view text) {
  std::wstring out(Trim(text, L"\\"));
  for (wchar_t& c : out) c = FoldCase(c);
  return out;
}

class HostRegistryKey : public RegistryKey {
 public:
  HostRegistryKey(HostRegistry& registry, HostRegistry::KeyId id, bool writable)
      : registry_(registry), id_(std::move(id)), writable_(writable) {}

  std::optional<RegistryValue> QueryValue(std::wstring_view name) const override {
    const auto key = registry_.keys.find(id_);
    if (key == registry_.keys.end()) return std::nullopt;
    const auto value = key->second.values.find(Lower(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second.value;
  }
  bool SetValue(std::wstring_view name, const RegistryValue& value) override {
    if (!writable_ || !registry_.keys.contains(id_)) return false;
    registry_.keys[id_].values[Lower(name)] = {std::wstring(name), value};
    return true;
  }
  bool DeleteValue(std::wstring_view name) override {
    const auto key = registry_.keys.find(id_);
    return writable_ && key != registry_.keys.end() && key->second.values.erase(Lower(name)) == 1;
  }
  std::optional<std::wstring> SubkeyName(std::uint32_t index) const override {
    std::uint32_t seen = 0;
    const std::wstring& path = std::get<2>(id_);
    const std::wstring prefix = path.empty() ? path : path + L"\\";
    for (auto it = registry_.keys.lower_bound(id_); it != registry_.keys.end(); ++it) {
      if (std::get<0>(it->first) != std::get<0>(id_) || std::get<1>(it->first) != std::get<1>(id_)) break;
      const std::wstring& candidate = std::get<2>(it->first);
      if (!candidate.starts_with(prefix) || candidate == path) continue;
      const std::wstring rest = candidate.substr(prefix.size());
      if (rest.find(L'\\') != std::wstring::npos) continue;  // deeper keys come after their parents
      if (seen++ == index) return it->second.name;
    }
    return std::nullopt;
  }
  // As on Windows, deleting needs the right to delete the subkey, not write access to this key.
  bool DeleteSubkey(std::wstring_view name) override {
    const std::wstring& path = std::get<2>(id_);
    const HostRegistry::KeyId child{std::get<0>(id_), std::get<1>(id_),
                                    path.empty() ? Lower(name) : path + L"\\" + Lower(name)};
    if (!registry_.keys.contains(child)) return false;
    HostRegistryKey childKey(registry_, child, true);
    if (childKey.SubkeyName(0)) return false;  // still has subkeys
    registry_.keys.erase(child);
    return true;
  }

 private:
  HostRegistry& registry_;
  HostRegistry::KeyId id_;
  bool writable_;
};

}  // namespace

HostRegistry::KeyId HostRegistry::Id(RegistryRoot root, std::wstring_view path, std::uint32_t viewFlags) const {
  const std::wstring lower = Lower(path);
  const bool redirected = root == RegistryRoot::LocalMachine && (lower == L"software" || lower.starts_with(L"software\\"));
  const int view = redirected && (viewFlags & kRegistryView64) != 0 ? 64 : redirected ? 32 : 0;
  return {view, root, lower};
}

std::unique_ptr<RegistryKey> HostRegistry::Open(RegistryRoot root, std::wstring_view path, RegistryAccess access,
                                                bool create, std::uint32_t viewFlags) {
  const KeyId id = Id(root, path, viewFlags);
  if (!keys.contains(id)) {
    if (!create) return nullptr;
    // Creating a key creates its missing parents, as RegCreateKeyEx does; names keep the case
    // they were created with.
    const std::wstring full(Trim(path, L"\\"));
    std::size_t start = 0;
    for (std::size_t at = full.find(L'\\');; at = full.find(L'\\', at + 1)) {
      const std::size_t end = at == std::wstring::npos ? full.size() : at;
      keys.try_emplace(Id(root, full.substr(0, end), viewFlags), StoredKey{full.substr(start, end - start), {}});
      if (at == std::wstring::npos) break;
      start = at + 1;
    }
  }
  return std::make_unique<HostRegistryKey>(*this, id, access == RegistryAccess::All);
}

void HostRegistry::SetString(RegistryRoot root, std::wstring_view path, std::wstring_view name, std::wstring_view text,
                             std::uint32_t viewFlags) {
  Open(root, path, RegistryAccess::All, true, viewFlags)
      ->SetValue(name, {kRegSz, ToUtf16LeBytes(text) + std::string(2, '\0')});
}

void HostRegistry::SetDword(RegistryRoot root, std::wstring_view path, std::wstring_view name, std::uint32_t value,
                            std::uint32_t viewFlags) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  Open(root, path, RegistryAccess::All, true, viewFlags)->SetValue(name, {kRegDword, bytes});
}

bool HostRegistry::KeyExists(RegistryRoot root, std::wstring_view path, std::uint32_t viewFlags) const {
  return keys.contains(Id(root, path, viewFlags));
}

}  // namespace setup::platform::host
