#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>

#include "extraction/extract_mode.h"
#include "extraction/unpack_worker.h"
#include "foundation/file_utilities.h"
#include "run/log_lines.h"
#include "support/run_fixture.h"
#include "support/test_cabinets.h"

namespace setup {
namespace {

using testing::CabinetFile;

constexpr platform::WindowHandle kPage = 0x4711;

// Bytes that do not compress: a cabinet of them is as long as they are.
std::string Noise(std::size_t size) {
  std::mt19937 random(size);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

std::wstring FolderOf(int index) {
  return Format(L"C:\\ProgramData\\Tarquel\\{0000000%d-1111-2222-3333-444444444444}", index);
}

class UnpackTest : public testing::RunTest {
 protected:
  // A cabinet package held in "PACKAGE_<index>" with the given files.
  SetupPackage& AddPackage(int index, const std::vector<CabinetFile>& files) {
    const std::string cabinet = testing::PackedCabinet(temp_.Path() / "work" / std::to_string(index), files);
    Host().Resources().AddPackageResource(Format(L"PACKAGE_%d", index), 1033,
                                          testing::PackageResource(cabinet, static_cast<std::uint32_t>(cabinet.size())));
    return AddRecord(index);
  }
  SetupPackage& AddRecord(int index) {
    SetupPackage package;
    package.productName = Format(L"Product %d", index);
    package.dataName = Format(L"PACKAGE_%d", index);
    package.transformPattern = Format(L"PACKAGE_%d_%%s", index);
    package.packageFolder = FolderOf(index);
    package.handle = true;
    packages_.packages.push_back(package);
    return packages_.packages.back();
  }

  // Builds the list as the page does and runs the worker on its thread; the exit code.
  int RunWorker(bool repairing = false) {
    Run();
    UnpackWorker worker(&*run_, BuildUnpackList(packages_, repairing, Host()), sink_, Settings());
    worker.Start();
    return worker.Join();
  }
  UnpackSettings Settings() {
    return {cancel_, [this](const std::wstring& text) {
              details_.push_back(text);
              if (cancelAfterFirstDetail_) cancel_ = true;
            },
            true};
  }
  std::string Read(std::wstring_view path) { return Host().Files().ReadFile(path).value_or("<missing>"); }
  bool Exists(std::wstring_view path) { return Host().Files().Attributes(path).has_value(); }
  void MakeGerman() {
    Host().Resources().AddPackageResource(L"PACKAGE_0_1031", 1031, "german launcher texts");
    for (LanguageEntry& entry : languages_.Entries()) entry.available = entry.langId == 1033 || entry.langId == 1031;
    languages_.SelectByLangId(1031);
  }

  ExtractionProgressHandler sink_{Host().Gui(), Host().System(), kPage};
  std::atomic<bool> cancel_ = false;
  bool cancelAfterFirstDetail_ = false;
  std::vector<std::wstring> details_;
};

TEST_F(UnpackTest, WorkerUnpacksEveryPackageIntoAProtectedFolderAndEndsTheBarAtThirty) {
  AddPackage(0, {{"main.msi", "main package"}, {"sub\\readme.txt", "readme"}});
  AddPackage(1, {{"second.msi", std::string(70000, 's')}});
  EXPECT_EQ(RunWorker(), 0);
  EXPECT_EQ(result_.kind, kResultSuccess);
  EXPECT_EQ(packages_.packages[0].packageFile, FolderOf(0) + L"\\main.msi");
  EXPECT_EQ(packages_.packages[1].packageFile, FolderOf(1) + L"\\second.msi");
  EXPECT_EQ(Read(FolderOf(0) + L"\\sub\\readme.txt"), "readme");
  EXPECT_EQ(details_, (std::vector<std::wstring>{L"Reading contents of package Product 0",
                                                 L"Reading contents of package Product 1"}));
  EXPECT_NE(LogText().find(L"TSL (c): Extracting resource: PACKAGE_0\r\nTSL (c): Extracting resource: PACKAGE_1\r\n"),
            std::wstring::npos);

  // The folder holding the launcher copy inherits nothing from the base folder.
  EXPECT_TRUE(Host().Files().IsAccessProtected(FolderOf(0)));
  const auto entries = Host().Files().ExplicitAccessEntries(FolderOf(0));
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 3u);
  EXPECT_EQ((*entries)[0].account, L"SYSTEM");
  EXPECT_EQ((*entries)[0].accessMask, platform::kGenericAll);
  EXPECT_EQ((*entries)[1].account, L"Administrators");
  EXPECT_EQ((*entries)[1].accessMask, platform::kGenericAll);
  EXPECT_EQ((*entries)[2].account, L"Users");
  EXPECT_EQ((*entries)[2].accessMask, platform::kGenericRead | platform::kGenericExecute);

  // No time passes on the host clock: only the final value gets through the half-second rule.
  const auto posts = Host().Ui().PostedMessages();
  ASSERT_FALSE(posts.empty());
  EXPECT_EQ(posts.back(), (platform::host::PostedMessage{kPage, platform::kUserMessage + 1, 30, 0}));
  for (const auto& post : posts) EXPECT_EQ(post.wParam, 30u);
}

TEST(ExtractionProgressHandler, PostsAChangedValueAfterHalfASecondAndTheFinalValueAlways) {
  platform::host::HostUserInterface ui;
  platform::host::HostGui gui(ui);
  platform::host::HostSystemInfo system;
  ExtractionProgressHandler sink(gui, system, kPage);
  sink.SetTotal(3000);
  sink.SetBase(1000);
  std::vector<std::uintptr_t> posted;
  const auto step = [&](std::uint32_t tick, unsigned position) {
    system.tickCount = tick;
    sink.OnBytes(position);
    posted.clear();
    for (const auto& post : ui.PostedMessages()) posted.push_back(post.wParam);
  };
  step(400, 500);   // (1000 + 500) / 3000 * 30 = 15, but only 400 ms since the start
  EXPECT_TRUE(posted.empty());
  step(501, 500);
  EXPECT_EQ(posted, (std::vector<std::uintptr_t>{15}));
  step(1200, 501);  // 15 again: nothing
  EXPECT_EQ(posted.size(), 1u);
  step(1001, 1900);  // 29 after exactly 500 ms: too soon
  EXPECT_EQ(posted.size(), 1u);
  step(1002, 2000);  // 30 always
  step(1003, 2000);
  EXPECT_EQ(posted, (std::vector<std::uintptr_t>{15, 30, 30}));
  EXPECT_EQ(sink.GetProgressRange(), 30);
}

TEST_F(UnpackTest, FailuresEndTheWorkerWithTheirResultAndLogLine) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    int result;
  };
  const std::vector<Case> cases = {
      {"damaged cabinet",
       [this] {
         const std::string cabinet = testing::PackedCabinet(temp_.Path() / "damaged", {{"cut.msi", Noise(90000)}});
         Host().Resources().AddPackageResource(L"PACKAGE_0", 1033, testing::PackageResource(cabinet.substr(0, 300), 300));
         AddRecord(0);
       },
       kResultCabinetDamaged},
      {"missing cabinet", [this] { AddRecord(0).dataName = L"C:\\Missing\\package.cab"; }, kResultCabinetDamaged},
      {"full disk",
       [this] {
         AddPackage(0, {{"big.msi", Noise(90000)}});
         Host().Files().freeSpace = 1000;
       },
       kResultDiskFull},
      {"taxonomy package that cannot be copied",
       [this] {
         Host().Resources().RemovePackageResource(L"PACKAGE_0", 1033);
         SetupPackage& package = AddRecord(0);
         package.installerType = L"Taxonomy";
         package.dataName = L"C:\\Missing\\taxonomy.pkg";
       },
       kResultInstallFailed},
      {"no package folder", [this] { AddPackage(0, {{"a.msi", "a"}}).packageFolder.clear(); },
       kResultInstallFailed},
  };
  for (const Case& c : cases) {
    packages_.packages.clear();
    Host().Files().freeSpace.reset();
    c.arrange();
    const std::size_t before = LogSize();
    EXPECT_EQ(RunWorker(), kWorkerFailedExitCode) << c.name;
    EXPECT_EQ(result_.kind, c.result) << c.name;
    EXPECT_EQ(result_.installerCode, 0u) << c.name;
    EXPECT_FALSE(result_.reported) << c.name;
    EXPECT_TRUE(LogSince(before).ends_with(Format(L"TSL (c): Error extracting cabinet file - %d.\r\n", c.result))) << c.name;
    if (c.result != kResultInstallFailed) {
      EXPECT_TRUE(packages_.packages[0].packageFile.empty()) << c.name;
    }
    EXPECT_FALSE(Exists(FolderOf(0) + L"\\cut.msi")) << c.name;
    EXPECT_FALSE(Exists(FolderOf(0) + L"\\big.msi")) << c.name;
  }
}

