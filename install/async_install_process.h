// The interfaces between an installer that runs on a worker thread and the page that shows its
// progress: the installer's operations over the package list, and what the installer may tell
// the page while it works.
#pragma once

#include <string>

#include "packages/setup_package.h"
#include "run/setup_result.h"

namespace setup {

// Told by an installer from its worker thread.
class SetupReportAsyncProgressIF {
 public:
  virtual ~SetupReportAsyncProgressIF() = default;
  // A positive value makes the bar run from 0 to `range`; 0 makes it a marquee.
  virtual void SetProgressRange(int range) = 0;
  virtual void SetStatusText(const std::wstring& text) = 0;
  // Both clamp the position to the bar's range.
  virtual void SetProgressPos(int position) = 0;
  virtual void StepProgress(int delta) = 0;
};

// An installer that works through the packages the run acts on; each operation ends with a
// result record in the layout of the launcher's (kind, installer code, reported mark).
class SetupAsyncInstallProcessIF {
 public:
  virtual SetupResult Install(PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult Modify(PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult Repair(PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult Remove(PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
  virtual SetupResult Extract(PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
  // Asks the running operation to stop after its current step; safe from another thread.
  virtual void Cancel() = 0;
  virtual ~SetupAsyncInstallProcessIF() = default;
};

}  // namespace setup
