// Runs the backup page's size worker against the real platform, for the benchmark script:
//   backup-size-probe measure <data folder> <solutions folder>
//       measures once and prints "ms=<elapsed> bytes=<total> items=<progress maximum>"
//   backup-size-probe cancel <data folder> <solutions folder> <delay ms>
//       starts the worker on its thread, asks it to stop after the delay, and prints
//       "answered_ms=<time from the stop request until the worker ended> result=<its result>"
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/win32/win32_ports.h"
#include "server_config/backup_size_worker.h"

namespace setup {
namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

int Measure(platform::Platform& platform, const wchar_t* data, const wchar_t* solutions) {
  std::atomic<bool> stop = false;
  BackupSizeWorker worker(platform, data, solutions, stop, nullptr);
  const auto started = Clock::now();
  const int result = worker.Run();
  const double elapsed = Milliseconds(Clock::now() - started);
  std::printf("ms=%.1f bytes=%llu items=%d result=%d\n", elapsed,
              static_cast<unsigned long long>(worker.totalBytes.load()), worker.progressMaximum.load(), result);
  return 0;
}

int Cancel(platform::Platform& platform, const wchar_t* data, const wchar_t* solutions, int delayMs) {
  std::atomic<bool> stop = false;
  BackupSizeWorker worker(platform, data, solutions, stop, nullptr);
  worker.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  const bool runningAtStop = !worker.Finished();
  const auto requested = Clock::now();
  stop = true;
  worker.WaitFinished(std::chrono::milliseconds(10000));
  const double answered = Milliseconds(Clock::now() - requested);
  const int result = worker.Join();
  std::printf("answered_ms=%.1f result=%d running=%d\n", answered, result, runningAtStop ? 1 : 0);
  return 0;
}

}  // namespace
}  // namespace setup

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  auto platform = setup::platform::win32::CreatePlatform();
  if (command == L"measure" && argc == 4) return setup::Measure(*platform, argv[2], argv[3]);
  if (command == L"cancel" && argc == 5) return setup::Cancel(*platform, argv[2], argv[3], _wtoi(argv[4]));
  std::fprintf(stderr, "usage: backup-size-probe measure|cancel <data> <solutions> [delay ms]\n");
  return 2;
}
