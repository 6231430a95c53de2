// The sub-packages page: which packages get a row, its texts per run and language, and the
// conflict texts of a row that follow its check box.
#include <gtest/gtest.h>

#include <ostream>

#include "resources/resource_ids.h"
#include "wizard/general_pages_fixture.h"
#include "wizard/sub_packages_wizard_page.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kCancel = platform::kIdCancel;

struct SubPackage {
  std::wstring productId;
  std::wstring name;
};

const std::vector<SubPackage> kWithWendrak{{L"TR::AddOn_HL7", L"Trandel HL7 Add-on"},
                                           {L"WK::N", L"Tarquel Wendrak 3.0"},
                                           {L"YX::W", L"Yarrick Spreadsheet Add-in"}};
const std::vector<SubPackage> kSeven{{L"TR::AddOn_HL7", L"Add-on 1"}, {L"TR::AddOn_HL7", L"Add-on 2"},
                                     {L"TR::AddOn_HL7", L"Add-on 3"}, {L"TR::AddOn_HL7", L"Add-on 4"},
                                     {L"TR::AddOn_HL7", L"Add-on 5"}, {L"TR::AddOn_HL7", L"Add-on 6"},
                                     {L"TR::AddOn_HL7", L"Add-on 7"}};

struct RowsCase {
  const char* name;
  std::vector<std::wstring> arguments;
  const wchar_t* language;
  bool mainInstalled;
  std::vector<SubPackage> subPackages;
  // Header, description, then the rows' check boxes.
  std::vector<std::wstring> texts;
};

void PrintTo(const RowsCase& c, std::ostream* out) { *out << c.name; }

const RowsCase kRowsCases[] = {
    {"WendrakAndMainGetNoRow", {}, L"English", false, kWithWendrak,
     {L"This installer contains additional products",
      L"The following additional products contained in this installer can be installed by selecting the relevant "
      L"check boxes.",
      L"Trandel HL7 Add-on", L"Yarrick Spreadsheet Add-in"}},
    {"FiveRowsAtMost", {}, L"English", false, kSeven,
     {L"This installer contains additional products",
      L"The following additional products contained in this installer can be installed by selecting the relevant "
      L"check boxes.",
      L"Add-on 1", L"Add-on 2", L"Add-on 3", L"Add-on 4", L"Add-on 5"}},
    {"InstallGerman", {}, L"German", false, kWithWendrak,
     {L"Dieses Installationsprogramm enthält zusätzliche Produkte",
      L"Die folgenden zusätzlichen Produkte dieses Installationsprogramms können durch Aktivieren der entsprechenden "
      L"Kontrollkästchen installiert werden.",
      L"Trandel HL7 Add-on", L"Yarrick Spreadsheet Add-in"}},
    {"RemovalGerman", {L"/x"}, L"German", true, kWithWendrak,
     {L"Dieses Installationsprogramm enthält zusätzliche Produkte",
      L"Die folgenden zusätzlichen Produkte dieses Installationsprogramms wurden auf Ihrem System gefunden. Wenn sie "
      L"ausgewählt sind, werden sie zusammen mit diesem Produkt deinstalliert.",
      L"Trandel HL7 Add-on", L"Yarrick Spreadsheet Add-in"}},
    {"RepairEnglish", {L"/f"}, L"English", true, kWithWendrak,
     {L"This installer contains additional products",
      L"Additional products can also be re-installed by selecting the relevant check boxes.", L"Trandel HL7 Add-on",
      L"Yarrick Spreadsheet Add-in"}},
    {"MaintenanceEnglish", {}, L"English", true, kWithWendrak,
     {L"This installer contains additional products",
      L"Installation of additional products can also be modified by selecting the relevant check boxes.",
      L"Trandel HL7 Add-on", L"Yarrick Spreadsheet Add-in"}},
};

class SubPackagesPageTest : public GeneralPagesTest {
 protected:
  SubPackagesWizardPage& SubPackagesFrame() {
    NewFrame();
    AddTestPage(L"Welcome");
    SubPackagesWizardPage& page = AddPage<SubPackagesWizardPage>();
    AddTestPage(L"Unpack");
    AddTestPage(L"Finish");
    return page;
  }
  void ShowPageThen(std::function<void()> check) {
    Press(kNext);
    While(std::move(check));
    Press(kCancel);
    Press(kCancel);
    frame_->DoModal();
  }
};

class SubPackagesRowsTest : public SubPackagesPageTest, public ::testing::WithParamInterface<RowsCase> {};

