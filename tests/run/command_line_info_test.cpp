#include "run/command_line_info.h"

#include <gtest/gtest.h>

namespace setup {

void PrintTo(const CommandLineProperty& property, std::ostream* out) {
  *out << testing::PrintToString(property.name + L"=" + property.value);
}

namespace {

using Properties = std::vector<CommandLineProperty>;

CSetupAppCommandLineInfo Parse(std::vector<std::wstring> arguments) {
  CSetupAppCommandLineInfo info;
  info.ParseArguments(arguments);
  return info;
}

TEST(CommandLineSwitches, UiLevelLettersAndPlus) {
  EXPECT_EQ(Parse({}).UiLevel().Value(), 0x85);
  EXPECT_EQ(Parse({L"/q"}).UiLevel().Value(), 2);
  EXPECT_EQ(Parse({L"-Q"}).UiLevel().Value(), 2);
  EXPECT_EQ(Parse({L"/qb+"}).UiLevel().Value(), 0x83);
  EXPECT_EQ(Parse({L"/qn+"}).UiLevel().Value(), 0x82);
  EXPECT_EQ(Parse({L"/q+"}).UiLevel().Value(), 0x82);
  EXPECT_EQ(Parse({L"/qr"}).UiLevel().Value(), 4);
  EXPECT_EQ(Parse({L"/qf+"}).UiLevel().Value(), 0x85);
  // Administrators' scripts write the letters in either case.
  EXPECT_EQ(Parse({L"/QN"}).UiLevel().Value(), 2);
  EXPECT_EQ(Parse({L"/Qb+"}).UiLevel().Value(), 0x83);
  EXPECT_FALSE(Parse({L"/QR"}).IsInvalid());
  for (const wchar_t* valid : {L"/q", L"/qn", L"/qb+", L"/q+"}) EXPECT_FALSE(Parse({valid}).IsInvalid()) << valid;
  for (const wchar_t* invalid : {L"/qx", L"/qb+x", L"/qbx", L"/q+b"}) EXPECT_TRUE(Parse({invalid}).IsInvalid()) << invalid;
  // An unknown level letter keeps level 2, and a "+" after it still adds the end dialog.
  EXPECT_EQ(Parse({L"/qx+"}).UiLevel().Value(), 0x82);
}

TEST(UiLevelQuestions, EveryLevelOfTheQSwitch) {
  struct Case {
    const wchar_t* argument;
    bool quiet, full, endDialog;
  };
  for (const Case& c : {Case{L"/qn", true, false, false}, Case{L"/qn+", true, false, true},
                        Case{L"/qb", true, false, false}, Case{L"/qb+", true, false, true},
                        Case{L"/qr", false, false, false}, Case{L"/qr+", false, false, true},
                        Case{L"/qf", false, true, false}, Case{L"/qf+", false, true, true}}) {
    const UiLevel level = Parse({c.argument}).UiLevel();
    EXPECT_EQ(level.IsQuiet(), c.quiet) << c.argument;
    EXPECT_EQ(level.IsFull(), c.full) << c.argument;
    EXPECT_EQ(level.HasEndDialog(), c.endDialog) << c.argument;
  }
  EXPECT_EQ(Parse({}).UiLevel(), UiLevel::Full().WithEndDialog());
}

TEST(CommandLineSwitches, HelpValidationAndUnknownSwitches) {
  EXPECT_TRUE(Parse({L"/?"}).IsHelp());
  EXPECT_TRUE(Parse({L"-H"}).IsHelp());
  EXPECT_TRUE(Parse({L"/V"}).IsValidate());
  EXPECT_TRUE(Parse({L"/z"}).IsInvalid());
  EXPECT_TRUE(Parse({L"/xx"}).IsInvalid());
  EXPECT_TRUE(Parse({L"plainword"}).IsInvalid());
}

TEST(CommandLineSwitches, LoggingLettersPathAndAttributes) {
  const auto plain = Parse({L"/L", L"log.txt"});
  EXPECT_EQ(plain.LogMode(), 0x397u);
  EXPECT_EQ(plain.LogPath(), L"log.txt");

  const auto verbose = Parse({L"/L*v", L"lang=German", L"log.txt"});
  EXPECT_EQ(verbose.LogMode(), 0x1F9Fu);
  EXPECT_EQ(verbose.Language(), L"German");
  EXPECT_EQ(verbose.LogPath(), L"log.txt");

  const auto attributes = Parse({L"/L*xv+!", L"x.log"});
  EXPECT_EQ(attributes.LogMode(), 0x3F9Fu);
  EXPECT_EQ(attributes.LogAttributes(), 0x3u);
  // Letters count in either case; unknown ones are ignored.
  EXPECT_EQ(Parse({L"/LEV", L"x.log"}).LogMode(), 0x1002u);
  EXPECT_EQ(Parse({L"/Lie", L"x.log"}).LogMode(), 0x12u);
  EXPECT_EQ(Parse({L"/Lqz", L"x.log"}).LogMode(), 0u);
}

TEST(CommandLineSwitches, RepairLetters) {
  EXPECT_EQ(Parse({L"/f"}).ReinstallMode(), 0x7C0u);
  EXPECT_EQ(Parse({L"/fpa"}).ReinstallMode(), 0x42u);
  EXPECT_EQ(Parse({L"/fdm"}).ReinstallMode(), 0u);
  EXPECT_EQ(Parse({L"/fpoecausv"}).ReinstallMode(), 0x76Eu);
  EXPECT_EQ(Parse({L"/FPA"}).ReinstallMode(), 0x42u);
  EXPECT_TRUE(Parse({L"/F"}).IsRepair());
}

TEST(CommandLineSwitches, ModeSwitchRefusedOnlyWhenTheOtherThreeAreSet) {
  const auto three = Parse({L"/a", L"/x", L"/u"});
  EXPECT_TRUE(three.IsAdministrative() && three.IsUninstall() && three.IsExtract());
  EXPECT_FALSE(three.IsInvalid());

  const auto refused = Parse({L"/a", L"/x", L"/u", L"/f"});
  EXPECT_TRUE(refused.IsInvalid());
  EXPECT_FALSE(refused.IsRepair());

  const auto mixed = Parse({L"/f", L"/x", L"/a"});
  EXPECT_FALSE(mixed.IsInvalid());
  EXPECT_TRUE(mixed.IsRepair() && mixed.IsUninstall() && mixed.IsAdministrative());
}

TEST(CommandLineArguments, NamedArgumentsAndPaths) {
  const auto info = Parse({L"TRANSFORMS=a.mst", L"transforms=b.mst", L"LANG=French", L"subPackages=\"Wendrak,Yarrick\"",
                           L"workload=\"C:\\w.json\"", L"/m", L"status.mif"});
  EXPECT_EQ(info.Transforms(), L"a.mst");
  ASSERT_EQ(info.Properties().size(), 1u);
  EXPECT_EQ(info.Properties()[0], (CommandLineProperty{L"transforms", L"b.mst"}));  // a second TRANSFORMS= is a property
  EXPECT_EQ(info.Language(), L"French");
  EXPECT_EQ(info.SubPackages(), L"Wendrak,Yarrick");
  EXPECT_EQ(info.Workload(), L"C:\\w.json");
  EXPECT_EQ(info.MifPath(), L"status.mif");
  EXPECT_FALSE(info.IsInvalid());
  EXPECT_EQ(Parse({L"subPackages=ALL"}).SubPackages(), L"");
}

TEST(CommandLineArguments, PropertiesKeepNameAndValueTrimmedButOtherwiseAsGiven) {
  const auto info = Parse({L"INSTALLDIR=C:\\Program Files\\X", L"NAME=", L" FOO = bar ", L"Q=\"already quoted\"",
                           L"TAB=\tvalue\t", L"EQ=a=b"});
  EXPECT_EQ(info.Properties(), (Properties{{L"INSTALLDIR", L"C:\\Program Files\\X"},
                                           {L"NAME", L""},
                                           {L"FOO", L"bar"},
                                           {L"Q", L"\"already quoted\""},
                                           {L"TAB", L"value"},
                                           {L"EQ", L"a=b"}}));
}

TEST(CommandLineArguments, LauncherArgumentNamesIgnoreCaseAndNeedTheirEqualsSign) {
  for (const wchar_t* name : {L"TRANSFORMS", L"lang", L"LANG", L"SubPackages", L"subpackages", L"Workload"}) {
    EXPECT_TRUE(IsLauncherArgumentName(name)) << name;
  }
  for (const wchar_t* name : {L"lang ", L"language", L"TRANSFORM", L""}) EXPECT_FALSE(IsLauncherArgumentName(name)) << name;
  // Without its "=" the name is no argument of the launcher: it ends up as a property or invalid.
  const auto info = Parse({L"langX=1", L"lang"});
  EXPECT_TRUE(info.Language().empty());
  EXPECT_EQ(info.Properties(), (Properties{{L"langX", L"1"}}));
  EXPECT_TRUE(info.IsInvalid());
}

TEST(CommandLineArguments, FastOemEndOfParseRule) {
  const auto on = Parse({L"FASTOEM=1", L"ALLUSERS=1", L"/qn"});
  EXPECT_TRUE(on.IsFastOem());
  EXPECT_EQ(on.Properties(), (Properties{{L"FASTOEM", L"1"}, {L"ALLUSERS", L"1"}}));

  const auto alone = Parse({L"FASTOEM=1"});
  EXPECT_FALSE(alone.IsFastOem());
  EXPECT_TRUE(alone.Properties().empty());

  // Full UI, or a repair, keeps fast OEM mode off and drops the property.
  EXPECT_FALSE(Parse({L"FASTOEM=1", L"ALLUSERS=1"}).IsFastOem());
  const auto repair = Parse({L"/f", L"FASTOEM=1", L"ALLUSERS=1", L"/qn"});
  EXPECT_FALSE(repair.IsFastOem());
  EXPECT_EQ(repair.Properties(), (Properties{{L"ALLUSERS", L"1"}}));
  // The flags are case-sensitive.
  EXPECT_FALSE(Parse({L"fastoem=1", L"ALLUSERS=1", L"/qn"}).IsFastOem());
}

TEST(CommandLineArguments, ToggleUninstall) {
  auto info = Parse({L"/x"});
  info.ToggleUninstall();
  EXPECT_FALSE(info.IsUninstall());
}

}  // namespace
}  // namespace setup
