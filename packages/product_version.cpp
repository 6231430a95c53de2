#include "packages/product_version.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "foundation/format.h"
#include "foundation/text.h"
#include "packages/version_component.h"

namespace setup {

std::int32_t VersionComponentNumber(std::wstring_view text) {
  const std::int64_t value = ParseLeadingInteger(text);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

ProductVersion ParseProductVersion(std::wstring_view text) {
  ProductVersion version;
  if (text.empty()) return version;
  const std::vector<std::wstring_view> parts = Split(text, L'.');
  version.major = VersionComponentNumber(parts[0]);
  if (parts.size() >= 2) version.release = VersionComponentNumber(parts[1]);
  if (parts.size() >= 3) {
    const std::wstring_view third = parts[2];
    const bool packedBuild = third.size() >= 3;
    version.servicePack = VersionComponentNumber(packedBuild ? third.substr(0, 2) : third);
    if (parts.size() >= 4) {
      version.build = VersionComponentNumber(parts[3]);
    } else if (packedBuild) {
      version.build = VersionComponentNumber(third.substr(2));
    }
  }
  return version;
}

int CompareVersions(const ProductVersion& a, const ProductVersion& b) {
  const std::int32_t left[] = {a.major, a.release, a.servicePack, a.build};
  const std::int32_t right[] = {b.major, b.release, b.servicePack, b.build};
  for (int i = 0; i < 4; ++i) {
    if (left[i] < right[i]) return -1;
    if (left[i] > right[i]) return 1;
  }
  return 0;
}

std::wstring VersionDisplay(const ProductVersion& version, bool shortVersion) {
  std::wstring text;
  if (shortVersion) {
    text = Format(L"%d.%d", version.major, version.release);
  } else {
    text = Format(L"%d", version.major);
    if (version.release != 0) text += Format(L" rel. %d", version.release);
  }
  if (version.servicePack != 0) text += Format(L" sp%d", version.servicePack);
  return text;
}

std::wstring FullVersionString(const ProductVersion& version, bool shortVersion) {
  if (shortVersion) {
    return Format(L"%d.%d.%d.%d", version.major, version.release, version.servicePack, version.build);
  }
  return Format(L"%d.%0.2d.%0.2d.%0.2d", version.major, version.release, version.servicePack, version.build);
}

}  // namespace setup
