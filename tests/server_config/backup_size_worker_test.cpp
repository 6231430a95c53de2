// The backup page's size worker on host folders: what it counts, and how it stops.
#include <gtest/gtest.h>

#include <chrono>

#include "foundation/file_utilities.h"
#include "server_config/backup_options.h"
#include "server_config/backup_size_worker.h"
#include "support/run_fixture.h"

namespace setup::testing {
namespace {

constexpr wchar_t kData[] = L"C:\\ProgramData\\Tarquel\\PellomarServer";
constexpr wchar_t kSolutions[] = L"C:\\ProgramData\\Tarquel\\PellomarServer\\SolutionFiles";

class BackupSizeWorkerTest : public RunTest {
 protected:
  void WriteFile(const std::wstring& path, std::size_t size) {
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(path.substr(0, path.rfind(L'\\'))));
    ASSERT_TRUE(host_.Files().WriteFile(path, std::string(size, 'x')));
  }
  // Data files of 100 + 20 + 3 + 4 + 5 bytes, an unrelated file, and a solutions tree of four
  // folders holding 1000 + 200 + 30 bytes.
  void MakeInstallation() {
    WriteFile(std::wstring(kData) + L"\\pellomar.db", 100);
    WriteFile(std::wstring(kData) + L"\\pellomarlog.db", 20);
    WriteFile(std::wstring(kData) + L"\\pellomarserver.cfg", 3);
    WriteFile(std::wstring(kData) + L"\\pellomarjobs.db", 4);
    WriteFile(std::wstring(kData) + L"\\pellomarsessions.db", 5);
    WriteFile(std::wstring(kData) + L"\\unrelated.log", 7000);
    WriteFile(std::wstring(kSolutions) + L"\\a.zip", 1000);
    WriteFile(std::wstring(kSolutions) + L"\\One\\b.zip", 200);
    WriteFile(std::wstring(kSolutions) + L"\\One\\Deeper\\c.zip", 30);
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(std::wstring(kSolutions) + L"\\Empty"));
  }

  std::atomic<bool> stop_ = false;
};

TEST_F(BackupSizeWorkerTest, CountsTheDataFilesAndTheWholeSolutionsTree) {
  MakeInstallation();
  host_.Files().freeSpace = 5000 * kBytesPerMegabyte + 12345;
  int notices = 0;
  BackupSizeWorker worker(host_, kData, kSolutions, stop_, [&] { ++notices; });
  EXPECT_EQ(worker.Run(), kBackupSizeMeasured);
  EXPECT_EQ(worker.totalBytes, 132u + 1230u);
  EXPECT_EQ(worker.freeMegabytes, 5000u);
  EXPECT_EQ(worker.progressMaximum, 1 + 4);
  EXPECT_EQ(worker.progressPosition, 1 + 4);
  EXPECT_GE(notices, 5);
}

TEST_F(BackupSizeWorkerTest, MissingFilesAndFoldersCountNothing) {
  WriteFile(std::wstring(kData) + L"\\pellomar.db", 100);
  BackupSizeWorker worker(host_, kData, L"C:\\Elsewhere\\Solutions", stop_, nullptr);
  EXPECT_EQ(worker.Run(), kBackupSizeMeasured);
  EXPECT_EQ(worker.totalBytes, 100u);
  EXPECT_EQ(worker.progressMaximum, 1);
  EXPECT_EQ(worker.progressPosition, 1);
}

TEST_F(BackupSizeWorkerTest, AStopBeforeItBeginsMeasuresNothing) {
  MakeInstallation();
  stop_ = true;
  BackupSizeWorker worker(host_, kData, kSolutions, stop_, nullptr);
  EXPECT_EQ(worker.Run(), kBackupSizeStoppedBefore);
  EXPECT_EQ(worker.totalBytes, 0u);
  EXPECT_TRUE(worker.Finished());
}

TEST_F(BackupSizeWorkerTest, AStopWhileItRunsEndsTheSearchAtTheNextLook) {
  MakeInstallation();
  int notices = 0;
  // Stops after the data files were counted.
  BackupSizeWorker worker(host_, kData, kSolutions, stop_, [&] {
    if (++notices == 2) stop_ = true;
  });
  EXPECT_EQ(worker.Run(), kBackupSizeStopped);
  EXPECT_EQ(worker.totalBytes, 132u);
  EXPECT_EQ(worker.progressPosition, 1);
}

TEST_F(BackupSizeWorkerTest, OnItsOwnThreadItAnswersAStopAndIsWaitedFor) {
  // Enough folders that the search is still running when the stop comes.
  for (int folder = 0; folder < 200; ++folder) {
    WriteFile(std::wstring(kSolutions) + L"\\F" + std::to_wstring(folder) + L"\\s.zip", 1);
  }
  std::atomic<int> notices = 0;
  // The third notice holds the worker until this thread has asked it to stop.
  BackupSizeWorker worker(host_, kData, kSolutions, stop_, [&] {
    if (++notices != 3) return;
    while (!stop_) std::this_thread::yield();
  });
  worker.Start();
  while (notices < 3) std::this_thread::yield();
  EXPECT_FALSE(worker.Finished());
  stop_ = true;
  EXPECT_TRUE(worker.WaitFinished(std::chrono::milliseconds(2000)));
  EXPECT_EQ(worker.Join(), kBackupSizeStopped);
  EXPECT_LT(worker.progressPosition, 201);
}

}  // namespace
}  // namespace setup::testing
