#include "run/command_line_info.h"

#include <algorithm>
#include <optional>

#include "foundation/text.h"

namespace setup {

namespace {

std::uint32_t ReinstallBit(wchar_t letter) {
  switch (letter) {
    case L'p': return 0x2;
    case L'o': return 0x4;
    case L'e': return 0x8;
    case L'c': return 0x20;
    case L'a': return 0x40;
    case L'u': return 0x100;
    case L's': return 0x200;
    case L'v': return 0x400;
    default: return 0;
  }
}

std::uint32_t LogModeBit(wchar_t letter) {
  switch (letter) {
    case L'm': return 0x1;
    case L'e': return 0x2;
    case L'w': return 0x4;
    case L'u': return 0x8;
    case L'i': return 0x10;
    case L'o': return 0x80;
    case L'a': return 0x100;
    case L'r': return 0x200;
    case L'c': return 0x800;
    case L'v': return 0x1000;
    case L'x': return 0x2000;
    case L'*': return 0xF9F;
    default: return 0;
  }
}

std::wstring TrimQuotes(std::wstring_view text) { return std::wstring(Trim(text, L"\"")); }

// The value after "NAME=" when the text is the launcher's argument NAME.
std::optional<std::wstring_view> ArgumentValue(std::wstring_view text, std::wstring_view name) {
  if (text.size() <= name.size() || text[name.size()] != L'=' || !StartsWithIgnoreCase(text, name)) {
    return std::nullopt;
  }
  return text.substr(name.size() + 1);
}

}  // namespace

bool IsLauncherArgumentName(std::wstring_view name) {
  return std::any_of(std::begin(kLauncherArguments), std::end(kLauncherArguments),
                     [&](std::wstring_view argument) { return EqualsIgnoreCase(name, argument); });
}

void CSetupAppCommandLineInfo::ParseArguments(const std::vector<std::wstring>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const bool isSwitch = !argument.empty() && (argument[0] == L'-' || argument[0] == L'/');
    ParseParam(isSwitch ? std::wstring_view(argument).substr(1) : std::wstring_view(argument), isSwitch,
               i + 1 == arguments.size());
  }
}

void CSetupAppCommandLineInfo::ParseParam(std::wstring_view text, bool isSwitch, bool isLast) {
  if (isSwitch) {
    ParseSwitch(text);
  } else {
    ParseArgument(text);
  }
  if (isLast) EndOfParse();
}

// Switch names and every letter after them count in either case ("/QN", "/L*V"), as
// administrators' scripts write them.
void CSetupAppCommandLineInfo::ParseSwitch(std::wstring_view text) {
  const wchar_t first = text.empty() ? L'\0' : text[0];
  if (EqualsIgnoreCase(text, L"?") || EqualsIgnoreCase(text, L"h")) {
    help_ = true;
  } else if (EqualsIgnoreCase(text, L"a")) {
    SetModeFlag(administrative_);
  } else if (first == L'f' || first == L'F') {
    if (SetModeFlag(repair_)) ParseRepairLetters(text.substr(1));
  } else if (EqualsIgnoreCase(text, L"x")) {
    SetModeFlag(uninstall_);
  } else if (first == L'q' || first == L'Q') {
    ParseUiLevel(text);
  } else if (EqualsIgnoreCase(text, L"u")) {
    SetModeFlag(extract_);
  } else if (first == L'l' || first == L'L') {
    expectingLogPath_ = true;
    ParseLogLetters(text.substr(1));
  } else if (EqualsIgnoreCase(text, L"m")) {
    expectingMifPath_ = true;
  } else if (EqualsIgnoreCase(text, L"v")) {
    validate_ = true;
  } else {
    invalid_ = true;
  }
}

bool CSetupAppCommandLineInfo::SetModeFlag(bool& flag) {
  // A mode switch is refused when the three other mode flags are all set already.
  const int others = static_cast<int>(administrative_) + static_cast<int>(repair_) + static_cast<int>(uninstall_) +
                     static_cast<int>(extract_) - static_cast<int>(flag);
  if (others == 3) {
    invalid_ = true;
    return false;
  }
  flag = true;
  return true;
}

