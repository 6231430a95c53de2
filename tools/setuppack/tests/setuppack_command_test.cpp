// The setuppack command as users run it: descriptions, overrides and bad input.
#include <gtest/gtest.h>
#include <mspack.h>

#include <cstdio>

#include "pe_image.h"
#include "setup_description.h"
#include "test_files.h"

namespace setup::pack {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct CommandResult {
  int exit_code = -1;
  std::string errors;
};

class SetuppackCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "product.msi", testing::MixedData(90000, 5));
    WriteFile(folder_ / "de.mst", std::string("german transform"));
    WriteFile(folder_ / "taxonomy.zip", std::string("taxonomy package"));
  }

  static std::filesystem::path TestTemplate(const std::string& name) {
    return std::filesystem::path(SETUPPACK_TEST_TEMPLATES) / ("template_" + name + ".exe");
  }

  CommandResult Pack(const std::string& description, const std::filesystem::path& template_file = TestTemplate("pe32plus_appended")) {
    WriteFile(folder_ / "setup.json", description);
    std::string command = std::string("'") + SETUPPACK_EXECUTABLE + "' --template '" + template_file.string() +
                          "' --setup '" + (folder_ / "setup.json").string() +
                          "' --out '" + Out().string() + "' 2>'" + (folder_ / "errors.txt").string() + "'";
    CommandResult result;
    int status = std::system(command.c_str());
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto errors = ReadFile(folder_ / "errors.txt");
    result.errors.assign(errors.begin(), errors.end());
    return result;
  }

  std::filesystem::path Out() const { return folder_ / "Setup.exe"; }

  const LanguageMap* Resource(const std::string& name) {
    if (!tree_) tree_ = PeImage(ReadFile(Out()), Out().string()).Resources();
    auto& packages = tree_->at(ResourceId(40));
    auto found = packages.find(ResourceId::FromUtf8(name));
    return found == packages.end() ? nullptr : &found->second;
  }

  Bytes Data(const std::string& name, std::uint16_t language = 1033) {
    const LanguageMap* languages = Resource(name);
    if (languages == nullptr || languages->count(language) == 0) return {};
    return std::get<Bytes>(languages->at(language).content);
  }

  void ExpectRejected(const std::string& description, const std::string& message,
                      const std::filesystem::path& template_file = TestTemplate("pe32plus_appended")) {
    CommandResult result = Pack(description, template_file);
    EXPECT_NE(result.exit_code, 0) << description;
    EXPECT_NE(result.errors.find(message), std::string::npos) << "message: " << result.errors;
    EXPECT_FALSE(std::filesystem::exists(Out())) << description;
    EXPECT_FALSE(std::filesystem::exists(Out().string() + ".partial"));
  }

  TempFolder folder_;
  std::optional<ResourceTree> tree_;
};

constexpr const char* kPackage = R"J({"productName": "Tarquel Quibrix 2024 Professional Edition (x64)",
  "productCode": "{11111111-2222-3333-4444-555555555555}", "packageCode": "{AAAAAAAA-2222-3333-4444-555555555555}",
  "productId": "QB::P", "productPlatform": "x64", "productVersion": "2024.00.00.00")J";

