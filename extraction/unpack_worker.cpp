#include "extraction/unpack_worker.h"

#include "run/log_lines.h"

namespace setup {

void UnpackWorker::Start() {
  thread_ = std::thread([this] { exitCode_ = Run(); });
}

int UnpackWorker::Join() {
  if (thread_.joinable()) thread_.join();
  return exitCode_;
}

bool UnpackWorker::WaitFinished(std::chrono::milliseconds limit) {
  std::unique_lock lock(finishLock_);
  return finishedSignal_.wait_for(lock, limit, [this] { return finished_.load(); });
}

int UnpackWorker::Run() {
  if (!run_ || settings_.cancelRequested) return Finish(kResultInstallFailed);
  std::uint64_t total = 0;
  for (const UnpackEntry& entry : list_) total += entry.size;
  sink_.SetTotal(total);

  std::uint64_t base = 0;
  for (const UnpackEntry& entry : list_) {
    sink_.SetBase(base);
    base += entry.size;
    if (settings_.cancelRequested) return Finish(kResultUserCancelled);
    SetupPackage& package = *entry.package;
    const int result = IsTaxonomyPackage(package) ? UnpackTaxonomyPackage(*run_, package, package.packageFolder)
                           : UnpackCabinetPackage(*run_, package, sink_, settings_);
    if (result != kResultSuccess && !settings_.cancelRequested) {
      run_->log.WriteLog(log_lines::kCabinetError, result);
      return Finish(result);
    }
  }
  return Finish(settings_.cancelRequested ? kResultUserCancelled : kResultSuccess);
}

int UnpackWorker::Finish(int result) {
  if (run_) run_->result.Record(result, 0, false);
  {
    const std::lock_guard lock(finishLock_);
    finished_ = true;
  }
  finishedSignal_.notify_all();
  return result == kResultSuccess ? 0 : kWorkerFailedExitCode;
}

}  // namespace setup