TEST_P(SubPackagesRowsTest, ShowsARowForEachSubPackage) {
  const RowsCase& c = GetParam();
  std::vector<std::wstring> arguments{L"/L*v", kLogPath};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  Start(arguments);
  languages_.SelectByName(c.language);
  AddPackage(L"QB::P", L"2024.00.01", L"Tarquel Quibrix 2024").registered = c.mainInstalled;
  for (const SubPackage& sub : c.subPackages) AddPackage(sub.productId, L"2024.00.00", sub.name);
  SubPackagesWizardPage& page = SubPackagesFrame();
  ShowPageThen([&] {
    EXPECT_EQ(ShownTexts(page), c.texts);
    const std::size_t rows = c.texts.size() - 2;
    for (std::size_t i = 0; i < SubPackagesWizardPage::kMaxRows; ++i) {
      const platform::WindowHandle box = Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST + static_cast<int>(i));
      EXPECT_EQ(box != 0, i < rows) << i;
      if (box == 0 || i >= rows) continue;
      EXPECT_EQ(Gui().Text(box), c.texts[i + 2]);
      // Nothing is installed: a removal offers nothing to remove with the product.
      EXPECT_EQ(Gui().IsEnabled(box), !frame_->IsRemoval()) << i;
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Runs, SubPackagesRowsTest, ::testing::ValuesIn(kRowsCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(SubPackagesPageTest, AConflictingRowTellsTheConflictUntilTickedThenTheReplacement) {
  AddPackage(L"QB::P", L"2024.00.01", L"Tarquel Quibrix 2024");
  AddPackage(L"TR::AddOn_HL7", L"2024.00.00", L"Trandel HL7 Add-on");
  SetupPackage& addIn = AddPackage(L"YX::W", L"2024.00.00", L"Yarrick Spreadsheet Add-in");
  Install(L"YX::W", L"2022.00.00");
  const std::wstring installed = ProductRecord(L"YX::W", L"2022.00.00", false, L"", false).DisplayName();
  SubPackagesWizardPage& page = SubPackagesFrame();
  const std::vector<std::wstring> frame{L"This installer contains additional products",
                                        L"The following additional products contained in this installer can be "
                                        L"installed by selecting the relevant check boxes.",
                                        L"Trandel HL7 Add-on", L"Yarrick Spreadsheet Add-in"};
  ShowPageThen([&] {
    const platform::WindowHandle box = Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST + 1);
    // The conflict unticks the row.
    EXPECT_FALSE(Gui().IsChecked(box));
    EXPECT_FALSE(addIn.handle);
    auto expected = frame;
    expected.push_back(L"This setup will replace parts of your current installation.");
    EXPECT_EQ(ShownTexts(page), expected);
    const auto& row = page.Rows()[1];
    ASSERT_TRUE(row.installed);
    EXPECT_EQ(Gui().ControlColoursOf(row.conflict->Window())->text, kWarningTextRed);
    EXPECT_EQ(Gui().ControlColoursOf(row.replacement->Window())->text, kWarningTextGreen);

    Gui().Click(box);
    expected.back() = installed + L" will be removed from your system and be replaced by the version contained in "
                                  L"this installer.";
    EXPECT_EQ(ShownTexts(page), expected);
    Gui().Click(box);
    EXPECT_EQ(ShownTexts(page).back(), L"This setup will replace parts of your current installation.");
  });
}

TEST_F(SubPackagesPageTest, AnInstalledSubPackageCannotBeChosenInAFreshInstall) {
  AddPackage(L"QB::P", L"2024.00.01", L"Tarquel Quibrix 2024");
  AddPackage(L"TR::AddOn_HL7", L"2024.00.00", L"Trandel HL7 Add-on");
  SetupPackage& addIn = AddPackage(L"YX::W", L"2024.00.00", L"Yarrick Spreadsheet Add-in");
  addIn.productCode = L"{AAAAAAAA-0000-0000-0000-000000000001}";
  addIn.packageCode = L"{BBBBBBBB-0000-0000-0000-000000000001}";
  Host().Installer().AddProduct({addIn.productCode, {{L"PackageCode", addIn.packageCode}}});
  SubPackagesWizardPage& page = SubPackagesFrame();
  ShowPageThen([&] {
    const platform::WindowHandle box = Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST + 1);
    EXPECT_FALSE(Gui().IsChecked(box));
    EXPECT_FALSE(Gui().IsEnabled(box));
    EXPECT_FALSE(addIn.handle);
    EXPECT_EQ(ShownTexts(page).back(), L"This product is already installed on your system.");
  });
}

TEST_F(SubPackagesPageTest, LeavingThePageHandlesExactlyTheTickedPackages) {
  AddPackage(L"QB::P", L"2024.00.01", L"Tarquel Quibrix 2024");
  SetupPackage& first = AddPackage(L"TR::AddOn_HL7", L"2024.00.00", L"Add-on 1");
  SetupPackage& second = AddPackage(L"TR::AddOn_HL7", L"2024.00.00", L"Add-on 2");
  second.handle = false;
  SubPackagesWizardPage& page = SubPackagesFrame();
  Press(kNext);
  While([&] {
    EXPECT_TRUE(Gui().IsChecked(Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST)));
    EXPECT_FALSE(Gui().IsChecked(Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST + 1)));
    Gui().Click(Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST));
    Gui().Click(Gui().FindControl(page.Window(), IDC_SUB_PACKAGE_FIRST + 1));
  });
  Press(kNext);
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
  EXPECT_FALSE(first.handle);
  EXPECT_TRUE(second.handle);
  EXPECT_EQ(seen_[1], L"");  // the sub-packages page is not a test page
  EXPECT_EQ(seen_[2], L"Unpack");
}

}  // namespace
}  // namespace setup::testing
