#include "run/setup_log.h"

#include <gtest/gtest.h>

#include "foundation/text.h"
#include "run/command_line_info.h"
#include "run/log_lines.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_installer.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

// Rows for entries whose text the test chooses, at the lowest and the highest level.
constexpr LogLine<log_lines::Text> kAnyError{LogLineKind::Plain, kLogErrors, L"%s"};
constexpr LogLine<log_lines::Text> kAnyVerbose{LogLineKind::Plain, kLogVerbose, L"%s"};
constexpr LogLine<log_lines::Number> kVerboseNumber{LogLineKind::Plain, kLogVerbose, L"verbose %d\r\n"};

class SetupLogTest : public ::testing::Test {
 protected:
  std::string Bytes() { return files_.ReadFile(L"setup.log").value_or("<missing>"); }

  testing::TempFolder temp_;
  platform::host::HostFileSystem files_{temp_.Path()};
  platform::host::HostInstaller installer_;
  SetupLog log_{files_, installer_};
};

TEST(SetupLogLevels, LevelFromLogModeLastMatchWins) {
  EXPECT_EQ(LogLevelFromMode(0x397), 3);
  EXPECT_EQ(LogLevelFromMode(0x2), 1);
  EXPECT_EQ(LogLevelFromMode(0x6), 2);
  EXPECT_EQ(LogLevelFromMode(0xF9F), 3);
  EXPECT_EQ(LogLevelFromMode(0x1F9F), 4);
  EXPECT_EQ(LogLevelFromMode(0x1000), 4);
  EXPECT_EQ(LogLevelFromMode(0x2000), 0);
}

TEST_F(SetupLogTest, WritesUtf16WithoutByteOrderMarkFilteredByLevel) {
  log_.Open(L"setup.log", 0x397, 0);
  log_.WriteLog(log_lines::kOsFound, L"Windows 7");  // a launcher step gets its mark
  log_.WriteLog(kVerboseNumber, 4);
  log_.WriteLog(kAnyError, L"Ä");
  EXPECT_EQ(Bytes(), ToUtf16LeBytes(L"TSL (c): found Windows 7\r\nÄ"));
  EXPECT_EQ(Bytes().substr(0, 2), std::string("T\0", 2));
}

TEST_F(SetupLogTest, TruncatesByDefaultAndAppendsWithPlus) {
  ASSERT_TRUE(files_.WriteFile(L"setup.log", ToUtf16LeBytes(L"old")));
  log_.Open(L"setup.log", 0x397, 0);
  log_.WriteLog(kAnyError, L"new");
  EXPECT_EQ(Bytes(), ToUtf16LeBytes(L"new"));

  SetupLog appending(files_, installer_);
  appending.Open(L"setup.log", 0x1F9F, 0x1);
  appending.WriteLog(kAnyVerbose, L"+more");
  EXPECT_EQ(Bytes(), ToUtf16LeBytes(L"new+more"));
}

TEST_F(SetupLogTest, ModeWithoutLevelLettersCreatesAnEmptyFile) {
  log_.Open(L"setup.log", 0x2000, 0);
  log_.WriteLog(kAnyError, L"=== start\r\n");
  EXPECT_EQ(Bytes(), "");
}

TEST_F(SetupLogTest, UnopenableOrMissingPathLeavesLoggingOff) {
  log_.Open(L"C:\\missing\\folder\\setup.log", 0x397, 0);
  EXPECT_FALSE(log_.IsOpen());
  log_.WriteLog(kAnyError, L"ignored");
  SetupLog none(files_, installer_);
  none.Open(L"", 0x397, 0);
  none.Suspend();
  EXPECT_TRUE(installer_.enableLogCalls.empty());
  // A device is never opened, neither by the launcher nor by the installer: a serial port
  // would block the first write.
  for (const wchar_t* device : {L"COM1", L"NUL", L"con", L"C:\\Work\\LPT1.log", L"\\\\.\\COM1"}) {
    SetupLog log(files_, installer_);
    log.Open(device, 0x397, 0);
    EXPECT_FALSE(log.IsOpen()) << ToUtf8(device);
    log.Suspend();
    log.Resume();
    EXPECT_FALSE(log.IsOpen()) << ToUtf8(device);
    EXPECT_FALSE(files_.Attributes(device)) << ToUtf8(device);
  }
  EXPECT_TRUE(installer_.enableLogCalls.empty());
}

