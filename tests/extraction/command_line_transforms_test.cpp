// Merging the TRANSFORMS= list into an unpacked database: what is merged and committed, which
// added files are copied beside the database, and the log lines of each outcome.
#include "extraction/command_line_transforms.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/text.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

using platform::host::HostDatabaseFile;
using platform::host::HostField;
using platform::host::HostTransformFile;

constexpr wchar_t kLog[] = L"C:\\Work\\setup.log";
constexpr wchar_t kCurrentFolder[] = L"C:\\Work";
constexpr wchar_t kPackageFolder[] = L"C:\\ProgramData\\Tarquel\\{6F1C2B4D-0000-4000-8000-000000000001}";
constexpr wchar_t kPackage[] = L"C:\\ProgramData\\Tarquel\\{6F1C2B4D-0000-4000-8000-000000000001}\\Quibrix.msi";

// File attribute bits.
constexpr std::int32_t kNonCompressed = 0x2000;
constexpr std::int32_t kCompressed = 0x4000;

class CommandLineTransformsTest : public ::testing::Test {
 protected:
  CommandLineTransformsTest() {
    log_.Open(kLog, 0x397, 0);  // information level: the success line is written too
    std::filesystem::create_directories(Files().HostPath(kPackageFolder));
    HostDatabaseFile package = HostDatabaseFile::Package();
    package.AddRow(L"Property", {std::wstring(L"ProductLanguage"), std::wstring(L"1033")})
        .AddRow(L"File", {std::wstring(L"ApplicationFile"), std::wstring(L"Application"), std::wstring(L"Quibrix.exe"),
                          45, {}, {}, 512, 1})
        .AddRow(L"Media", {1, 3, {}, std::wstring(L"#product.cab")})
        .AddRow(L"Media", {2, 10, {}, std::wstring(L"disk2.cab")})
        .AddRow(L"Media", {3, 20, {}, std::wstring(L"disk3.cab")});
    WriteDatabase(package);
  }

  platform::host::HostFileSystem& Files() { return host_.Files(); }

  void WriteDatabase(const HostDatabaseFile& database) {
    ASSERT_TRUE(Files().WriteFile(kPackage, database.Serialize()));
  }
  void WriteTransform(std::wstring_view name, const HostTransformFile& transform) {
    ASSERT_TRUE(Files().WriteFile(std::wstring(kCurrentFolder) + L"\\" + std::wstring(name), transform.Serialize()));
  }
  void WriteSource(std::wstring_view name, std::string_view bytes) {
    ASSERT_TRUE(Files().WriteFile(std::wstring(kCurrentFolder) + L"\\" + std::wstring(name), std::string(bytes)));
  }
  std::optional<std::string> PackageFolderFile(std::wstring_view name) {
    return Files().ReadFile(std::wstring(kPackageFolder) + L"\\" + std::wstring(name));
  }

  // A transform that changes one property and adds another.
  static HostTransformFile PropertyTransform(std::wstring_view language) {
    return HostTransformFile()
        .Update(L"Property", std::wstring(L"ProductLanguage"), L"Value", std::wstring(language))
        .Insert(L"Property", {std::wstring(L"ADMIN_NOTE_") + std::wstring(language), std::wstring(L"set")});
  }
  // A transform that adds a File row with the given attributes and sequence.
  static HostTransformFile FileTransform(std::wstring_view key, std::wstring_view name, std::int32_t attributes,
                                         std::int32_t sequence = 2) {
    return HostTransformFile().Insert(L"File", {std::wstring(key), std::wstring(L"Application"), std::wstring(name), 12,
                                                {}, {}, attributes, sequence});
  }

  void Merge(std::wstring_view transforms) {
    ApplyCommandLineTransforms(host_, log_, kPackage, transforms, kCurrentFolder);
  }

  // The database as committed to its file.
  HostDatabaseFile Stored() {
    const auto bytes = Files().ReadFile(kPackage);
    auto database = bytes ? HostDatabaseFile::Parse(*bytes) : std::nullopt;
    return database.value_or(HostDatabaseFile());
  }
  std::wstring StoredProperty(std::wstring_view name) {
    HostDatabaseFile database = Stored();
    const auto* row = database.Table(L"Property") ? database.Table(L"Property")->FindRow(std::wstring(name)) : nullptr;
    return row ? platform::host::FieldText((*row)[1]) : L"<none>";
  }
  bool StoredFile(std::wstring_view key) {
    HostDatabaseFile database = Stored();
    return database.Table(L"File") && database.Table(L"File")->FindRow(std::wstring(key));
  }

