#include "cabinet_writer.h"

#include <gtest/gtest.h>
#include <mspack.h>

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

std::filesystem::path WriteTestCabinet(const TempFolder& folder, const std::vector<CabinetEntry>& entries) {
  auto path = folder / "test.cab";
  OutputFile output(path);
  std::uint32_t size = WriteCabinet(output, entries);
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
  auto cab = WriteTestCabinet(folder, {{folder / "a.msi", "a.msi"}});
  std::string command = "cabextract -q -d '" + (folder / "x").string() + "' '" + cab.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFile(folder / "x" / "a.msi"), MixedData(70000, 4));
}

TEST(CabinetWriter, MissingInputIsReported) {
  TempFolder folder;
  OutputFile output(folder / "x.cab");
  EXPECT_THROW(WriteCabinet(output, {{folder / "missing.msi", "missing.msi"}}), PackError);
}

}  // namespace
}  // namespace setup::pack
