#include "foundation/xml_ini_file.h"

#include <algorithm>
#include <functional>

#include "foundation/text.h"
#include "foundation/text_mode_file.h"

namespace setup {

namespace {

constexpr std::wstring_view kWhiteSpace = L" \t\r\n\v\f";

bool IsWhiteSpace(wchar_t c) { return kWhiteSpace.find(c) != std::wstring_view::npos; }

std::size_t SkipWhiteSpace(std::wstring_view text, std::size_t pos) {
  while (pos < text.size() && IsWhiteSpace(text[pos])) ++pos;
  return pos;
}

// The declaration and the root element are written anew on save, so their lines are dropped.
bool IsFrameLine(std::wstring_view trimmed) {
  return trimmed.starts_with(L"<?xml") || trimmed.starts_with(L"<confi") || trimmed.starts_with(L"</config");
}

// Searches in time linear in the text, whatever the needle.
std::size_t FindText(std::wstring_view text, std::wstring_view needle, std::size_t from) {
  const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                 std::boyer_moore_searcher(needle.begin(), needle.end()));
  return found == text.end() ? std::wstring_view::npos : static_cast<std::size_t>(found - text.begin());
}

std::wstring ElementName(std::wstring_view section, std::wstring_view key) {
  return section.empty() ? std::wstring(key) : std::wstring(section) + L"." + std::wstring(key);
}

std::wstring RootElementLine() {
  std::wstring line = L"<config xmlns=\"";
  line += kProcessingServerConfigNamespace;
  line += L"\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:schemaLocation=\"";
  line += kProcessingServerConfigNamespace;
  line += L" ";
  line += kProcessingServerConfigSchemaFile;
  line += L"\">";
  return line;
}

}  // namespace

ICBSXMLIniFile::Line ICBSXMLIniFile::ParseLine(std::wstring text) {
  Line line;
  line.text = std::move(text);
  const std::wstring_view t = line.text;
  std::size_t pos = SkipWhiteSpace(t, 0);
  if (t.substr(pos).starts_with(L"<!--")) {
    line.commented = true;
    pos = SkipWhiteSpace(t, pos + 4);
  }
  if (pos >= t.size() || t[pos] != L'<') return line;  // text or a plain comment: not a setting

  const std::size_t nameStart = pos + 1;
  std::size_t nameEnd = nameStart;
  while (nameEnd < t.size() && t[nameEnd] != L'/' && t[nameEnd] != L'>' && !IsWhiteSpace(t[nameEnd])) ++nameEnd;
  const std::wstring_view name = t.substr(nameStart, nameEnd - nameStart);
  if (nameEnd >= t.size() || (t[nameEnd] == L'/' && t.substr(nameEnd, 2) != L"/>")) {
    line.malformed = true;
    return line;
  }
  if (t[nameEnd] == L'/') {
    pos = nameEnd + 2;  // an empty element: the setting's value is empty
  } else {
    const std::size_t contentStart = t.find(L'>', nameEnd);
    if (contentStart == std::wstring_view::npos) {
      line.malformed = true;
      return line;
    }
    const std::wstring closingTag = L"</" + std::wstring(name) + L">";
    const std::size_t contentEnd = FindText(t, closingTag, contentStart + 1);
    if (contentEnd == std::wstring_view::npos) return line;  // an element that goes on in later lines
    line.value = t.substr(contentStart + 1, contentEnd - contentStart - 1);
    pos = contentEnd + closingTag.size();
  }
  const std::size_t dot = name.find(L'.');
  line.section = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(0, dot);
  line.key = dot == std::wstring_view::npos ? name : name.substr(dot + 1);

  pos = SkipWhiteSpace(t, pos);
  if (line.commented) {
    if (!t.substr(pos).starts_with(L"-->")) {
      line.malformed = true;
      return line;
    }
    pos = SkipWhiteSpace(t, pos + 3);
  }
  line.malformed = pos < t.size();
  line.recognised = !line.malformed;
  return line;
}