  std::wstring LogText() { return FromUtf16LeBytes(Files().ReadFile(kLog).value_or("")); }
  static std::wstring Applying(std::wstring_view value) {
    return L"TSL (c): Applying transformations: " + std::wstring(value) + L"\r\n";
  }

  static constexpr wchar_t kSuccess[] = L"TSL (c): Transformations successfully applied\r\n";
  static constexpr wchar_t kFailure[] = L"TSL (c): Transformations failed\r\n";

  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
  SetupLog log_{*host_.files, *host_.installer};
};

TEST_F(CommandLineTransformsTest, PropertyTransformsMergeInOrderAndCommitWithoutCopyingFiles) {
  WriteTransform(L"german.mst", PropertyTransform(L"1031"));
  WriteTransform(L"french.mst", PropertyTransform(L"1036"));
  // "@" and "|" only mark a file; empty entries (a doubled or trailing ";") are passed over.
  Merge(L"@german.mst;;|C:\\Work\\french.mst;");

  EXPECT_EQ(StoredProperty(L"ProductLanguage"), L"1036");
  EXPECT_EQ(StoredProperty(L"ADMIN_NOTE_1031"), L"set");
  EXPECT_EQ(StoredProperty(L"ADMIN_NOTE_1036"), L"set");
  EXPECT_EQ(LogText(), Applying(L"@german.mst;;|C:\\Work\\french.mst;") + kSuccess);
  EXPECT_EQ(Files().List(kPackageFolder, L"*").size(), 1u);
  EXPECT_EQ(host_.Databases().OpenHandles(), 0u);
}

TEST_F(CommandLineTransformsTest, AFailingEntryStopsTheMergeAndKeepsWhatWasMergedBefore) {
  WriteTransform(L"german.mst", PropertyTransform(L"1031"));
  WriteTransform(L"french.mst", PropertyTransform(L"1036"));
  struct Case {
    const wchar_t* transforms;
    const wchar_t* language;  // ProductLanguage as committed
  } cases[] = {
      {L"german.mst;missing.mst;french.mst", L"1031"},
      {L"german.mst;:Embedded;french.mst", L"1031"},
      // A transform stored inside the package cannot be merged: nothing is.
      {L":Embedded;german.mst", L"1033"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.transforms);
    HostDatabaseFile package = HostDatabaseFile::Package();
    package.AddRow(L"Property", {std::wstring(L"ProductLanguage"), std::wstring(L"1033")});
    WriteDatabase(package);
    const std::size_t logged = LogText().size();

    Merge(c.transforms);
    EXPECT_EQ(StoredProperty(L"ProductLanguage"), c.language);
    EXPECT_EQ(StoredProperty(L"ADMIN_NOTE_1036"), L"<none>");
    EXPECT_EQ(LogText().substr(logged), Applying(c.transforms) + kFailure);
  }
}

TEST_F(CommandLineTransformsTest, AddedUncompressedFileIsCopiedFromTheCurrentFolder) {
  WriteTransform(L"extra.mst", FileTransform(L"ExtraFile", L"extra.txt", kNonCompressed));
  WriteSource(L"extra.txt", "extra content");
  Merge(L"extra.mst");

  EXPECT_TRUE(StoredFile(L"ExtraFile"));
  EXPECT_EQ(PackageFolderFile(L"extra.txt"), std::optional<std::string>("extra content"));
  EXPECT_EQ(LogText(), Applying(L"extra.mst") + kSuccess);
}

TEST_F(CommandLineTransformsTest, AnAddedFileThatCannotBeCopiedFailsTheMergeButTheDatabaseIsChanged) {
  WriteTransform(L"extra.mst", FileTransform(L"ExtraFile", L"extra.txt", kNonCompressed));
  WriteTransform(L"plain.mst", FileTransform(L"PlainFile", L"plain.txt", 0));
  WriteTransform(L"lost.mst", FileTransform(L"LostFile", L"lost.txt", kNonCompressed));
  WriteSource(L"extra.txt", "new content");
  WriteSource(L"plain.txt", "plain");
  // The package folder already holds extra.txt (an earlier run left it): never overwritten.
  ASSERT_TRUE(Files().WriteFile(std::wstring(kPackageFolder) + L"\\extra.txt", "earlier content"));
  Merge(L"extra.mst;plain.mst;lost.mst");

  EXPECT_EQ(PackageFolderFile(L"extra.txt"), std::optional<std::string>("earlier content"));
  // A file neither compressed nor uncompressed is not copied; one missing from the current
  // folder cannot be.
  EXPECT_FALSE(PackageFolderFile(L"plain.txt").has_value());
  EXPECT_FALSE(PackageFolderFile(L"lost.txt").has_value());
  EXPECT_TRUE(StoredFile(L"ExtraFile"));
  EXPECT_TRUE(StoredFile(L"PlainFile"));
  EXPECT_TRUE(StoredFile(L"LostFile"));
  EXPECT_EQ(LogText(), Applying(L"extra.mst;plain.mst;lost.mst") + kFailure);
}