TEST_F(SetuppackCommand, WritesEveryPackageResourceWithItsNameLanguageAndEncoding) {
  std::string description = std::string(R"J({"os": "6.1.1", "properties": "A=\u00e7 B=\ud83d\ude00", "packages": [)J") + kPackage +
                            R"J(, "msi": "product.msi", "transforms": {"1031": "de.mst"}},)J" + kPackage +
                            R"J(, "installerType": "taxonomy", "file": "taxonomy.zip"}]})J";
  CommandResult result = Pack(description);
  ASSERT_EQ(result.exit_code, 0) << result.errors;

  EXPECT_EQ(Data("PACKAGE_COUNT"), EncodeResourceText("2"));
  EXPECT_EQ(Data("OS"), EncodeResourceText("6.1.1"));
  EXPECT_EQ(Data("PRODUCT_NAME_1"), EncodeResourceText("Tarquel Quibrix 2024 Professional Edition (x64)"));
  // UTF-8 and escapes of the description become UTF-16LE units, surrogate pairs included.
  EXPECT_EQ(Data("PROPERTIES"), (Bytes{'A', 0, '=', 0, 0xE7, 0, ' ', 0, 'B', 0, '=', 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
  EXPECT_EQ(Data("PRODUCT_ID_0"), (Bytes{'Q', 0, 'B', 0, ':', 0, ':', 0, 'P', 0, 0, 0}));
  EXPECT_EQ(Data("PRODUCT_PLATFORM_0"), EncodeResourceText("x64"));
  EXPECT_EQ(Data("PRODUCT_VERSION_0"), EncodeResourceText("2024.00.00.00"));
  EXPECT_EQ(Data("PACKAGE_CODE_0"), EncodeResourceText("{AAAAAAAA-2222-3333-4444-555555555555}"));
  EXPECT_EQ(Data("PRODUCT_CODE_0"), EncodeResourceText("{11111111-2222-3333-4444-555555555555}"));
  EXPECT_EQ(Resource("INSTALLER_TYPE_0"), nullptr);
  EXPECT_EQ(Data("INSTALLER_TYPE_1"), EncodeResourceText("taxonomy"));
  EXPECT_EQ(Data("PACKAGE_1"), (Bytes{'t', 'a', 'x', 'o', 'n', 'o', 'm', 'y', ' ', 'p', 'a', 'c', 'k', 'a', 'g', 'e'}));
  EXPECT_EQ(Data("PACKAGE_0_1031", 1031), (Bytes{'g', 'e', 'r', 'm', 'a', 'n', ' ', 't', 'r', 'a', 'n', 's', 'f', 'o', 'r', 'm'}));
  EXPECT_EQ(Resource("PACKAGE_0_1031")->size(), 1u);

  // PACKAGE_0: a length prefix, then a cabinet holding the MSI under its own name.
  Bytes package = Data("PACKAGE_0");
  ASSERT_GT(package.size(), 4u);
  ASSERT_EQ(ReadU32(package.data()), package.size() - 4);
  auto cab = folder_ / "package.cab";
  WriteFile(cab, Bytes(package.begin() + 4, package.end()));
  mscab_decompressor* decompressor = mspack_create_cab_decompressor(nullptr);
  mscabd_cabinet* cabinet = decompressor->open(decompressor, cab.c_str());
  ASSERT_NE(cabinet, nullptr);
  EXPECT_STREQ(cabinet->files->filename, "product.msi");
  EXPECT_EQ(cabinet->files->next, nullptr);
  auto msi = folder_ / "extracted.msi";
  EXPECT_EQ(decompressor->extract(decompressor, cabinet->files, msi.c_str()), MSPACK_ERR_OK);
  decompressor->close(decompressor, cabinet);
  mspack_destroy_cab_decompressor(decompressor);
  EXPECT_EQ(ReadFile(msi), testing::MixedData(90000, 5));
}

TEST_F(SetuppackCommand, OverridesRemoveReplaceMoveAndCutResources) {
  std::string description = std::string(R"J({"os": "6.1.1", "packages": [)J") + kPackage + R"J(, "msi": "product.msi"},)J" +
                            kPackage + R"J(, "msi": "product.msi"}],
    "resources": {"PACKAGE_1": null, "PACKAGE_COUNT": "two", "OS": {"language": 1031},
                  "PACKAGE_0": {"truncate": 100}, "EXTRA": {"file": "de.mst", "language": 1036},
                  "PRODUCT_NAME_1": {"text": "x", "length": 7}}})J";
  CommandResult result = Pack(description);
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(Resource("PACKAGE_1"), nullptr);
  EXPECT_EQ(Data("PACKAGE_COUNT"), EncodeResourceText("two"));
  EXPECT_EQ(Data("OS", 1031), EncodeResourceText("6.1.1"));
  EXPECT_EQ(Resource("OS")->count(1033), 0u);
  Bytes cut = Data("PACKAGE_0");
  ASSERT_EQ(cut.size(), 104u);
  EXPECT_EQ(ReadU32(cut.data()), 100u);
  EXPECT_EQ(std::string(cut.begin() + 4, cut.begin() + 8), "MSCF");
  EXPECT_EQ(Data("EXTRA", 1036).size(), 16u);
  Bytes announced = Data("PRODUCT_NAME_1");
  ASSERT_EQ(announced.size(), 4u);
  EXPECT_EQ(ReadU32(announced.data()), 7u);
}

TEST_F(SetuppackCommand, BadInputIsNamedAndWritesNothing) {
  const std::string good_tail = R"J(, "msi": "product.msi"}]})J";
  ExpectRejected(std::string(R"J({"packages": [)J") + kPackage + R"J(, "msi": "missing.msi"}]})J", "missing.msi' does not exist");
  ExpectRejected(R"J({"packages": [ {"productName": "x", }]})J", "malformed JSON at line 1, column 37");
  ExpectRejected(R"J({"packages": [{"productName": "x", "msi": "product.msi"}]})J", "missing member \"productCode\"");
  ExpectRejected(R"J({"os": "6.1.1"})J", "missing member \"packages\"");
  ExpectRejected(R"J({"packages": [{"productName": 5}]})J", ".packages[0].productName: must be a string, not a number");
  ExpectRejected(std::string(R"J({"packages": [)J") + kPackage + R"J(}]})J", "needs exactly one of \"msi\", \"cabinet\" and \"file\"");
  ExpectRejected(std::string(R"J({"packages": [)J") + kPackage + R"J(, "msi": "product.msi", "transforms": {"german": "de.mst"}}]})J",
                 "must be an LCID");
  ExpectRejected(std::string(R"J({"packages": [)J") + kPackage + R"J(, "msi": "product.msi"}], "resources": {"NOPE": {"truncate": 3}}})J",
                 "no resource of this name");

  // A template that is not a PE file.
  WriteFile(folder_ / "setup.json", std::string(R"J({"packages": [)J") + kPackage + good_tail);
  std::string command = std::string("'") + SETUPPACK_EXECUTABLE + "' --template '" + (folder_ / "setup.json").string() +
                        "' --setup '" + (folder_ / "setup.json").string() + "' --out '" + Out().string() + "' 2>'" +
                        (folder_ / "errors.txt").string() + "'";
  EXPECT_NE(std::system(command.c_str()), 0);
  auto errors = ReadFile(folder_ / "errors.txt");
  EXPECT_NE(std::string(errors.begin(), errors.end()).find("is not a PE file"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Out()));
}

// A signed template: its certificate table goes (the setup would otherwise carry a signature that
// does not match it), the tool says so, and the setup is the one the unsigned template gives.
TEST_F(SetuppackCommand, DropsTheCertificateTableOfASignedTemplate) {
  Bytes unsigned_template = ReadFile(TestTemplate("pe32plus_appended"));
  unsigned_template.resize(AlignUp(static_cast<std::uint32_t>(unsigned_template.size()), 8), 0);  // as signing pads it
  const PeImage image(unsigned_template, "template");
  Bytes signed_template = unsigned_template;
  const std::string certificate(1496, 'C');
  signed_template.insert(signed_template.end(), certificate.begin(), certificate.end());
  WriteU32(signed_template.data() + image.DirectoryOffset(PeImage::kCertificateDirectory),
           static_cast<std::uint32_t>(unsigned_template.size()));
  WriteU32(signed_template.data() + image.DirectoryOffset(PeImage::kCertificateDirectory) + 4,
           static_cast<std::uint32_t>(certificate.size()));
  WriteFile(folder_ / "unsigned.exe", unsigned_template);
  WriteFile(folder_ / "signed.exe", signed_template);
  const std::string description = std::string(R"J({"packages": [)J") + kPackage + R"J(, "msi": "product.msi"}]})J";

  CommandResult result = Pack(description, folder_ / "unsigned.exe");
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(result.errors, "");
  const Bytes from_unsigned = ReadFile(Out());
  result = Pack(description, folder_ / "signed.exe");
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_NE(result.errors.find("is signed: its certificate table is left out"), std::string::npos) << result.errors;
  EXPECT_EQ(ReadFile(Out()), from_unsigned) << "the signed template must give the setup of the unsigned one";

  // Data behind the table: not a signature this tool can take off.
  signed_template.push_back('x');
  WriteFile(folder_ / "signed.exe", signed_template);
  std::filesystem::remove(Out());
  ExpectRejected(description, "certificate table is not at the end of the file", folder_ / "signed.exe");
}

}  // namespace
}  // namespace setup::pack
