#include "cabinet_writer.h"

#include <gtest/gtest.h>
#include <mspack.h>

#include <random>

#include "pack_error.h"
#include "test_files.h"

namespace setup::pack {
namespace {

using testing::MixedData;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct CabinetReader {
  mscab_decompressor* decompressor = mspack_create_cab_decompressor(nullptr);
  mscabd_cabinet* cabinet = nullptr;
  ~CabinetReader() {
    if (cabinet != nullptr) decompressor->close(decompressor, cabinet);
    mspack_destroy_cab_decompressor(decompressor);
  }
};

std::filesystem::path WriteTestCabinet(const TempFolder& folder, const std::vector<CabinetEntry>& entries,
                                       unsigned threads = 2, const std::string& name = "test.cab") {
  auto path = folder / name;
  OutputFile output(path);
  std::uint32_t size = WriteCabinet(output, entries, threads);
  output.Close();
  EXPECT_EQ(size, std::filesystem::file_size(path));
  return path;
}

TEST(CabinetWriter, FilesSpanningBlocksExpandUnchangedWithNamesAndSizes) {
  TempFolder folder;
  // A compressible-and-random file over several blocks, an empty file, and a file that starts
  // inside a block, stored with a subfolder name.
  std::vector<std::vector<std::uint8_t>> contents = {MixedData(100000, 1), {}, MixedData(40000, 2)};
  std::vector<CabinetEntry> entries = {{folder / "a.msi", "package.msi"},
                                       {folder / "empty.txt", "empty.txt"},
                                       {folder / "b.bin", "sub\\b.bin"}};
  for (std::size_t i = 0; i < entries.size(); ++i) WriteFile(entries[i].source, contents[i]);
  auto cab = WriteTestCabinet(folder, entries);

  CabinetReader reader;
  reader.cabinet = reader.decompressor->open(reader.decompressor, cab.c_str());
  ASSERT_NE(reader.cabinet, nullptr) << "libmspack error " << reader.decompressor->last_error(reader.decompressor);
  ASSERT_EQ(reader.cabinet->folders->comp_type & 0x0F, MSCAB_COMP_MSZIP);
  EXPECT_EQ(reader.cabinet->folders->num_blocks, (140000 + 32767) / 32768);
  std::size_t index = 0;
  for (mscabd_file* file = reader.cabinet->files; file != nullptr; file = file->next, ++index) {
    ASSERT_LT(index, entries.size());
    EXPECT_EQ(file->filename, entries[index].stored_name);
    EXPECT_EQ(file->length, contents[index].size());
    auto out = folder / ("out" + std::to_string(index));
    ASSERT_EQ(reader.decompressor->extract(reader.decompressor, file, out.c_str()), MSPACK_ERR_OK) << file->filename;
    EXPECT_EQ(ReadFile(out), contents[index]) << file->filename;
  }
  EXPECT_EQ(index, entries.size());
}

// Expands every file of the cabinet with libmspack and compares it with its source.
void ExpectExpandsToTheSources(const TempFolder& folder, const std::filesystem::path& cab,
                               const std::vector<CabinetEntry>& entries, std::uint64_t expected_blocks) {
  CabinetReader reader;
  reader.cabinet = reader.decompressor->open(reader.decompressor, cab.c_str());
  ASSERT_NE(reader.cabinet, nullptr) << "libmspack error " << reader.decompressor->last_error(reader.decompressor);
  EXPECT_EQ(reader.cabinet->folders->num_blocks, expected_blocks);
  std::size_t index = 0;
  for (mscabd_file* file = reader.cabinet->files; file != nullptr; file = file->next, ++index) {
    ASSERT_LT(index, entries.size());
    auto out = folder / ("expanded" + std::to_string(index));
    ASSERT_EQ(reader.decompressor->extract(reader.decompressor, file, out.c_str()), MSPACK_ERR_OK) << file->filename;
    EXPECT_EQ(ReadFile(out), ReadFile(entries[index].source)) << file->filename;
  }
  EXPECT_EQ(index, entries.size());
}

TEST(CabinetWriter, TheSameBytesForEveryThreadCount) {
  TempFolder folder;
  // Many blocks and a short last one, a file that ends exactly on a block boundary and an empty
  // file between them, then blocks that are stored.
  WriteFile(folder / "large.msi", MixedData(77 * 32768 + 1234, 5));
  WriteFile(folder / "empty.txt", std::vector<std::uint8_t>{});
  WriteFile(folder / "exact.bin", MixedData(3 * 32768 - 1234, 6));
  std::vector<std::uint8_t> random(6 * 32768);  // stored blocks
  std::mt19937 generator(10);
  for (auto& byte : random) byte = static_cast<std::uint8_t>(generator());
  WriteFile(folder / "random.bin", random);
  std::vector<CabinetEntry> entries = {{folder / "large.msi", "large.msi"},
                                       {folder / "empty.txt", "empty.txt"},
                                       {folder / "exact.bin", "exact.bin"},
                                       {folder / "random.bin", "random.bin"}};
  auto single = ReadFile(WriteTestCabinet(folder, entries, 1, "single.cab"));
  for (unsigned threads : {2u, 3u, 16u}) {
    EXPECT_EQ(ReadFile(WriteTestCabinet(folder, entries, threads)), single) << threads << " threads";
  }
  ExpectExpandsToTheSources(folder, folder / "test.cab", entries, 86);
}

TEST(CabinetWriter, BlockMultiplesAndEmptyFilesNeedNoExtraBlock) {
  TempFolder folder;
  WriteFile(folder / "exact.msi", MixedData(4 * 32768, 7));
  WriteFile(folder / "empty.msi", std::vector<std::uint8_t>{});
  std::vector<CabinetEntry> exact = {{folder / "exact.msi", "exact.msi"}};
  ExpectExpandsToTheSources(folder, WriteTestCabinet(folder, exact), exact, 4);
  std::vector<CabinetEntry> empty = {{folder / "empty.msi", "empty.msi"}};
  ExpectExpandsToTheSources(folder, WriteTestCabinet(folder, empty, 2, "empty.cab"), empty, 0);
}

TEST(CabinetWriter, BlockChecksumsAreVerifiedByTheReader) {
  TempFolder folder;
  WriteFile(folder / "a.msi", MixedData(50000, 3));
  auto cab = WriteTestCabinet(folder, {{folder / "a.msi", "a.msi"}});
  auto bytes = ReadFile(cab);
  // The first data block follows the header (36), folder (8) and file entry (16 + "a.msi\0").
  const std::size_t first_block = 36 + 8 + 16 + 6;
  bytes[first_block] ^= 0x01;  // damage the stored checksum only
  WriteFile(cab, bytes);

  CabinetReader reader;
  reader.cabinet = reader.decompressor->open(reader.decompressor, cab.c_str());
  ASSERT_NE(reader.cabinet, nullptr);
  auto out = folder / "out";
  EXPECT_EQ(reader.decompressor->extract(reader.decompressor, reader.cabinet->files, out.c_str()), MSPACK_ERR_CHECKSUM);
}

TEST(CabinetWriter, ChecksumFoldsTheTailBytesAsTheFormatDefines) {
  const std::uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
  // 0x04030201 ^ (0x05 << 16 | 0x06 << 8 | 0x07)
  EXPECT_EQ(CabinetChecksum(data, sizeof data, 0), 0x04030201u ^ 0x00050607u);
  EXPECT_EQ(CabinetChecksum(data, 4, 0xFFFFFFFFu), ~0x04030201u);
}

TEST(CabinetWriter, CabextractAcceptsTheCabinet) {
  if (std::system("cabextract --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "cabextract is not installed";
  TempFolder folder;
  WriteFile(folder / "a.msi", MixedData(70000, 4));
  WriteFile(folder / "b.msi", MixedData(40 * 32768, 8));
  WriteFile(folder / "empty.msi", std::vector<std::uint8_t>{});
  std::vector<std::uint8_t> random(5 * 32768 + 100);
  std::mt19937 generator(9);
  for (auto& byte : random) byte = static_cast<std::uint8_t>(generator());
  WriteFile(folder / "random.cab", random);  // stored blocks
  auto cab = WriteTestCabinet(folder, {{folder / "a.msi", "a.msi"}, {folder / "b.msi", "b.msi"}, {folder / "empty.msi", "empty.msi"},
                                       {folder / "random.cab", "random.cab"}}, 3);
  std::string command = "cabextract -q -d '" + (folder / "x").string() + "' '" + cab.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFile(folder / "x" / "a.msi"), MixedData(70000, 4));
  EXPECT_EQ(ReadFile(folder / "x" / "b.msi"), MixedData(40 * 32768, 8));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "x" / "empty.msi"));
  EXPECT_EQ(std::filesystem::file_size(folder / "x" / "empty.msi"), 0u);
  EXPECT_EQ(ReadFile(folder / "x" / "random.cab"), random);
}

TEST(CabinetWriter, MissingInputIsReported) {
  TempFolder folder;
  OutputFile output(folder / "x.cab");
  EXPECT_THROW(WriteCabinet(output, {{folder / "missing.msi", "missing.msi"}}), PackError);
}

}  // namespace
}  // namespace setup::pack