TEST_F(UnpackTest, ACancelEndsTheWorkerWithoutAnErrorLine) {
  AddPackage(0, {{"a.msi", "a"}});
  AddPackage(1, {{"b.msi", "b"}});
  cancelAfterFirstDetail_ = true;  // requested while the first package unpacks
  EXPECT_EQ(RunWorker(), kWorkerFailedExitCode);
  EXPECT_EQ(result_.kind, kResultUserCancelled);
  EXPECT_FALSE(Exists(FolderOf(1)));
  EXPECT_EQ(LogText().find(L"Error extracting"), std::wstring::npos);

  cancel_ = true;  // requested before the worker starts
  EXPECT_EQ(RunWorker(), kWorkerFailedExitCode);
  EXPECT_EQ(result_.kind, kResultInstallFailed);

  UnpackWorker orphan(nullptr, {}, sink_, Settings());
  EXPECT_EQ(orphan.Run(), kWorkerFailedExitCode);
}

// A package whose folder holds its MSI from an earlier run is listed without bytes: it is not
// expanded again, but a run in another language still gets its transform.
// A cancel does not wait for the rest of a large cabinet: the next read fails the expansion,
// and the files it had begun are gone.
TEST_F(UnpackTest, ACancelEndsALargeCabinetAtItsNextRead) {
  const std::string cabinet = testing::PackedCabinet(temp_.Path() / "large", {{"large.msi", Noise(2'000'000)}});
  Host().Files().CreateDirectory(L"C:\\Setup");
  Host().Files().WriteFile(L"C:\\Setup\\large.cab", cabinet);
  AddRecord(0).dataName = L"C:\\Setup\\large.cab";
  Host().Files().readDelay = std::chrono::milliseconds(20);
  Run();
  UnpackWorker worker(&*run_, BuildUnpackList(packages_, false, Host()), sink_, Settings());
  worker.Start();
  EXPECT_FALSE(worker.WaitFinished(std::chrono::milliseconds(200)));
  const auto cancelled = std::chrono::steady_clock::now();
  cancel_ = true;
  EXPECT_TRUE(worker.WaitFinished(std::chrono::milliseconds(1000)));
  EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::milliseconds(100));
  EXPECT_EQ(worker.Join(), kWorkerFailedExitCode);
  EXPECT_EQ(result_.kind, kResultUserCancelled);
  EXPECT_FALSE(Exists(FolderOf(0) + L"\\large.msi"));
}

