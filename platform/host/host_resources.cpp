#include "platform/host/host_resources.h"

#include <cwctype>

#include "foundation/text.h"
#include "platform/host/rc_string_table.h"

namespace setup::platform::host {

namespace {

// Parsed once per test process; every HostResources starts from a copy.
const StringTable& ScriptStrings() {
  static const StringTable table = LoadStringTables(SETUP_RESOURCE_DIR);
  return table;
}

// Resource names ignore case: the system looks them up upper-cased.
std::wstring NameKey(std::wstring_view name) {
  std::wstring key(name);
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towupper(c));
  return key;
}

}  // namespace

HostResources::HostResources() : strings_(ScriptStrings()) {}

void HostResources::AddPackageResource(std::wstring name, LangId language, std::string bytes) {
  packageResources_[{NameKey(name), language}] = std::move(bytes);
}

void HostResources::AddPackageText(std::wstring name, std::wstring_view text, LangId language) {
  AddPackageResource(std::move(name), language, ToUtf16LeBytes(text) + std::string(2, '\0'));
}

void HostResources::RemovePackageResource(const std::wstring& name, LangId language) {
  packageResources_.erase({NameKey(name), language});
}

void HostResources::SetString(std::uint32_t id, LangId language, std::wstring text) {
  strings_[{id, language}] = std::move(text);
}

std::optional<std::span<const std::byte>> HostResources::FindPackageResource(std::wstring_view name,
                                                                             std::optional<LangId> language) const {
  auto asSpan = [](const std::string& bytes) {
    return std::span<const std::byte>(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size());
  };
  const std::wstring key = NameKey(name);
  if (language) {
    const auto found = packageResources_.find({key, *language});
    if (found == packageResources_.end()) return std::nullopt;
    return asSpan(found->second);
  }
  // Without a language the system's lookup prefers US English, then takes any language.
  if (const auto english = packageResources_.find({key, 1033}); english != packageResources_.end()) {
    return asSpan(english->second);
  }
  const auto any = packageResources_.lower_bound({key, 0});
  if (any == packageResources_.end() || any->first.first != key) return std::nullopt;
  return asSpan(any->second);
}

std::wstring HostResources::LoadString(std::uint32_t id, LangId language) const {
  const auto found = strings_.find({id, language});
  return found == strings_.end() ? std::wstring() : found->second;
}

}  // namespace setup::platform::host