TEST_F(SetupLogTest, HandsTheFileToTheInstallerAndAppendsAfterIt) {
  log_.Open(L"setup.log", 0x1F9F, 0x2);
  log_.WriteLog(kAnyError, L"before");
  log_.Suspend();
  ASSERT_EQ(installer_.enableLogCalls.size(), 1u);
  EXPECT_EQ(installer_.enableLogCalls[0].logMode, 0x1F9Fu);
  EXPECT_EQ(installer_.enableLogCalls[0].path, L"setup.log");
  EXPECT_EQ(installer_.enableLogCalls[0].attributes, platform::kInstallLogAppend);  // "!" is not passed on
  log_.WriteLog(kAnyError, L"lost while handed over");

  // The installer appends its own lines in its own encoding.
  auto installerLog = files_.OpenForWriting(L"setup.log", platform::OpenMode::OpenAlways);
  installerLog->Write("MSI line\n");
  installerLog.reset();

  log_.Resume();
  log_.WriteLog(kAnyError, L"after");
  // The installer's 9 bytes get a zero byte, so that "after" starts on a character boundary.
  EXPECT_EQ(Bytes(), ToUtf16LeBytes(L"before\r\n") + "MSI line\n" + std::string(1, '\0') + ToUtf16LeBytes(L"after"));
}

// Appending to a file of odd length must not shift every later character by one byte.
TEST_F(SetupLogTest, AppendingToAFileOfOddLengthStartsOnACharacterBoundary) {
  files_.WriteFile(L"setup.log", ToUtf16LeBytes(L"old") + "x");
  log_.Open(L"setup.log", 0x397, kLogAttributeAppend);
  log_.WriteLog(kAnyError, L"new\r\n");
  EXPECT_EQ(Bytes(), ToUtf16LeBytes(L"old") + std::string("x\0", 2) + ToUtf16LeBytes(L"new\r\n"));
  EXPECT_EQ(FromUtf16LeBytes(Bytes()), L"oldxnew\r\n");

  files_.WriteFile(L"even.log", ToUtf16LeBytes(L"old"));  // an even file gains nothing
  SetupLog even(files_, installer_);
  even.Open(L"even.log", 0x397, kLogAttributeAppend);
  even.WriteLog(kAnyError, L"new");
  EXPECT_EQ(files_.ReadFile(L"even.log"), ToUtf16LeBytes(L"oldnew"));
}

TEST_F(SetupLogTest, LoneSurrogatesAreWrittenAsReplacementCharacters) {
  log_.Open(L"setup.log", 0x397, 0);
  std::wstring name = L"Quibrix ";
  name += static_cast<wchar_t>(0xD800);  // a high surrogate without its low half
  name += L" 2024 ";
  name += static_cast<wchar_t>(0xDC01);  // a low surrogate alone
  log_.WriteLog(log_lines::kPackageInitialized, name);
  const std::string bytes = Bytes();
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  EXPECT_EQ(units, u"TSL (c): Initialized state for package Quibrix \uFFFD 2024 \uFFFD.\r\n");
}

TEST_F(SetupLogTest, LongEntriesAreCutAt2047Units) {
  log_.Open(L"setup.log", 0x397, 0);
  log_.WriteLog(kAnyError, std::wstring(3000, L'x'));
  EXPECT_EQ(Bytes().size(), 2047u * 2);
}

}  // namespace
}  // namespace setup