TEST_F(UnpackTest, TheUnpackListCountsNoBytesForPackagesAlreadyUnpackedAndIsEmptyWhenRepairing) {
  AddPackage(0, {{"a.msi", "a"}});
  AddPackage(1, {{"b.msi", std::string(5000, 'b')}}).packageFile = FolderOf(1) + L"\\cached.msi";
  AddPackage(2, {{"c.msi", "c"}}).handle = false;
  const auto list = BuildUnpackList(packages_, false, Host());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].package, &packages_.packages[0]);
  EXPECT_EQ(list[0].size, Host().Resources().FindPackageResource(L"PACKAGE_0", 1033)->size() - 4);
  EXPECT_EQ(list[1].package, &packages_.packages[1]);
  EXPECT_EQ(list[1].size, 0u);
  EXPECT_TRUE(BuildUnpackList(packages_, true, Host()).empty());
  EXPECT_EQ(RunWorker(true), 0);
  EXPECT_FALSE(Exists(FolderOf(0)));

  Run();
  MakeGerman();
  Host().Resources().AddPackageResource(L"PACKAGE_1_1031", 1031, "german transform");
  EXPECT_EQ(RunWorker(), 0);
  EXPECT_FALSE(Exists(FolderOf(1) + L"\\b.msi"));
  EXPECT_EQ(Read(FolderOf(1) + L"\\Transform_de.mst"), "german transform");
  EXPECT_EQ(packages_.packages[1].transformFile, L"Transform_de.mst");
}

