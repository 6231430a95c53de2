#include "foundation/cabinet_extractor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "foundation/cabinet_entry_name.h"
#include "foundation/cabinet_stream_table.h"
#include "foundation/text.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"
#include "support/test_cabinets.h"

namespace setup {
namespace {

using testing::CabinetFile;

class RecordingSink : public ICBSCabinetProgressCallbacks {
 public:
  void OnPercent(int percent) override { percents.push_back(percent); }
  void OnBytes(unsigned position) override { positions.push_back(position); }
  int GetProgressRange() override { return 0; }
  void OnFileStart(std::wstring_view path) override { files.emplace_back(path); }

  std::vector<int> percents;
  std::vector<unsigned> positions;
  std::vector<std::wstring> files;
};

// Half random, half repeated text: the cabinet spans several compressed blocks.
std::string Pattern(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = (i / 512) % 2 ? static_cast<char>(random()) : "table row "[i % 10];
  return bytes;
}

const std::vector<CabinetFile> kPackageFiles = {
    {"Product.msi", Pattern(150000, 1)}, {"empty.txt", ""}, {"sub\\deeper\\notes.txt", "notes"}};

class CabinetExtractorTest : public ::testing::Test {
 protected:
  std::filesystem::path Work(const std::string& name) {
    auto path = temp_.Path() / "work" / name;
    std::filesystem::create_directories(path);
    return path;
  }
  std::string Host(std::wstring_view path) { return testing::ReadHostFile(host_.Files().HostPath(path)); }
  bool Exists(std::wstring_view path) { return std::filesystem::exists(host_.Files().HostPath(path)); }

  // Extracts the cabinet held in resource "PACKAGE_0" into C:\Dest.
  bool ExtractResource(std::string resource, RecordingSink& sink) {
    host_.Resources().AddPackageResource(L"PACKAGE_0", 1033, std::move(resource));
    ICBSCabinetExtractor extractor(host_, L"Package.cab", L"PACKAGE_0", L"C:\\Dest");
    return extractor.Extract(sink);
  }

