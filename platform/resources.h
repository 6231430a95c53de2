// Port: the resources of the launcher's own executable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setup::platform {

using LangId = std::uint16_t;

// The numeric resource type that holds the package data of a setup.
inline constexpr std::uint16_t kPackageResourceType = 40;

class Resources {
 public:
  virtual ~Resources() = default;

  // The bytes of the type-40 resource `name`, in exactly `language`, or in whatever language
  // the system's resource lookup picks when no language is given. The bytes stay valid and
  // unmoved for the life of the process (they are the mapped image), so a cabinet can be
  // read in place. Empty optional when the resource does not exist.
  virtual std::optional<std::span<const std::byte>> FindPackageResource(
      std::wstring_view name, std::optional<LangId> language) const = 0;

  // A STRINGTABLE string of the given language; empty when its block or slot is missing.
  virtual std::wstring LoadString(std::uint32_t id, LangId language) const = 0;
};

}  // namespace setup::platform
