// The four-number version of a product (major, release, service pack, build), how version
// texts are read into it, how two versions are ordered, and the two ways a version is shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

struct ProductVersion {
  std::int32_t major = -1;  // the year-like number, e.g. 2023; -1 for an empty version text
  std::int32_t release = 0;
  std::int32_t servicePack = 0;
  std::int32_t build = 0;

  friend bool operator==(const ProductVersion&, const ProductVersion&) = default;
};

// Reads "2023.00.01.03" style texts. Each component is a leading decimal number (non-numeric
// text reads as 0). A third component of three or more characters holds the service pack in
// its first two characters and the build in the rest ("2019.3.101" is 2019, 3, 10, 1).
ProductVersion ParseProductVersion(std::wstring_view text);

// -1, 0 or 1 by major, then release, service pack and build (signed: -1 is older than any
// real major).
int CompareVersions(const ProductVersion& a, const ProductVersion& b);

// "2023 rel. 2 sp1", or "7.2 sp1" for products shown with a short version.
std::wstring VersionDisplay(const ProductVersion& version, bool shortVersion);
// "2023.00.01.03", or "7.2.0.0" for products shown with a short version.
std::wstring FullVersionString(const ProductVersion& version, bool shortVersion);

}  // namespace setup