TEST_F(CommandLineTransformsTest, AddedCompressedFilesBringTheCabinetOfTheirSequence) {
  // Media: disk 1 (up to sequence 3) is inside the package, disk 2 up to 10, disk 3 up to 20.
  WriteTransform(L"two.mst", FileTransform(L"Second", L"second.txt", kCompressed, 4)
                                 .Insert(L"File", {std::wstring(L"Third"), std::wstring(L"Application"),
                                                   std::wstring(L"third.txt"), 1, {}, {}, kCompressed, 10}));
  WriteTransform(L"inside.mst", FileTransform(L"Inside", L"inside.txt", kCompressed, 3));
  WriteSource(L"disk2.cab", "cabinet two");
  WriteSource(L"disk3.cab", "cabinet three");
  Merge(L"two.mst;inside.mst");

  // Both added files lie in disk2.cab, copied once; the package's own cabinet is no file.
  EXPECT_EQ(PackageFolderFile(L"disk2.cab"), std::optional<std::string>("cabinet two"));
  EXPECT_FALSE(PackageFolderFile(L"disk3.cab").has_value());
  EXPECT_FALSE(PackageFolderFile(L"#product.cab").has_value());
  EXPECT_EQ(LogText(), Applying(L"two.mst;inside.mst") + kSuccess);
}

TEST_F(CommandLineTransformsTest, ACompressedFileBeyondEveryDiskOrWithoutItsCabinetFailsTheMerge) {
  // Sequence 21 lies beyond the last disk; disk 3, holding sequence 15, is not in the folder.
  for (const std::int32_t sequence : {21, 15}) {
    SCOPED_TRACE(sequence);
    const std::size_t logged = LogText().size();
    WriteTransform(L"far.mst", FileTransform(L"Far" + std::to_wstring(sequence), L"far.txt", kCompressed, sequence));
    Merge(L"far.mst");
    EXPECT_EQ(LogText().substr(logged), Applying(L"far.mst") + kFailure);
    EXPECT_TRUE(StoredFile(L"Far" + std::to_wstring(sequence)));
  }
  EXPECT_EQ(Files().List(kPackageFolder, L"*").size(), 1u);
}

TEST_F(CommandLineTransformsTest, AnUnopenableDatabaseGetsNoTransformAndOneLogLine) {
  WriteTransform(L"german.mst", PropertyTransform(L"1031"));
  ASSERT_TRUE(Files().WriteFile(kPackage, "not a database"));
  Merge(L"german.mst");
  EXPECT_EQ(LogText(), std::wstring(L"TSL (c): Cannot open MIS database file ") + kPackage +
                           L". No transformations applied.");
  EXPECT_EQ(Files().ReadFile(kPackage), std::optional<std::string>("not a database"));
}

TEST_F(CommandLineTransformsTest, AnEmptyValueOpensNothingAndAnEmptyListMergesNothing) {
  const std::string before = Files().ReadFile(kPackage).value_or("");
  Merge(L"");
  EXPECT_EQ(LogText(), L"");
  Merge(L";");
  EXPECT_EQ(LogText(), Applying(L";") + kSuccess);
  EXPECT_EQ(Files().ReadFile(kPackage), std::optional<std::string>(before));
}

TEST(TransformList, SplitsAtSemicolonsAndLeavesOutEmptyEntries) {
  EXPECT_EQ(SplitTransformList(L"a.mst;@b.mst;;|c.mst;"), (std::vector<std::wstring>{L"a.mst", L"@b.mst", L"|c.mst"}));
  EXPECT_EQ(SplitTransformList(L";"), std::vector<std::wstring>());
}

}  // namespace
}  // namespace setup
