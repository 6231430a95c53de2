// An INI file: sections of "key = value" entries, with comments and blank lines kept in
// place. A line without "=" continues the value of the entry before it.
#pragma once

#include <list>
#include <string>
#include <unordered_map>

#include "foundation/ini_file_base.h"
#include "foundation/path.h"
#include "platform/platform.h"

namespace setup {

class ICBSIniFile final : public ICBSIniFileBase {
 public:
  // Loads the file; a missing or unreadable file gives an empty, unmodified object.
  ICBSIniFile(platform::Platform& platform, ICBSFilePath path);
  ~ICBSIniFile() override;
  ICBSIniFile(const ICBSIniFile&) = delete;
  ICBSIniFile& operator=(const ICBSIniFile&) = delete;

  using ICBSIniFileBase::GetValue;
  using ICBSIniFileBase::HasValue;
  using ICBSIniFileBase::SetValue;

  bool IsLoaded() const override { return !sections_.empty(); }
  bool HasErrors() const override { return false; }
  bool IsModified() const override { return modified_; }
  bool HasValue(std::wstring_view section, std::wstring_view key) const override;
  std::wstring GetValue(std::wstring_view section, std::wstring_view key) const override;
  bool SetValue(std::wstring_view section, std::wstring_view key, std::optional<std::wstring_view> value) override;
  bool Save() override;

 protected:
  std::wstring_view PathSeparator() const override { return L"::"; }

 private:
  // An entry with an empty key is a line kept as it stands (comment or blank line).
  struct Entry {
    std::wstring key;
    std::wstring value;
  };
  struct Section {
    std::wstring name;
    std::list<Entry> entries;
    // Entries by case-folded key; raw lines are not indexed.
    std::unordered_map<std::wstring, std::list<Entry>::iterator> keys;
  };

  void Load();
  Section* FindSection(std::wstring_view name);
  const Section* FindSection(std::wstring_view name) const;
  const Entry* FindEntry(std::wstring_view section, std::wstring_view key) const;
  Section& CreateSection(std::wstring_view name);
  static void Append(Section& section, std::wstring_view key, std::wstring_view value);

  platform::Platform& platform_;
  ICBSFilePath path_;
  std::list<Section> sections_;
  std::unordered_map<std::wstring, std::list<Section>::iterator> sectionIndex_;
  bool modified_ = false;
};

}  // namespace setup
