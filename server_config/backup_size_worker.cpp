#include "server_config/backup_size_worker.h"

#include <algorithm>
#include <deque>
#include <limits>

#include "foundation/file_utilities.h"
#include "server_config/backup_options.h"

namespace setup {

BackupSizeWorker::BackupSizeWorker(platform::Platform& platform, std::wstring dataFolder, std::wstring solutionsFolder,
                                   const std::atomic<bool>& stop, std::function<void()> changed)
    : platform_(platform),
      dataFolder_(std::move(dataFolder)),
      solutionsFolder_(std::move(solutionsFolder)),
      stop_(stop),
      changed_(std::move(changed)) {}

void BackupSizeWorker::Start() {
  thread_ = std::thread([this] { result_ = Run(); });
}

int BackupSizeWorker::Join() {
  if (thread_.joinable()) thread_.join();
  return result_;
}

bool BackupSizeWorker::WaitFinished(std::chrono::milliseconds limit) {
  std::unique_lock lock(finishLock_);
  return finishedSignal_.wait_for(lock, limit, [this] { return finished_.load(); });
}

int BackupSizeWorker::Run() {
  const int result = stop_ ? kBackupSizeStoppedBefore : Measure();
  Finish();
  return result;
}

int BackupSizeWorker::Measure() {
  const ICBSFileUtilities files(platform_);
  const std::uint64_t freeBytes = platform_.files->VolumeFreeBytes(dataFolder_).value_or(0);
  freeMegabytes = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(freeBytes / kBytesPerMegabyte, std::numeric_limits<std::uint32_t>::max()));
  const bool solutions = files.FolderExists(solutionsFolder_);
  progressMaximum = 1 + (solutions ? 1 : 0);
  Notify();

  if (files.FolderExists(dataFolder_)) {
    std::uint64_t dataBytes = 0;
    for (const wchar_t* name : kBackupDataFiles) {
      dataBytes += platform_.files->FileSize(dataFolder_ + L"\\" + name).value_or(0);
    }
    totalBytes += dataBytes;
    ++progressPosition;
    Notify();
  }
  if (!solutions) return stop_ ? kBackupSizeStopped : kBackupSizeMeasured;

  // Breadth first, so that the folders near the top, which the maximum needs first, are
  // known early.
  std::deque<std::wstring> folders{solutionsFolder_};
  while (!folders.empty() && !stop_) {
    const std::wstring folder = std::move(folders.front());
    folders.pop_front();
    platform::FolderSizes sizes = platform_.files->SumFolder(folder, stop_);
    totalBytes += sizes.fileBytes;
    for (std::wstring& name : sizes.subfolders) folders.push_back(folder + L"\\" + name);
    progressMaximum += static_cast<int>(sizes.subfolders.size());
    ++progressPosition;
    Notify();
  }
  return stop_ ? kBackupSizeStopped : kBackupSizeMeasured;
}

void BackupSizeWorker::Notify() {
  if (changed_) changed_();
}

void BackupSizeWorker::Finish() {
  {
    const std::lock_guard lock(finishLock_);
    finished_ = true;
  }
  // The page may release the worker as soon as it sees it finished: nothing follows here.
  finishedSignal_.notify_all();
}

}  // namespace setup