TEST_F(UnpackTest, AFolderWithOneMsiIsReusedAndOneWithTwoIsUnpackedAgain) {
  Run();
  MakeGerman();
  Host().Resources().AddPackageResource(L"PACKAGE_0_1031", 1031, "german transform");
  SetupPackage& reused = AddPackage(0, {{"fresh.msi", "fresh"}});
  reused.packageFile = FolderOf(0) + L"\\cached.msi";
  Run();
  EXPECT_EQ(UnpackCabinetPackage(*run_, reused, sink_, Settings()), kResultSuccess);
  EXPECT_FALSE(Exists(FolderOf(0) + L"\\fresh.msi"));
  EXPECT_EQ(Read(FolderOf(0) + L"\\Transform_de.mst"), "german transform");
  EXPECT_EQ(reused.transformFile, L"Transform_de.mst");

  SetupPackage& twice = AddPackage(1, {{"one.msi", "one"}});
  Host().Files().CreateDirectory(L"C:\\ProgramData\\Tarquel");
  Host().Files().CreateDirectory(FolderOf(1));
  Host().Files().WriteFile(FolderOf(1) + L"\\other.msi", "other");
  EXPECT_EQ(UnpackCabinetPackage(*run_, twice, sink_, Settings()), kResultSuccess);
  EXPECT_EQ(Read(FolderOf(1) + L"\\one.msi"), "one");
  EXPECT_TRUE(twice.packageFile.empty());
}

TEST_F(UnpackTest, AFolderAnotherUserPlantedIsReplacedByTheUnpackedPackage) {
  SetupPackage& package = AddPackage(0, {{"ours.msi", "ours"}});
  ICBSFileUtilities(Host()).CreateFolderTree(FolderOf(0));
  Host().Files().WriteFile(FolderOf(0) + L"\\planted.msi", "planted");
  Host().Files().SetOwnerSid(FolderOf(0), L"S-1-5-21-1-2-3-1001");
  EXPECT_EQ(RunWorker(), 0);
  EXPECT_NE(LogText().find(LogLineText(log_lines::kPackageFolderNotTrusted, FolderOf(0),
                                       L"it is a link or not owned by Administrators or SYSTEM")),
            std::wstring::npos);
  EXPECT_FALSE(Exists(FolderOf(0) + L"\\planted.msi"));
  EXPECT_EQ(package.packageFile, FolderOf(0) + L"\\ours.msi");
  EXPECT_TRUE(Host().Files().IsAccessProtected(FolderOf(0)));
}

TEST_F(UnpackTest, TransformsFollowTheWizardLanguageAndTheResourceLanguage) {
  // English wizard: nothing, though a transform exists.
  Host().Resources().AddPackageResource(L"PACKAGE_0_1031", 1031, "german transform");
  Host().Resources().AddPackageResource(L"PACKAGE_0_1036", 1033, "french name, English resource");
  for (LanguageEntry& entry : languages_.Entries()) entry.available = entry.langId != 1041;
  SetupPackage& package = AddPackage(0, {{"a.msi", "a"}});
  Run();
  EXPECT_EQ(WriteLanguageTransform(*run_, package, true), kResultSuccess);
  EXPECT_TRUE(package.transformFile.empty());

  // French wizard, but the transform resource is in another resource language.
  languages_.SelectByLangId(1036);
  ASSERT_TRUE(ICBSFileUtilities(Host()).CreateFolderTree(FolderOf(0)));
  EXPECT_EQ(WriteLanguageTransform(*run_, package, true), kResultSuccess);
  EXPECT_FALSE(Exists(FolderOf(0) + L"\\Transform_fr.mst"));

  // German wizard, but repairing or removing: nothing; installing: the transform, or the
  // disk-full result when it does not fit (and no cut transform).
  languages_.SelectByLangId(1031);
  EXPECT_EQ(WriteLanguageTransform(*run_, package, false), kResultSuccess);
  EXPECT_FALSE(Exists(FolderOf(0) + L"\\Transform_de.mst"));
  Host().Files().freeSpace = 5;
  EXPECT_EQ(WriteLanguageTransform(*run_, package, true), kResultDiskFull);
  EXPECT_FALSE(Exists(FolderOf(0) + L"\\Transform_de.mst"));
  Host().Files().freeSpace.reset();
  EXPECT_EQ(WriteLanguageTransform(*run_, package, true), kResultSuccess);
  EXPECT_EQ(Read(FolderOf(0) + L"\\Transform_de.mst"), "german transform");
  EXPECT_EQ(package.transformFile, L"Transform_de.mst");
}

