// The names of the package resources (numeric type 40): the packaging tool writes them into
// the launcher and the launcher reads them, both from here. The names are ASCII; each is
// built in the character type of its user (wide in the launcher, UTF-8 in the packaging
// tool). This header includes nothing of the project, so that the tool can use it alone.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace setup::package_resource_names {

// Of the whole setup.
inline constexpr std::string_view kPackageCount = "PACKAGE_COUNT";  // the number of packages, in decimal
inline constexpr std::string_view kOs = "OS";                       // the oldest Windows the setup runs on
inline constexpr std::string_view kProperties = "PROPERTIES";       // installer properties for every package

// Of each package, followed by "_" and the package number counted from 0 ("PRODUCT_NAME_0").
inline constexpr std::string_view kProductName = "PRODUCT_NAME";
inline constexpr std::string_view kProductCode = "PRODUCT_CODE";
inline constexpr std::string_view kPackageCode = "PACKAGE_CODE";
inline constexpr std::string_view kProductId = "PRODUCT_ID";
inline constexpr std::string_view kProductPlatform = "PRODUCT_PLATFORM";
inline constexpr std::string_view kProductVersion = "PRODUCT_VERSION";
inline constexpr std::string_view kInstallerType = "INSTALLER_TYPE";  // absent for an MSI package
// The package's cabinet ("PACKAGE_0"); with "_" and an LCID its language transform ("PACKAGE_0_1031").
inline constexpr std::string_view kPackageData = "PACKAGE";

// The text resources that every package carries, in the order the validation checks them.
inline constexpr std::string_view kRequiredPackageTexts[] = {kProductName,    kProductCode,     kProductId,
                                                             kProductVersion, kProductPlatform, kPackageCode};

template <class Char = wchar_t>
std::basic_string<Char> Name(std::string_view name) {
  return std::basic_string<Char>(name.begin(), name.end());
}

// "<base>_<package>": a resource of one package.
template <class Char = wchar_t>
std::basic_string<Char> PackageName(std::string_view base, int package) {
  return Name<Char>(base) + Char('_') + Name<Char>(std::to_string(package));
}

// "PACKAGE_<package>_<lcid>": a package's language transform; the launcher also passes "%s"
// as the LCID to get the pattern of a package.
template <class Char = wchar_t>
std::basic_string<Char> TransformName(int package, std::type_identity_t<std::basic_string_view<Char>> lcid) {
  return PackageName<Char>(kPackageData, package) + Char('_') + std::basic_string<Char>(lcid);
}

}  // namespace setup::package_resource_names
