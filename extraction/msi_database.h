// An installer database (.msi) opened for one change: transforms merged into it are kept in
// the file when the object commits, at the latest when it is destroyed.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace setup {

class ICBSMSIDatabase {
 public:
  // Opens the file in direct mode, or creates it with `create`. When that fails the handle
  // stays 0 and LastError() says why; callers test the handle.
  ICBSMSIDatabase(platform::Platform& platform, std::wstring path, bool create = false);
  // Commits a modified database, then closes it.
  virtual ~ICBSMSIDatabase();
  ICBSMSIDatabase(const ICBSMSIDatabase&) = delete;
  ICBSMSIDatabase& operator=(const ICBSMSIDatabase&) = delete;

  platform::DatabaseHandle Handle() const { return handle_; }
  const std::wstring& Path() const { return path_; }
  platform::InstallerDatabases& Databases() { return databases_; }

  // Writes the changes of a modified database to its file; false when the installer refuses
  // (LastError() says why), true when there was nothing to write.
  bool Commit();

  // Merges the transforms in order; a transform given as "@file" or "|file" names that file.
  // Files the transforms add to the File table are then copied from `sourceFolder` into
  // `destinationFolder`: an uncompressed file itself, a compressed one the cabinet holding
  // it. False when a transform cannot be merged (the later ones are not tried), or when an
  // added file or its cabinet cannot be copied; transforms merged before a failure stay
  // merged.
  bool ApplyTransforms(const std::vector<std::wstring>& transforms, std::wstring_view sourceFolder,
                       std::wstring_view destinationFolder);

  // The installer's description of the last failed open or commit; empty when none failed.
  const std::wstring& LastError() const { return lastError_; }

 private:
  // Applies one transform twice: first with the view condition, so that "_TransformView"
  // records what it adds, then for real.
  bool ApplyTransform(std::wstring_view transformPath);
  bool CopyAddedFiles(std::wstring_view sourceFolder, std::wstring_view destinationFolder);
  bool CopyAddedFile(std::wstring_view fileKey, std::wstring_view sourceFolder, std::wstring_view destinationFolder,
                     std::set<std::wstring>& copiedCabinets);
  void TakeLastError();

  platform::Platform& platform_;
  platform::InstallerDatabases& databases_;
  std::wstring path_;
  platform::DatabaseHandle handle_ = 0;
  bool modified_ = false;
  std::wstring lastError_;
};

}  // namespace setup