TEST_F(UnpackTest, TaxonomyPackagesAreWrittenAsTheyAre) {
  SetupPackage& package = AddRecord(0);
  package.installerType = L"taxonomy";
  package.dataName = L"C:\\Workload\\catalog.tax";
  Host().Files().CreateDirectory(L"C:\\Workload");
  Host().Files().WriteFile(package.dataName, "taxonomy data");
  EXPECT_EQ(RunWorker(), 0);
  EXPECT_EQ(package.packageFile, L"catalog.tax");
  EXPECT_EQ(Read(FolderOf(0) + L"\\catalog.tax"), "taxonomy data");
}

class ExtractModeTest : public UnpackTest {
 protected:
  std::string ReadHere(const char* name) { return Read(Host().Files().currentFolder + L"\\" + FromUtf8(name)); }
};

TEST_F(ExtractModeTest, EveryPackageGoesToTheCurrentFolderWithOneConsoleLinePerFile) {
  AddPackage(0, {{"first.msi", "first"}, {"docs\\notes.txt", "notes"}});
  const std::string damaged = testing::PackedCabinet(temp_.Path() / "damaged", {{"second.msi", Noise(60000)}});
  Host().Resources().AddPackageResource(L"PACKAGE_1", 1033, testing::PackageResource(damaged.substr(0, 200), 200));
  AddRecord(1).handle = false;
  AddPackage(2, {{"third.msi", "third"}});
  EXPECT_EQ(ExtractEveryPackage(Run()), ExtractModeEnd::Completed);
  EXPECT_EQ(Host().Console().output,
            L"extracting .\\first.msi...\r\nextracting .\\docs\\notes.txt...\r\n"
            L"extracting .\\second.msi...\r\nextracting .\\third.msi...\r\n");
  EXPECT_EQ(ReadHere("first.msi"), "first");
  EXPECT_EQ(ReadHere("docs\\notes.txt"), "notes");
  EXPECT_EQ(ReadHere("third.msi"), "third");
  EXPECT_FALSE(Exists(Host().Files().currentFolder + L"\\second.msi"));
  EXPECT_EQ(result_.kind, kResultInstallFailed);
  EXPECT_EQ(result_.installerCode, 1620u);
}

TEST_F(ExtractModeTest, AFullDiskRecordsKindElevenAndAnUnwritableTaxonomyPackageStops) {
  AddPackage(0, {{"big.msi", Noise(50000)}});
  Host().Files().freeSpace = 100;
  EXPECT_EQ(ExtractEveryPackage(Run()), ExtractModeEnd::Completed);
  EXPECT_EQ(result_.kind, kResultDiskFull);

  Host().Files().freeSpace.reset();
  result_ = SetupResult();
  packages_.packages.clear();
  Host().Resources().RemovePackageResource(L"PACKAGE_0", 1033);
  SetupPackage& taxonomy = AddRecord(0);
  taxonomy.installerType = L"taxonomy";
  taxonomy.dataName = L"C:\\Missing\\catalog.tax";
  AddPackage(1, {{"after.msi", "after"}});
  EXPECT_EQ(ExtractEveryPackage(Run()), ExtractModeEnd::StoppedAtTaxonomyPackage);
  EXPECT_EQ(ReadHere("after.msi"), "<missing>");
  EXPECT_EQ(result_.kind, kResultSuccess);
}

}  // namespace
}  // namespace setup
