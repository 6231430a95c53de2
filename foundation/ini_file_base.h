// The common interface of the configuration files the server products keep: INI files and
// one-setting-per-line XML files. A setting is addressed by section and key, or by a path of
// section, separator and key; sections and keys compare without regard to case, values
// exactly. Both kinds keep every line they do not interpret and save on destruction when
// something changed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace setup {

class ICBSIniFileBase {
 public:
  virtual ~ICBSIniFileBase() = default;

  virtual bool IsLoaded() const = 0;
  virtual bool HasErrors() const = 0;
  virtual bool IsModified() const = 0;
  virtual bool HasValue(std::wstring_view section, std::wstring_view key) const = 0;
  bool HasValue(std::wstring_view path) const;
  // Empty when the setting is absent.
  virtual std::wstring GetValue(std::wstring_view section, std::wstring_view key) const = 0;
  std::wstring GetValue(std::wstring_view path) const;
  // True when the file changed. A missing value (nullopt) or an empty one removes the setting.
  virtual bool SetValue(std::wstring_view section, std::wstring_view key, std::optional<std::wstring_view> value) = 0;
  bool SetValue(std::wstring_view path, std::optional<std::wstring_view> value);
  // Writes the file when it was modified; false when it cannot be written.
  virtual bool Save() = 0;

 protected:
  // "::" for INI files, "." for XML files.
  virtual std::wstring_view PathSeparator() const = 0;

 private:
  // Section and key of a path; without separator the whole path is the key of the unnamed section.
  std::pair<std::wstring_view, std::wstring_view> SplitPath(std::wstring_view path) const;
};

}  // namespace setup
