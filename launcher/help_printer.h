// The help text that "/?" and an invalid command line print to the console.
#pragma once

#include <string>
#include <string_view>

namespace setup {

class HelpModel;
class LanguageCatalog;

// The launcher's file name within its module path: after the last backslash, or after the
// last slash when there is no backslash.
std::wstring_view LauncherFileName(std::wstring_view modulePath);

// The complete help text, with its "\r\n" and "\n" line ends.
std::wstring HelpText(const HelpModel& model, const LanguageCatalog& catalog, std::wstring_view fileName);

}  // namespace setup
