// The parsed command line of the launcher: mode switches, user-interface level, logging,
// MIF file, language, sub-packages, workload, transforms and installer properties.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "run/ui_level.h"

namespace setup {

inline constexpr std::uint32_t kDefaultLogMode = 0x397;
inline constexpr std::uint32_t kDefaultReinstallMode = 0x7C0;
inline constexpr std::uint32_t kLogAttributeAppend = 0x1;
inline constexpr std::uint32_t kLogAttributeFlushEachLine = 0x2;

// The launcher's own NAME=VALUE arguments, in the order the parser tries them; names compare
// ignoring case. They are the launcher's, not the installer's: the property check leaves
// them alone when one reaches the property list (a second "TRANSFORMS=", say).
inline constexpr std::wstring_view kTransformsArgument = L"TRANSFORMS";
inline constexpr std::wstring_view kLanguageArgument = L"lang";
inline constexpr std::wstring_view kSubPackagesArgument = L"subPackages";
inline constexpr std::wstring_view kWorkloadArgument = L"workload";
inline constexpr std::wstring_view kLauncherArguments[] = {kTransformsArgument, kLanguageArgument,
                                                           kSubPackagesArgument, kWorkloadArgument};

bool IsLauncherArgumentName(std::wstring_view name);

// A NAME=VALUE property of the command line, both parts trimmed of blanks and tabs and
// otherwise as given; the install sequence decides how the value is written for the installer.
struct CommandLineProperty {
  std::wstring name;
  std::wstring value;

  bool operator==(const CommandLineProperty&) const = default;
};

class CSetupAppCommandLineInfo {
 public:
  // Parses every argument after the program name, in order, then applies the end-of-parse rule.
  void ParseArguments(const std::vector<std::wstring>& arguments);
  // One argument; a switch arrives without its leading "-" or "/".
  void ParseParam(std::wstring_view text, bool isSwitch, bool isLast);

  bool IsInvalid() const { return invalid_; }
  bool IsHelp() const { return help_; }
  bool IsExtract() const { return extract_; }
  bool IsAdministrative() const { return administrative_; }
  bool IsUninstall() const { return uninstall_; }
  bool IsFastOem() const { return fastOem_; }
  setup::UiLevel UiLevel() const { return uiLevel_; }
  const std::wstring& LogPath() const { return logPath_; }
  std::uint32_t LogMode() const { return logMode_; }
  std::uint32_t LogAttributes() const { return logAttributes_; }
  const std::wstring& Transforms() const { return transforms_; }
  bool HasAllUsers1() const { return allUsers1_; }
  bool HasFastOem1() const { return fastOem1_; }
  const std::vector<CommandLineProperty>& Properties() const { return properties_; }
  bool IsRepair() const { return repair_; }
  std::uint32_t ReinstallMode() const { return reinstallMode_; }
  const std::wstring& MifPath() const { return mifPath_; }
  bool IsValidate() const { return validate_; }
  const std::wstring& Language() const { return language_; }
  const std::wstring& SubPackages() const { return subPackages_; }
  const std::wstring& Workload() const { return workload_; }

  void ToggleUninstall() { uninstall_ = !uninstall_; }
  // Removes the properties whose name the predicate picks, so that a value a page generates
  // in their place reaches the installer once.
  void RemoveProperties(const std::function<bool(std::wstring_view name)>& picks);

 private:
  void ParseSwitch(std::wstring_view text);
  void ParseArgument(std::wstring_view text);
  bool SetModeFlag(bool& flag);
  void ParseRepairLetters(std::wstring_view letters);
  void ParseUiLevel(std::wstring_view text);
  void ParseLogLetters(std::wstring_view letters);
  bool AddProperty(std::wstring_view text);
  void EndOfParse();

  bool invalid_ = false;
  bool help_ = false;
  bool extract_ = false;
  bool administrative_ = false;
  bool uninstall_ = false;
  bool fastOem_ = false;
  setup::UiLevel uiLevel_ = setup::UiLevel::Full().WithEndDialog();
  std::wstring logPath_;
  std::uint32_t logMode_ = kDefaultLogMode;
  std::uint32_t logAttributes_ = 0;
  bool expectingLogPath_ = false;
  std::wstring transforms_;
  bool allUsers1_ = false;
  bool fastOem1_ = false;
  std::vector<CommandLineProperty> properties_;
  bool repair_ = false;
  std::uint32_t reinstallMode_ = 0;
  bool expectingMifPath_ = false;
  std::wstring mifPath_;
  bool validate_ = false;
  std::wstring language_;
  std::wstring subPackages_;
  std::wstring workload_;
};

}  // namespace setup
