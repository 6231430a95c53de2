#include "pe_resource_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "pack_error.h"
#include "setup_description.h"
#include "setup_pack.h"
#include "test_files.h"

namespace setup::pack {
namespace {

using testing::ReadFile;
using testing::TempFolder;

std::filesystem::path Template(const std::string& name) {
  return std::filesystem::path(SETUPPACK_TEST_TEMPLATES) / ("template_" + name + ".exe");
}

const Bytes* Find(const ResourceTree& tree, const ResourceId& type, const ResourceId& name, std::uint16_t language) {
  auto t = tree.find(type);
  if (t == tree.end()) return nullptr;
  auto n = t->second.find(name);
  if (n == t->second.end()) return nullptr;
  auto l = n->second.find(language);
  return l == n->second.end() ? nullptr : std::get_if<Bytes>(&l->second.content);
}


SetupPlan SamplePlan(std::size_t streamed_size) {
  SetupPlan plan;
  plan.resources.push_back({ResourceId::FromUtf8("PACKAGE_COUNT"), 1033, {EncodeResourceText("1"), 0}, {}});
  plan.resources.push_back({ResourceId::FromUtf8("OS"), 1033, {EncodeResourceText("6.1.1"), 0}, {}});
  plan.resources.push_back({ResourceId::FromUtf8("PACKAGE_0_1031"), 1031, {Bytes{1, 2, 3}, 0}, {}});
  ResourceStreamer streamer = [streamed_size](OutputFile& output) {
    output.Write(testing::MixedData(streamed_size, 9));
    return static_cast<std::uint32_t>(streamed_size);
  };
  plan.resources.push_back({ResourceId::FromUtf8("PACKAGE_0"), 1033, {streamer, 0}, {}});
  return plan;
}

std::uint32_t ChecksumOf(const Bytes& file, const PeImage& image) {
  PeChecksum checksum(image.ChecksumOffset());
  checksum.Add(file.data(), file.size());
  return checksum.Finish();
}

TEST(PeChecksum, FoldsCarriesSkipsItsOwnFieldAndAddsTheLength) {
  // Three words of 0x8000 carry once; the field at 6..9 does not count; the odd last byte does.
  const Bytes carries = {0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x78, 0x56, 0x34, 0x12, 0x01};
  PeChecksum whole(6);
  whole.Add(carries.data(), carries.size());
  EXPECT_EQ(whole.Finish(), 0x8002u + 11);
  PeChecksum chunked(6);  // the field spans two chunks
  for (auto [at, size] : {std::pair{0, 2}, {2, 6}, {8, 3}}) chunked.Add(carries.data() + at, size);
  EXPECT_EQ(chunked.Finish(), 0x8002u + 11);

  const Bytes ones(64, 0xFF);  // every carry folds back to 0xFFFF
  PeChecksum all(8);
  all.Add(ones.data(), ones.size());
  EXPECT_EQ(all.Finish(), 0xFFFFu + 64);
}

class PeResourceWriter : public ::testing::TestWithParam<std::string> {};

TEST_P(PeResourceWriter, KeepsTemplateResourcesAndAddsPackageResources) {
  TempFolder folder;
  const PeImage original(ReadFile(Template(GetParam())), GetParam());
  EXPECT_EQ(original.IsPe32Plus(), GetParam().starts_with("pe32plus"));
  const ResourceTree before = original.Resources();
  ASSERT_NE(Find(before, ResourceId(6), ResourceId(1), 1033), nullptr) << "template lacks its string table";

  ResourceTree tree = before;
  MergeResources(tree, SamplePlan(300000));
  auto out = folder / "Setup.exe";
  {
    OutputFile output(out);
    WritePeWithResources(original, tree, output);
    output.Close();
  }
  const Bytes written = ReadFile(out);
  const PeImage packed(written, out.string());
  const ResourceTree after = packed.Resources();

  // Every template resource is still there with its bytes, except the replaced "OS".
  for (const auto& [type, names] : before) {
    for (const auto& [name, languages] : names) {
      for (const auto& [language, leaf] : languages) {
        if (type == ResourceId(40) && name == ResourceId::FromUtf8("OS")) continue;
        const Bytes* kept = Find(after, type, name, language);
        ASSERT_NE(kept, nullptr) << type.ToString() << "/" << name.ToString() << "/" << language;
        EXPECT_EQ(*kept, std::get<Bytes>(leaf.content)) << type.ToString() << "/" << name.ToString();
      }
    }
  }
  ASSERT_TRUE(before.count(ResourceId::FromUtf8("40"))) << "the template lacks its resource of the named type \"40\"";
  EXPECT_EQ(*Find(after, ResourceId(40), ResourceId::FromUtf8("OS"), 1033), EncodeResourceText("6.1.1"));
  EXPECT_EQ(*Find(after, ResourceId(40), ResourceId::FromUtf8("package_count"), 1033), EncodeResourceText("1"));
  EXPECT_EQ(*Find(after, ResourceId(40), ResourceId::FromUtf8("PACKAGE_0_1031"), 1031), (Bytes{1, 2, 3}));
  EXPECT_EQ(Find(after, ResourceId(40), ResourceId::FromUtf8("PACKAGE_0_1031"), 1033), nullptr);
  EXPECT_EQ(*Find(after, ResourceId(40), ResourceId::FromUtf8("PACKAGE_0"), 1033), testing::MixedData(300000, 9));

  // Headers agree with the new layout.
  std::uint32_t image_end = 0;
  for (const PeSection& section : packed.Sections()) {
    image_end = std::max(image_end, AlignUp(section.virtual_address + std::max(section.virtual_size, section.raw_size),
                                            packed.SectionAlignment()));
  }
  EXPECT_EQ(ReadU32(written.data() + packed.SizeOfImageOffset()), image_end);
  EXPECT_EQ(ReadU32(written.data() + packed.ChecksumOffset()), ChecksumOf(written, packed));
  const bool appended = GetParam().ends_with("appended");
  EXPECT_EQ(packed.Sections().size(), original.Sections().size() + (appended ? 1 : 0));

  // The unstripped template's symbol table moved behind the new section and still reads the same.
  const std::uint32_t old_symbols = ReadU32(original.File().data() + original.NtOffset() + 12);
  const std::uint32_t new_symbols = ReadU32(written.data() + packed.NtOffset() + 12);
  if (old_symbols != 0) {
    const std::size_t table_size = original.File().size() - old_symbols;
    ASSERT_EQ(written.size() - new_symbols, table_size);
    EXPECT_TRUE(std::equal(written.begin() + new_symbols, written.end(), original.File().begin() + old_symbols));
  }
}

TEST_P(PeResourceWriter, RepackingAPackedSetupReplacesByNameAndLanguage) {
  TempFolder folder;
  auto first = folder / "first.exe";
  auto second = folder / "second.exe";
  const PeImage original(ReadFile(Template(GetParam())), GetParam());
  for (const auto& [source, target, count] : {std::tuple{&original, first, "1"}, std::tuple{&original, second, "2"}}) {
    (void)source;
    const PeImage input = target == first ? original : PeImage(ReadFile(first), first.string());
    ResourceTree tree = input.Resources();
    SetupPlan plan = SamplePlan(1000);
    plan.resources[0].leaf.content = EncodeResourceText(count);
    MergeResources(tree, plan);
    OutputFile output(target);
    WritePeWithResources(input, tree, output);
    output.Close();
  }
  const PeImage twice(ReadFile(second), second.string());
  EXPECT_EQ(twice.Sections().size(), PeImage(ReadFile(first), first.string()).Sections().size())
      << "the second pack must rewrite the last resource section in place";
  const ResourceTree after = twice.Resources();
  EXPECT_EQ(*Find(after, ResourceId(40), ResourceId::FromUtf8("PACKAGE_COUNT"), 1033), EncodeResourceText("2"));
  EXPECT_EQ(after.at(ResourceId(40)).at(ResourceId::FromUtf8("PACKAGE_COUNT")).size(), 1u);
}

TEST_P(PeResourceWriter, WrestoolReadsThePackedResources) {
  if (std::system("wrestool --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "wrestool (icoutils) is not installed";
  TempFolder folder;
  const PeImage original(ReadFile(Template(GetParam())), GetParam());
  ResourceTree tree = original.Resources();
  MergeResources(tree, SamplePlan(70000));
  auto out = folder / "Setup.exe";
  {
    OutputFile output(out);
    WritePeWithResources(original, tree, output);
    output.Close();
  }
  auto extracted = folder / "os.bin";
  std::string command = "wrestool -x --raw --type=40 --name=OS --language=1033 '" + out.string() + "' > '" +
                        extracted.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFile(extracted), EncodeResourceText("6.1.1"));
  command = "wrestool -x --raw --type=40 --name=PACKAGE_0 '" + out.string() + "' > '" + extracted.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFile(extracted), testing::MixedData(70000, 9));
}

INSTANTIATE_TEST_SUITE_P(BothPeKinds, PeResourceWriter, ::testing::Values("pe32plus_appended", "pe32_in_place"));

TEST(PeImage, RejectsFilesThatAreNotPeImages) {
  EXPECT_THROW(PeImage(Bytes{'M', 'Z', 0, 0}, "short"), PackError);
  Bytes text(512, 'x');
  EXPECT_THROW(PeImage(text, "text"), PackError);
  Bytes mz_only(512, 0);
  mz_only[0] = 'M';
  mz_only[1] = 'Z';
  mz_only[60] = 0x80;
  EXPECT_THROW(PeImage(mz_only, "mz"), PackError);
}

}  // namespace
}  // namespace setup::pack