ICBSXMLIniFile::ICBSXMLIniFile(platform::Platform& platform, ICBSFilePath path)
    : platform_(platform), path_(std::move(path)) {
  const auto lines = ReadTextModeLines(*platform_.files, path_);
  if (!lines) return;
  for (const std::wstring& text : *lines) {
    const std::wstring_view trimmed = Trim(text, kWhiteSpace);
    if (trimmed.empty()) {
      Line plain;
      plain.text = text;
      lines_.push_back(std::move(plain));
    } else if (!IsFrameLine(trimmed)) {
      lines_.push_back(ParseLine(text));
    }
  }
}

ICBSXMLIniFile::~ICBSXMLIniFile() { Save(); }

bool ICBSXMLIniFile::HasErrors() const {
  return std::any_of(lines_.begin(), lines_.end(), [](const Line& line) { return line.malformed; });
}

bool ICBSXMLIniFile::IsModified() const {
  return std::any_of(lines_.begin(), lines_.end(), [](const Line& line) { return line.modified; });
}

const ICBSXMLIniFile::Line* ICBSXMLIniFile::FindActiveSetting(std::wstring_view section, std::wstring_view key) const {
  for (const Line& line : lines_) {
    if (line.recognised && !line.commented && EqualsIgnoreCase(line.section, section) &&
        EqualsIgnoreCase(line.key, key)) {
      return &line;
    }
  }
  return nullptr;
}

bool ICBSXMLIniFile::HasValue(std::wstring_view section, std::wstring_view key) const {
  return FindActiveSetting(section, key) != nullptr;
}

std::wstring ICBSXMLIniFile::GetValue(std::wstring_view section, std::wstring_view key) const {
  const Line* line = FindActiveSetting(section, key);
  return line ? line->value : std::wstring();
}

bool ICBSXMLIniFile::SetValue(std::wstring_view section, std::wstring_view key,
                              std::optional<std::wstring_view> value) {
  const auto found = std::find_if(lines_.begin(), lines_.end(), [&](const Line& line) {
    return line.recognised && EqualsIgnoreCase(line.section, section) && EqualsIgnoreCase(line.key, key);
  });
  const bool hasValue = value && !value->empty();
  if (found == lines_.end()) {
    if (!hasValue) return false;
    InsertSetting(section, key, *value);
    return true;
  }
  if (found->commented) {
    if (!hasValue) return false;
    found->commented = false;
    found->modified = true;
  }
  if (!hasValue) {
    found->commented = true;
    found->modified = true;
    return true;
  }
  if (found->value == *value) return false;
  found->value = *value;
  found->modified = true;
  return true;
}

void ICBSXMLIniFile::InsertSetting(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  Line setting;
  setting.recognised = true;
  setting.modified = true;
  setting.section = section;
  setting.key = key;
  setting.value = value;

  const auto lastOfSection = std::find_if(lines_.rbegin(), lines_.rend(), [&](const Line& line) {
    return line.recognised && EqualsIgnoreCase(line.section, section);
  });
  if (lastOfSection != lines_.rend()) {
    // The new setting goes just before the last setting of its section.
    lines_.insert(std::prev(lastOfSection.base()), std::move(setting));
    return;
  }
  auto position = std::find_if(lines_.begin(), lines_.end(),
                               [](const Line& line) { return line.recognised && !line.section.empty(); });
  if (!section.empty()) {
    // A new section is set off by a blank line.
    position = std::next(lines_.insert(position, Line{}));
  }
  lines_.insert(position, std::move(setting));
}

bool ICBSXMLIniFile::Save() {
  if (!IsModified()) return true;
  std::vector<std::wstring> texts;
  texts.reserve(lines_.size());
  for (const Line& line : lines_) {
    if (!line.modified) {
      texts.push_back(line.text);
      continue;
    }
    const std::wstring name = ElementName(line.section, line.key);
    const std::wstring element = L"<" + name + L">" + line.value + L"</" + name + L">";
    texts.push_back(line.commented ? L"    <!--" + element + L"-->" : L"    " + element);
  }
  std::wstring content = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + RootElementLine() + L"\n";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) content += L'\n';
    content += texts[i];
  }
  content += L"\n</config>\n";
  if (!WriteTextModeFile(platform_, path_, content)) return false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    lines_[i].text = std::move(texts[i]);
    lines_[i].modified = false;
  }
  return true;
}

}  // namespace setup
