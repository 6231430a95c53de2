// The checks before the wizard: Windows version, Direct2D 1.1, a single running launcher
// and the user's rights, with the facts they find.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "run/setup_log.h"

namespace setup {

struct OsFacts {
  platform::OsVersion detected;
  std::wstring detectedName;
  std::wstring requiredName;
  std::int32_t welcomeTextId = 35;  // the default introduction text of the welcome page
};

class SystemPrerequisites {
 public:
  SystemPrerequisites(platform::Platform& platform, SetupLog& log, OsFacts& facts)
      : platform_(platform), log_(log), facts_(facts) {}

  // Compares the running Windows with the minimum of the "OS" resource text.
  bool CheckOsVersion(std::wstring_view osResourceText);
  bool CheckDirect2D();
  // Creates the single-instance mutex; true when another launcher holds it.
  bool AnotherLauncherRunning();
  // Member of Administrators, or else of Power Users.
  bool UserHasRights();

 private:
  std::wstring SingleInstanceMutexName() const;

  platform::Platform& platform_;
  SetupLog& log_;
  OsFacts& facts_;
};

}  // namespace setup
