// The backup page's size worker: on a thread of its own it measures the free space of the
// data drive and the size of the mobile server's data and solutions, writing its findings to
// atomic fields that the page reads between waits. It never touches a window: it tells the
// page that something changed through the notice given to it, which only posts.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace setup {

// The worker's results: 0 measured, 2 stopped before it began, 3 stopped while it ran.
inline constexpr int kBackupSizeMeasured = 0;
inline constexpr int kBackupSizeStoppedBefore = 2;
inline constexpr int kBackupSizeStopped = 3;

class BackupSizeWorker {
 public:
  // `stop` is the run's cancel flag, polled between files and folders; `changed` is called
  // on the worker's thread when the fields moved on (it must not wait for the page).
  BackupSizeWorker(platform::Platform& platform, std::wstring dataFolder, std::wstring solutionsFolder,
                   const std::atomic<bool>& stop, std::function<void()> changed);
  ~BackupSizeWorker() { Join(); }
  BackupSizeWorker(const BackupSizeWorker&) = delete;
  BackupSizeWorker& operator=(const BackupSizeWorker&) = delete;

  void Start();
  bool Finished() const { return finished_; }
  // Waits up to `limit` for the worker to finish; true when it has.
  bool WaitFinished(std::chrono::milliseconds limit);
  // Waits for the thread; its result.
  int Join();
  // The measurement itself, on the calling thread.
  int Run();

  // Free space of the data drive in MB.
  std::atomic<std::uint32_t> freeMegabytes{0};
  // Bytes a backup would copy.
  std::atomic<std::uint64_t> totalBytes{0};
  // Progress in measured items: the data files count one, every folder of the solutions tree
  // one more. Folders are counted as the search finds them, so the maximum grows until the
  // last folder is known; a count made beforehand would cost a second search of the tree.
  std::atomic<int> progressMaximum{1};
  std::atomic<int> progressPosition{0};

 private:
  int Measure();
  void Notify();
  void Finish();

  platform::Platform& platform_;
  std::wstring dataFolder_;
  std::wstring solutionsFolder_;
  const std::atomic<bool>& stop_;
  std::function<void()> changed_;
  std::thread thread_;
  std::atomic<bool> finished_ = false;
  std::mutex finishLock_;
  std::condition_variable finishedSignal_;
  int result_ = kBackupSizeMeasured;
};

// The server's files in the data folder that a backup copies beside the solutions.
inline constexpr const wchar_t* kBackupDataFiles[] = {L"pellomar.db", L"pellomarlog.db", L"pellomarserver.cfg",
                                                      L"pellomarjobs.db", L"pellomarsessions.db"};

}  // namespace setup
