// Host stand-in of the resources port: package resources arranged by the test, and the
// STRINGTABLE texts read from the launcher's own resource scripts.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/resources.h"

namespace setup::platform::host {

class HostResources : public Resources {
 public:
  // Loads the STRINGTABLE of resources/*.rc (the same texts the Windows build compiles in).
  HostResources();

  void AddPackageResource(std::wstring name, LangId language, std::string bytes);
  // A text resource as the packaging tool writes it: UTF-16LE with a terminating zero.
  void AddPackageText(std::wstring name, std::wstring_view text, LangId language = 1033);
  void RemovePackageResource(const std::wstring& name, LangId language);
  void SetString(std::uint32_t id, LangId language, std::wstring text);

  std::optional<std::span<const std::byte>> FindPackageResource(std::wstring_view name,
                                                                std::optional<LangId> language) const override;
  std::wstring LoadString(std::uint32_t id, LangId language) const override;

 private:
  std::map<std::pair<std::wstring, LangId>, std::string> packageResources_;
  std::map<std::pair<std::uint32_t, LangId>, std::wstring> strings_;
};

}  // namespace setup::platform::host
