#include "foundation/ini_file.h"

#include "foundation/text.h"
#include "foundation/text_mode_file.h"

namespace setup {

namespace {

std::wstring Folded(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = FoldCase(c);
  return folded;
}

bool IsRawLine(std::wstring_view line) {
  return line.empty() || line.starts_with(L"//") || line.starts_with(L";");
}

}  // namespace

ICBSIniFile::ICBSIniFile(platform::Platform& platform, ICBSFilePath path) : platform_(platform), path_(std::move(path)) {
  Load();
}

ICBSIniFile::~ICBSIniFile() { Save(); }

void ICBSIniFile::Load() {
  const auto lines = ReadTextModeLines(*platform_.files, path_);
  if (!lines) return;
  std::wstring section;
  std::wstring lastKey;  // empty: no entry yet in this section that a line could continue
  for (const std::wstring& text : *lines) {
    const std::wstring_view line = Trim(text, L" \t\r\n");
    const std::size_t equals = line.find(L'=');
    // Comments, blank lines and lines with "=" but no key are kept as they stand.
    if (IsRawLine(line) || (equals != std::wstring_view::npos && Trim(line.substr(0, equals), L" \t").empty())) {
      SetValue(section, L"", line);
    } else if (line.front() == L'[') {
      section = Trim(line, L"[]");
      lastKey.clear();
    } else if (equals != std::wstring_view::npos) {
      lastKey = Trim(line.substr(0, equals), L" \t");
      SetValue(section, lastKey, Trim(line.substr(equals + 1), L" \t"));
    } else if (!lastKey.empty()) {
      // A continuation line extends the value of the last entry (appended in place, so that a
      // long run of continuation lines stays linear).
      const std::wstring continuation = L"\r\n\t" + std::wstring(line);
      if (Section* current = FindSection(section)) {
        if (const auto found = current->keys.find(Folded(lastKey)); found != current->keys.end()) {
          found->second->value += continuation;
          continue;
        }
      }
      SetValue(section, lastKey, continuation);
    } else {
      // Nothing in this section to continue: keep the line as it stands.
      SetValue(section, L"", line);
    }
  }
  modified_ = false;
}

ICBSIniFile::Section* ICBSIniFile::FindSection(std::wstring_view name) {
  const auto found = sectionIndex_.find(Folded(name));
  return found == sectionIndex_.end() ? nullptr : &*found->second;
}

const ICBSIniFile::Section* ICBSIniFile::FindSection(std::wstring_view name) const {
  const auto found = sectionIndex_.find(Folded(name));
  return found == sectionIndex_.end() ? nullptr : &*found->second;
}

const ICBSIniFile::Entry* ICBSIniFile::FindEntry(std::wstring_view section, std::wstring_view key) const {
  if (key.empty()) return nullptr;
  const Section* found = FindSection(section);
  if (!found) return nullptr;
  const auto entry = found->keys.find(Folded(key));
  return entry == found->keys.end() ? nullptr : &*entry->second;
}

ICBSIniFile::Section& ICBSIniFile::CreateSection(std::wstring_view name) {
  // The unnamed section always comes first: its entries precede every section header.
  const auto position = sections_.insert(name.empty() ? sections_.begin() : sections_.end(),
                                         Section{std::wstring(name), {}, {}});
  sectionIndex_.emplace(Folded(name), position);
  return *position;
}

void ICBSIniFile::Append(Section& section, std::wstring_view key, std::wstring_view value) {
  const auto entry = section.entries.insert(section.entries.end(), Entry{std::wstring(key), std::wstring(value)});
  if (!key.empty()) section.keys.emplace(Folded(key), entry);
}

bool ICBSIniFile::HasValue(std::wstring_view section, std::wstring_view key) const {
  return FindEntry(section, key) != nullptr;
}

std::wstring ICBSIniFile::GetValue(std::wstring_view section, std::wstring_view key) const {
  const Entry* entry = FindEntry(section, key);
  return entry ? entry->value : std::wstring();
}

bool ICBSIniFile::SetValue(std::wstring_view sectionName, std::wstring_view key,
                           std::optional<std::wstring_view> value) {
  Section* section = FindSection(sectionName);
  if (!section) {
    section = &CreateSection(sectionName);
    modified_ = true;
    if (!value || (!key.empty() && value->empty())) return false;
    Append(*section, key, *value);
    return true;
  }
  if (key.empty()) {
    if (!value) return false;
    Append(*section, key, *value);
    modified_ = true;
    return true;
  }
  const auto found = section->keys.find(Folded(key));
  if (found == section->keys.end()) {
    if (!value || value->empty()) return false;
    Append(*section, key, *value);
    modified_ = true;
    return true;
  }
  if (!value || value->empty()) {
    section->entries.erase(found->second);
    section->keys.erase(found);
  } else if (found->second->value == *value) {
    return false;
  } else {
    found->second->value = *value;
  }
  modified_ = true;
  return true;
}

bool ICBSIniFile::Save() {
  if (!modified_) return true;
  std::wstring text;
  for (const Section& section : sections_) {
    if (!section.name.empty()) text += L"[" + section.name + L"]\n";
    for (const Entry& entry : section.entries) {
      text += entry.key.empty() ? entry.value : entry.key + L" = " + entry.value;
      text += L'\n';
    }
  }
  if (!WriteTextModeFile(platform_, path_, text)) return false;
  modified_ = false;
  return true;
}

}  // namespace setup
