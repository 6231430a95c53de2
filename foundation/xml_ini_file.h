// The processing servers' configuration file: XML with one setting element per line,
// "<section.key>value</section.key>", below a "config" root element. Settings may be
// commented out ("<!--<a.b>1</a.b>-->"); every line that is not a setting is kept as it stands.
#pragma once

#include <string>
#include <vector>

#include "foundation/ini_file_base.h"
#include "foundation/path.h"
#include "platform/platform.h"

namespace setup {

// The processing server's configuration schema, written on the root element on save.
inline constexpr std::wstring_view kProcessingServerConfigNamespace =
    L"http://schemas.tarquel.com/processing-server/configuration/2024";
inline constexpr std::wstring_view kProcessingServerConfigSchemaFile = L"ProcessingServerConfiguration.xsd";

class ICBSXMLIniFile final : public ICBSIniFileBase {
 public:
  // One line of the file as read, or a setting added since.
  struct Line {
    std::wstring text;
    bool commented = false;   // the setting is wrapped in an XML comment
    bool recognised = false;  // the line holds one setting element
    bool malformed = false;
    bool modified = false;
    std::wstring section;
    std::wstring key;
    std::wstring value;
  };

  // Loads the file; a missing or unreadable file gives an empty, unmodified object.
  ICBSXMLIniFile(platform::Platform& platform, ICBSFilePath path);
  ~ICBSXMLIniFile() override;
  ICBSXMLIniFile(const ICBSXMLIniFile&) = delete;
  ICBSXMLIniFile& operator=(const ICBSXMLIniFile&) = delete;

  using ICBSIniFileBase::GetValue;
  using ICBSIniFileBase::HasValue;
  using ICBSIniFileBase::SetValue;

  bool IsLoaded() const override { return !lines_.empty(); }
  bool HasErrors() const override;
  bool IsModified() const override;
  bool HasValue(std::wstring_view section, std::wstring_view key) const override;
  std::wstring GetValue(std::wstring_view section, std::wstring_view key) const override;
  bool SetValue(std::wstring_view section, std::wstring_view key, std::optional<std::wstring_view> value) override;
  bool Save() override;

  // Reads one line of the file into a line record.
  static Line ParseLine(std::wstring text);

 protected:
  std::wstring_view PathSeparator() const override { return L"."; }

 private:
  const Line* FindActiveSetting(std::wstring_view section, std::wstring_view key) const;
  void InsertSetting(std::wstring_view section, std::wstring_view key, std::wstring_view value);

  platform::Platform& platform_;
  ICBSFilePath path_;
  std::vector<Line> lines_;
};

}  // namespace setup
