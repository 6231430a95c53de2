// The command-line help: commands with their options, and the installer properties of the
// server products grouped by product. Built once per run in the current language; the
// property groups are also the list of properties this installer knows.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

class LanguageCatalog;

struct HelpOption {
  std::wstring syntax;
  std::uint32_t labelId = 0;
  std::uint32_t descriptionId = 0;
};

struct HelpCommand {
  std::wstring syntax;
  std::uint32_t descriptionId = 0;
  std::vector<const HelpOption*> options;  // shared with the other commands
};

struct HelpProperty {
  std::wstring name;
  std::uint32_t placeholderId = 0;
  std::uint32_t descriptionId = 0;
  bool numeric = false;  // a port: the command line must give a decimal number in full
};

struct HelpPropertyGroup {
  std::uint32_t titleId = 0;
  std::vector<HelpProperty> properties;
};

// What decides which optional parts the help shows.
struct HelpModelInputs {
  bool hasGermanPackage = false;   // resource "PACKAGE_0_1031" in language 1031
  bool hasSeveralPackages = false; // "PACKAGE_COUNT" is a number greater than 1
  std::wstring firstProductName;   // "PRODUCT_NAME_0"
};

class HelpModel {
 public:
  void Build(const LanguageCatalog& catalog, const HelpModelInputs& inputs);

  const std::vector<HelpCommand>& Commands() const { return commands_; }
  const std::vector<HelpPropertyGroup>& PropertyGroups() const { return groups_; }
  // The property of one of the groups with this name, compared ignoring case; none when
  // this installer does not know it.
  const HelpProperty* FindProperty(std::wstring_view name) const;

 private:
  std::deque<HelpOption> options_;  // stable addresses for the commands' shared pointers
  std::vector<HelpCommand> commands_;
  std::vector<HelpPropertyGroup> groups_;
};

// The property groups that a product name brings, in help order.
std::vector<HelpPropertyGroup> PropertyGroupsFor(std::wstring_view productName);

}  // namespace setup