  void ExpectNothingIn(std::wstring_view folder) {
    const auto host = host_.Files().HostPath(folder);
    if (!std::filesystem::exists(host)) return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(host)) {
      EXPECT_TRUE(entry.is_directory()) << "left behind: " << entry.path();
    }
  }

  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
};

TEST_F(CabinetExtractorTest, ResourceCabinetExpandsInPlaceWithNamesProgressAndCreationTimes) {
  const std::string cabinet = testing::PackedCabinet(Work("packed"), kPackageFiles);
  RecordingSink sink;
  ASSERT_TRUE(ExtractResource(testing::PackageResource(cabinet, static_cast<std::uint32_t>(cabinet.size())), sink));

  EXPECT_EQ(Host(L"C:\\Dest\\Product.msi"), kPackageFiles[0].content);
  EXPECT_TRUE(Exists(L"C:\\Dest\\empty.txt"));
  EXPECT_EQ(Host(L"C:\\Dest\\empty.txt"), "");
  EXPECT_EQ(Host(L"C:\\Dest\\sub\\deeper\\notes.txt"), "notes");
  EXPECT_EQ(sink.files, (std::vector<std::wstring>{L"C:\\Dest\\Product.msi", L"C:\\Dest\\empty.txt",
                                                   L"C:\\Dest\\sub\\deeper\\notes.txt"}));

  // Positions stay within the cabinet and end at its length; percents follow them up to 100.
  ASSERT_FALSE(sink.positions.empty());
  EXPECT_LE(*std::max_element(sink.positions.begin(), sink.positions.end()), cabinet.size());
  EXPECT_EQ(sink.positions.back(), cabinet.size());
  EXPECT_EQ(sink.percents.back(), 100);
  ASSERT_EQ(sink.percents.size(), sink.positions.size());
  for (std::size_t i = 0; i < sink.positions.size(); ++i) {
    EXPECT_EQ(sink.percents[i], static_cast<int>(sink.positions[i] * 100.0 / cabinet.size()));
  }

  for (const auto& stamp : testing::CabinetEntryStamps(cabinet)) {
    const auto created = host_.Files().CreationDosTime(L"C:\\Dest\\" + FromUtf8(stamp.name));
    ASSERT_TRUE(created) << stamp.name;
    EXPECT_EQ(*created, std::make_pair(stamp.date, stamp.time)) << stamp.name;
  }
}

TEST_F(CabinetExtractorTest, CabinetFileOfGcabExpandsWithSubfoldersAndEmptyFiles) {
  const std::string cabinet = testing::GcabCabinet(Work("gcab"), kPackageFiles);
  ASSERT_FALSE(cabinet.empty()) << "gcab failed";
  testing::WriteHostFile(host_.Files().HostPath(L"C:\\Cabinets\\workload.cab"), cabinet);
  RecordingSink sink;
  ICBSCabinetExtractor extractor(host_, L"C:\\Cabinets\\workload.cab", L"C:\\Dest");
  ASSERT_TRUE(extractor.Extract(sink));
  EXPECT_EQ(Host(L"C:\\Dest\\Product.msi"), kPackageFiles[0].content);
  EXPECT_TRUE(Exists(L"C:\\Dest\\empty.txt"));
  EXPECT_EQ(Host(L"C:\\Dest\\sub\\deeper\\notes.txt"), "notes");
  EXPECT_EQ(sink.files.size(), 3u);
  EXPECT_FALSE(ICBSCabinetExtractor::DiskFull());
}

TEST_F(CabinetExtractorTest, TheLengthPrefixBoundsEveryReadOfTheResource) {
  const std::string cabinet = testing::PackedCabinet(Work("packed"), {{"a.msi", Pattern(5000, 2)}});
  // Bytes after the announced length are never read: the cabinet still expands.
  RecordingSink sink;
  ASSERT_TRUE(ExtractResource(testing::PackageResource(cabinet + "trailing bytes", cabinet.size()), sink));
  EXPECT_EQ(Host(L"C:\\Dest\\a.msi"), Pattern(5000, 2));
  EXPECT_EQ(sink.positions.back(), cabinet.size());

  // A memory stream ends at the announced length: a seek to the end and a read give nothing,
  // and a prefix announcing more than the resource holds is cut to the resource.
  for (const std::uint32_t announced : {static_cast<std::uint32_t>(cabinet.size()), 0xFFFFFFF0u}) {
    host_.Resources().AddPackageResource(L"PACKAGE_1", 1033, testing::PackageResource(cabinet, announced));
    ICBSCabinetExtractor extractor(host_, L"Package.cab", L"PACKAGE_1", L"C:\\Dest");
    const auto& callbacks = CabinetExtractorFileCallbacks();
    char name[] = "ignored";
    const std::intptr_t stream = callbacks.open(name, platform::kCabinetOpenReadOnly, 0);
    ASSERT_GE(stream, 0);
    EXPECT_EQ(callbacks.seek(stream, 0, platform::kCabinetSeekEnd), static_cast<long>(cabinet.size()));
    char buffer[16];
    EXPECT_EQ(callbacks.read(stream, buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(callbacks.seek(stream, 100, platform::kCabinetSeekEnd), static_cast<long>(cabinet.size() + 100));
    EXPECT_EQ(callbacks.read(stream, buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(callbacks.seek(stream, 4, platform::kCabinetSeekSet), 4);
    ASSERT_EQ(callbacks.read(stream, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), cabinet.substr(4, 4));
    EXPECT_EQ(callbacks.close(stream), 0);
  }
}

TEST_F(CabinetExtractorTest, DamagedCabinetsFailAndLeaveNoFileBehind) {
  const std::string cabinet = testing::PackedCabinet(Work("packed"), kPackageFiles);
  const std::string corrupt = testing::WithBrokenDataBlock(cabinet, 2);
  const std::string truncated = cabinet.substr(0, cabinet.size() - 5000);
  ASSERT_GT(cabinet.size(), 50000u);
  for (const std::string& damaged : {truncated, corrupt, std::string("MSCF and nothing else")}) {
    RecordingSink sink;
    EXPECT_FALSE(ExtractResource(testing::PackageResource(damaged, damaged.size()), sink)) << damaged.size();
    EXPECT_FALSE(ICBSCabinetExtractor::DiskFull());
    // The cut-short package is gone, though the decompression reported it closed.
    ExpectNothingIn(L"C:\\Dest");
  }
}

TEST_F(CabinetExtractorTest, EntryNamesLeavingTheDestinationFailTheCabinetAndWriteNothing) {
  for (const std::string name : {"..\\x", "sub\\..\\..\\x", "\\rooted.txt", "C:\\drive.txt", "\\\\server\\share\\x",
                                 "nul", "sub\\COM1.txt", "..", "sub\\.. \\x"}) {
    const std::string cabinet =
        testing::PackedCabinet(Work("escape"), {{"first.msi", "first"}, {name, "escaped"}, {"last.txt", "last"}});
    RecordingSink sink;
    EXPECT_FALSE(ExtractResource(testing::PackageResource(cabinet, cabinet.size()), sink)) << name;
    EXPECT_FALSE(ICBSCabinetExtractor::DiskFull()) << name;
    ExpectNothingIn(L"C:\\Dest");
    EXPECT_FALSE(Exists(L"C:\\x")) << name;
    EXPECT_FALSE(Exists(L"C:\\rooted.txt")) << name;
  }
}

TEST(CabinetEntryName, RelativeNamesOfPlainComponentsAreContained) {
  for (const char* name : {"a.msi", "sub\\b.txt", "sub/b.txt", "a..b", ".hidden", "console.txt", "COM10", "LPT0.txt"}) {
    EXPECT_TRUE(IsContainedCabinetEntryName(name)) << name;
  }
  for (const char* name : {"", "..", ".", "...", " ", "a\\..", "..\\a", "a\\\\b", "a\\", "\\a", "/a", "C:a", "a:stream",
                           "CON", "aux.txt", "Lpt9", "prn .log", "conout$"}) {
    EXPECT_FALSE(IsContainedCabinetEntryName(name)) << name;
  }
}

TEST_F(CabinetExtractorTest, AFullDiskSetsTheDiskFullFlagAndAReadOnlyFolderDoesNot) {
  const std::string cabinet = testing::PackedCabinet(Work("packed"), kPackageFiles);
  const std::string resource = testing::PackageResource(cabinet, cabinet.size());
  host_.Files().freeSpace = 100000;
  RecordingSink full;
  EXPECT_FALSE(ExtractResource(resource, full));
  EXPECT_TRUE(ICBSCabinetExtractor::DiskFull());
  ExpectNothingIn(L"C:\\Dest");

  host_.Files().freeSpace.reset();
  std::filesystem::create_directories(host_.Files().HostPath(L"C:\\Dest"));
  std::filesystem::permissions(host_.Files().HostPath(L"C:\\Dest"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  RecordingSink readOnly;
  EXPECT_FALSE(ExtractResource(resource, readOnly));
  EXPECT_FALSE(ICBSCabinetExtractor::DiskFull());
}

TEST_F(CabinetExtractorTest, AMissingResourceOpensNoFileOfTheDisplayName) {
  const std::string cabinet = testing::PackedCabinet(Work("packed"), {{"a.msi", "a"}});
  testing::WriteHostFile(host_.Files().HostPath(host_.Files().currentFolder + L"\\Package.cab"), cabinet);
  RecordingSink sink;
  ICBSCabinetExtractor extractor(host_, L"Package.cab", L"PACKAGE_9", L"C:\\Dest");
  EXPECT_FALSE(extractor.Extract(sink));
  EXPECT_FALSE(Exists(L"C:\\Dest\\a.msi"));
}

TEST(CabinetStreamTable, TwoHundredStreamsAtMostEachTakingTheLowestFreeNumber) {
  CabinetStreamTable table;
  for (int i = 0; i < CabinetStreamTable::kCapacity; ++i) {
    ASSERT_EQ(table.Insert(std::make_unique<CabinetStream>()), i);
  }
  EXPECT_EQ(table.Insert(std::make_unique<CabinetStream>()), -1);  // the 201st
  ASSERT_NE(table.Remove(7), nullptr);
  ASSERT_NE(table.Remove(3), nullptr);
  EXPECT_EQ(table.Remove(3), nullptr);
  EXPECT_EQ(table.Insert(std::make_unique<CabinetStream>()), 3);
  EXPECT_EQ(table.Insert(std::make_unique<CabinetStream>()), 7);
  EXPECT_EQ(table.Insert(std::make_unique<CabinetStream>()), -1);
  EXPECT_EQ(table.Size(), 200u);
}

}  // namespace
}  // namespace setup
