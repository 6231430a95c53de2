#include "foundation/registry_key.h"

#include <array>
#include <utility>

#include "foundation/text.h"

namespace setup {

namespace {

constexpr std::array<std::pair<std::wstring_view, platform::RegistryRoot>, 3> kRootNames = {{
    {L"HKEY_LOCAL_MACHINE", platform::RegistryRoot::LocalMachine},
    {L"HKEY_CURRENT_USER", platform::RegistryRoot::CurrentUser},
    {L"HKEY_CLASSES_ROOT", platform::RegistryRoot::ClassesRoot},
}};

std::wstring_view RootName(platform::RegistryRoot root) {
  for (const auto& [name, value] : kRootNames) {
    if (value == root) return name;
  }
  return {};
}

}  // namespace

bool ICBSRegistryKey::Open(platform::RegistryRoot root, std::wstring_view path, bool readOnly, bool create,
                           std::uint32_t viewFlags) {
  key_ = registry_->Open(root, path, readOnly ? platform::RegistryAccess::Read : platform::RegistryAccess::All,
                         create, viewFlags);
  root_ = root;
  path_ = path;
  readOnly_ = readOnly;
  viewFlags_ = viewFlags;
  return IsOpen();
}

bool ICBSRegistryKey::Open(std::wstring_view fullPath, bool readOnly, bool create, std::uint32_t viewFlags) {
  const std::size_t separator = fullPath.find(L'\\');
  const std::wstring_view rootName = fullPath.substr(0, separator);
  const std::wstring_view path =
      separator == std::wstring_view::npos ? std::wstring_view() : fullPath.substr(separator + 1);
  for (const auto& [name, root] : kRootNames) {
    if (name == rootName) return Open(root, path, readOnly, create, viewFlags);
  }
  Close();
  return false;
}

std::wstring ICBSRegistryKey::FullPath() const {
  std::wstring full(RootName(root_));
  if (!path_.empty()) full += L"\\" + path_;
  return full;
}

std::wstring ICBSRegistryKey::ChildPath(std::wstring_view name) const {
  return path_.empty() ? std::wstring(name) : path_ + L"\\" + std::wstring(name);
}

std::optional<platform::RegistryValue> ICBSRegistryKey::Query(std::wstring_view name) const {
  if (!key_) return std::nullopt;
  return key_->QueryValue(name);
}

std::wstring ICBSRegistryKey::ReadString(std::wstring_view name) const {
  const auto value = Query(name);
  if (!value || (value->type != platform::kRegSz && value->type != platform::kRegExpandSz)) return {};
  // Values stored with or without their terminating NUL read the same.
  std::wstring text = FromUtf16LeBytes(std::string_view(value->data).substr(0, value->data.size() & ~std::size_t{1}));
  text.resize(std::min(text.size(), text.find(L'\0')));
  return text;
}

std::uint32_t ICBSRegistryKey::ReadDword(std::wstring_view name) const {
  const auto value = Query(name);
  if (!value || value->type != platform::kRegDword || value->data.size() < 4) return 0;
  std::uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<std::uint8_t>(value->data[static_cast<std::size_t>(i)]);
  return number;
}

bool ICBSRegistryKey::WriteString(std::wstring_view name, std::wstring_view text) {
  if (!key_) return false;
  return key_->SetValue(name, platform::RegistryValue{platform::kRegSz, ToUtf16LeBytes(text) + std::string(2, '\0')});
}

bool ICBSRegistryKey::WriteDword(std::wstring_view name, std::uint32_t value) {
  if (!key_) return false;
  std::string data;
  for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return key_->SetValue(name, platform::RegistryValue{platform::kRegDword, data});
}

bool ICBSRegistryKey::DeleteValue(std::wstring_view name) { return key_ && key_->DeleteValue(name); }

bool ICBSRegistryKey::DeleteSubkeyTree(std::wstring_view name) {
  if (!key_) return false;
  ICBSRegistryKey subkey(*registry_);
  if (!subkey.Open(root_, ChildPath(name), false, false,
                   viewFlags_)) {
    return false;
  }
  // Always the first remaining subkey: each one is gone before the next is looked up.
  while (const auto child = subkey.key_->SubkeyName(0)) {
    if (!subkey.DeleteSubkeyTree(*child)) return false;
  }
  subkey.Close();
  return key_->DeleteSubkey(name);
}

std::vector<ICBSRegistryKey> ICBSRegistryKey::EnumerateSubkeys() const {
  std::vector<ICBSRegistryKey> subkeys;
  if (!key_) return subkeys;
  for (std::uint32_t index = 0;; ++index) {
    const auto name = key_->SubkeyName(index);
    if (!name) break;
    ICBSRegistryKey& subkey = subkeys.emplace_back(*registry_);
    subkey.Open(root_, ChildPath(*name), readOnly_, false, viewFlags_);
  }
  return subkeys;
}

}  // namespace setup
