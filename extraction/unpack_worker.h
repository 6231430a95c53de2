// The unpack worker of the unpack page: on a thread of its own it unpacks every entry of the
// unpack list, posting progress to the page, and ends with a launcher result that it records
// (0, 2, 3, 11 or 1620).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "extraction/extraction_progress_handler.h"
#include "extraction/package_unpacking.h"
#include "extraction/unpack_list.h"

namespace setup {

inline constexpr int kWorkerFailedExitCode = 1603;

class UnpackWorker {
 public:
  // `run` may be null (no launcher): the worker then ends at once with result 2.
  UnpackWorker(const RunContext* run, std::vector<UnpackEntry> list, ExtractionProgressHandler& sink,
               UnpackSettings settings)
      : run_(run), list_(std::move(list)), sink_(sink), settings_(std::move(settings)) {}
  ~UnpackWorker() { Join(); }
  UnpackWorker(const UnpackWorker&) = delete;
  UnpackWorker& operator=(const UnpackWorker&) = delete;

  // Runs the worker on a thread of its own; the page keeps pumping messages until Finished.
  void Start();
  bool Finished() const { return finished_; }
  // Waits up to `limit` for the worker to finish; true when it has.
  bool WaitFinished(std::chrono::milliseconds limit);
  // Waits for the thread; its exit code: 0, or 1603 after any result but 0.
  int Join();

  // The thread procedure.
  int Run();

 private:
  int Finish(int result);

  const RunContext* run_;
  std::vector<UnpackEntry> list_;
  ExtractionProgressHandler& sink_;
  UnpackSettings settings_;
  std::thread thread_;
  std::atomic<bool> finished_ = false;
  std::mutex finishLock_;
  std::condition_variable finishedSignal_;
  int exitCode_ = 0;
};

}  // namespace setup