void CSetupAppCommandLineInfo::ParseRepairLetters(std::wstring_view letters) {
  if (letters.empty()) {
    reinstallMode_ = kDefaultReinstallMode;
    return;
  }
  for (const wchar_t letter : letters) reinstallMode_ |= ReinstallBit(FoldCase(letter));
}

void CSetupAppCommandLineInfo::ParseUiLevel(std::wstring_view text) {
  uiLevel_ = UiLevel::None();
  if (text.size() < 2) return;
  switch (FoldCase(text[1])) {
    case L'n': uiLevel_ = UiLevel::None(); break;
    case L'b': uiLevel_ = UiLevel::Basic(); break;
    case L'r': uiLevel_ = UiLevel::Reduced(); break;
    case L'f': uiLevel_ = UiLevel::Full(); break;
    case L'+':
      uiLevel_ = UiLevel::None().WithEndDialog();
      if (text.size() > 2) invalid_ = true;
      return;
    default:
      invalid_ = true;
      break;
  }
  constexpr std::size_t kPlusAt = 2;
  if (text.size() <= kPlusAt) return;
  if (text[kPlusAt] != L'+') {
    invalid_ = true;
    return;
  }
  uiLevel_ = uiLevel_.WithEndDialog();
  if (text.size() > kPlusAt + 1) invalid_ = true;
}

void CSetupAppCommandLineInfo::ParseLogLetters(std::wstring_view letters) {
  if (letters.empty()) return;
  logMode_ = 0;
  for (const wchar_t letter : letters) {
    if (letter == L'+') {
      logAttributes_ |= kLogAttributeAppend;
    } else if (letter == L'!') {
      logAttributes_ |= kLogAttributeFlushEachLine;
    } else {
      logMode_ |= LogModeBit(FoldCase(letter));
    }
  }
}

void CSetupAppCommandLineInfo::ParseArgument(std::wstring_view text) {
  if (const auto transforms = ArgumentValue(text, kTransformsArgument); transforms && transforms_.empty()) {
    transforms_ = *transforms;
  } else if (const auto language = ArgumentValue(text, kLanguageArgument)) {
    language_ = *language;
  } else if (const auto subPackages = ArgumentValue(text, kSubPackagesArgument)) {
    subPackages_ = TrimQuotes(*subPackages);
    if (EqualsIgnoreCase(subPackages_, L"all")) subPackages_.clear();
  } else if (const auto workload = ArgumentValue(text, kWorkloadArgument)) {
    workload_ = TrimQuotes(*workload);
  } else if (expectingMifPath_ && mifPath_.empty()) {
    mifPath_ = text;
    expectingMifPath_ = false;
  } else if (expectingLogPath_ && logPath_.empty()) {
    logPath_ = text;
    expectingLogPath_ = false;
  } else if (!AddProperty(text)) {
    invalid_ = true;
  }
}

bool CSetupAppCommandLineInfo::AddProperty(std::wstring_view text) {
  const std::size_t equals = text.find(L'=');
  if (equals == std::wstring_view::npos) return false;
  CommandLineProperty property{std::wstring(Trim(text.substr(0, equals), kBlanksAndTabs)),
                               std::wstring(Trim(text.substr(equals + 1), kBlanksAndTabs))};
  if (property.name == L"FASTOEM" && property.value == L"1") fastOem1_ = true;
  if (property.name == L"ALLUSERS" && property.value == L"1") allUsers1_ = true;
  properties_.push_back(std::move(property));
  return true;
}

void CSetupAppCommandLineInfo::RemoveProperties(const std::function<bool(std::wstring_view name)>& picks) {
  std::erase_if(properties_, [&](const CommandLineProperty& property) { return picks(property.name); });
}

void CSetupAppCommandLineInfo::EndOfParse() {
  if (!administrative_ && !repair_ && !uninstall_ && uiLevel_.IsQuiet() && allUsers1_ && fastOem1_) {
    fastOem_ = true;
  }
  if (fastOem1_ && !fastOem_) {
    std::erase(properties_, CommandLineProperty{L"FASTOEM", L"1"});
  }
}

}  // namespace setup

