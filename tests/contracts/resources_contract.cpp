// Contract of the resources port: package resources found by name and language as the system's
// resource lookup finds them, and the launcher's texts read from its STRINGTABLE (the host
// stand-in parses the same resource scripts the Windows build compiles).
#include "contracts/platform_under_test.h"
#include "resources/resource_ids.h"

namespace setup::contracts {
namespace {

constexpr platform::LangId kEnglish = 1033;
constexpr platform::LangId kGerman = 1031;
constexpr platform::LangId kJapanese = 1041;
constexpr platform::LangId kRussian = 1049;  // a language the launcher has no texts in

class ResourcesContract : public ContractTest {
 protected:
  ResourcesContract() { Side().ArrangePackageResources(); }

  std::string Find(std::wstring_view name, std::optional<platform::LangId> language) {
    const auto bytes = Ports().resources->FindPackageResource(name, language);
    if (!bytes) return "<none>";
    return {reinterpret_cast<const char*>(bytes->data()), bytes->size()};
  }
  std::wstring Text(std::uint32_t id, platform::LangId language) { return Ports().resources->LoadString(id, language); }
};

TEST_F(ResourcesContract, PackageResourcesAreFoundInExactlyTheLanguageAskedFor) {
  EXPECT_EQ(Find(L"CONTRACT_PACKAGE", kEnglish), CONTRACT_ENGLISH_PACKAGE_BYTES);
  EXPECT_EQ(Find(L"CONTRACT_PACKAGE", kGerman), CONTRACT_GERMAN_PACKAGE_BYTES);
  EXPECT_EQ(Find(L"CONTRACT_GERMAN_ONLY", kGerman), CONTRACT_GERMAN_ONLY_BYTES);
  EXPECT_EQ(Find(L"CONTRACT_GERMAN_ONLY", kEnglish), "<none>");
  EXPECT_EQ(Find(L"CONTRACT_MISSING", kEnglish), "<none>");
}

TEST_F(ResourcesContract, WithoutALanguageUsEnglishComesFirstThenAnyLanguage) {
  EXPECT_EQ(Find(L"CONTRACT_PACKAGE", std::nullopt), CONTRACT_ENGLISH_PACKAGE_BYTES);
  EXPECT_EQ(Find(L"CONTRACT_GERMAN_ONLY", std::nullopt), CONTRACT_GERMAN_ONLY_BYTES);
  EXPECT_EQ(Find(L"CONTRACT_MISSING", std::nullopt), "<none>");
}

TEST_F(ResourcesContract, PackageResourceNamesIgnoreCase) {
  EXPECT_EQ(Find(L"contract_package", kGerman), CONTRACT_GERMAN_PACKAGE_BYTES);
  EXPECT_EQ(Find(L"Contract_German_Only", std::nullopt), CONTRACT_GERMAN_ONLY_BYTES);
}

TEST_F(ResourcesContract, LauncherTextsKeepTheirEscapesAndCharacters) {
  EXPECT_EQ(Text(IDS_HELP_LOGGING_DESCRIPTION, kEnglish),
            L"Enable logging. To create a full log file of the installation use:\n\t%s /L*xv! C:\\tmp\\install.log\n"
            L"The parent folder must exist und you need sufficient privileges to write to it.");
  EXPECT_EQ(Text(IDS_MSG_OTHER_VERSION_INSTALLED, kGerman),
            L"Eine andere Version dieses Produkts ist bereits installiert.\nDie Installation dieser Version kann "
            L"nicht fortgesetzt werden.\nUm die vorhandene Version dieses Produkts zu konfigurieren oder zu\n"
            L"entfernen, verwenden Sie in der Systemsteuerung die Option \u201ESoftware\u201C.");
  EXPECT_EQ(Text(IDS_MSG_ALREADY_RUNNING, kJapanese),
            L"\u5225\u306E\u30D7\u30ED\u30B0\u30E9\u30E0\u3092\u30A4\u30F3\u30B9\u30C8\u30FC\u30EB\u4E2D\u3067\u3059"
            L"\u3002\u305D\u306E\u30A4\u30F3\u30B9\u30C8\u30FC\u30EB\u304C\u5B8C\u4E86\u3059\u308B\u307E\u3067\u5F85"
            L"\u3063\u3066\u304B\u3089\u3001\u3053\u306E\u30BD\u30D5\u30C8\u30A6\u30A7\u30A2\u306E\u30A4\u30F3\u30B9"
            L"\u30C8\u30FC\u30EB\u3092\u3082\u3046\u4E00\u5EA6\u5B9F\u884C\u3057\u3066\u304F\u3060\u3055\u3044\u3002");
}

TEST_F(ResourcesContract, MissingTextsAreEmpty) {
  EXPECT_EQ(Text(IDS_MSG_ALREADY_RUNNING - 1, kEnglish), L"");  // an empty slot of an existing block
  EXPECT_EQ(Text(60000, kEnglish), L"");                        // a block that does not exist
  EXPECT_EQ(Text(IDS_MSG_ALREADY_RUNNING, kRussian), L"");
}

}  // namespace
}  // namespace setup::contracts
