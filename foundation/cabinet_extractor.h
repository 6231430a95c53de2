// Expands every file of one cabinet into a destination folder through the platform's cabinet
// decompression. A cabinet held in a package resource (a 32-bit little-endian length, then the
// cabinet) is read in place from the resource memory, never copied. Progress and the name of
// each file go to an ICBSCabinetProgressCallbacks sink.
//
// The decompression calls back without a context of its own, so the extraction's state is
// process-wide: only one extractor may exist at a time.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace setup {

class ICBSCabinetProgressCallbacks {
 public:
  virtual ~ICBSCabinetProgressCallbacks() = default;
  // Progress of the cabinet read, 0 to 100.
  virtual void OnPercent(int percent) = 0;
  // Progress as the number of cabinet bytes read so far.
  virtual void OnBytes(unsigned position) = 0;
  // The upper end of the sink's own progress scale.
  virtual int GetProgressRange() = 0;
  // A file is about to be created at this full path.
  virtual void OnFileStart(std::wstring_view path) = 0;
};

class ICBSCabinetExtractor {
 public:
  // A cabinet held in the type-40 resource `resourceName` (any language); `displayName` is
  // the name the decompression is given for it ("Package.cab").
  ICBSCabinetExtractor(platform::Platform& platform, std::wstring_view displayName, std::wstring_view resourceName,
                       std::wstring_view destination);
  // A cabinet file.
  ICBSCabinetExtractor(platform::Platform& platform, std::wstring_view cabinetFile, std::wstring_view destination);
  ~ICBSCabinetExtractor();
  ICBSCabinetExtractor(const ICBSCabinetExtractor&) = delete;
  ICBSCabinetExtractor& operator=(const ICBSCabinetExtractor&) = delete;

  // Expands the whole cabinet. True exactly when the decompression reports success. A cabinet
  // entry whose name would leave the destination fails the extraction as damaged, and the
  // files a failed extraction created are removed again, so that no cut-short file remains.
  // A set `cancelRequested` fails the next read of the cabinet, so a cancel ends even a large
  // cabinet's expansion at once.
  bool Extract(ICBSCabinetProgressCallbacks& sink, const std::atomic<bool>* cancelRequested = nullptr);

  // Whether a write of the last extraction failed because the disk was full.
  static bool DiskFull();

 private:
  friend struct CabinetNotifications;

  void Open(platform::Platform& platform, std::wstring_view destination);
  void RemoveCreatedFiles();

  platform::Platform& platform_;
  std::string cabinetFolder_;
  std::string cabinetName_;
  std::string destination_;
  bool resourceFound_ = false;
  platform::CabinetErrorRecord error_;
  std::unique_ptr<platform::CabinetContext> context_;
};

// The file callbacks every extractor hands to the decompression (one set per process).
const platform::CabinetFileCallbacks& CabinetExtractorFileCallbacks();

}  // namespace setup
