#include "foundation/ini_file.h"

#include <gtest/gtest.h>

#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void Write(std::string_view bytes) { ASSERT_TRUE(host_.Files().WriteFile(kPath, bytes)); }
  std::string Read() { return host_.Files().ReadFile(kPath).value_or("<missing>"); }
  ICBSIniFile Open() { return ICBSIniFile(host_, ICBSFilePath(kPath)); }

  static constexpr const wchar_t* kPath = L"C:\\Work\\server.ini";
  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
};

TEST_F(IniFileTest, ReadsSectionsKeysAndContinuationLines) {
  Write("; settings\r\nport = 8080\r\n\r\n[Listen]\r\n  Port\t=\t443  \r\nhost=a\r\n  b\r\n\tc\r\n[Empty]\r\n");
  ICBSIniFile ini = Open();
  EXPECT_TRUE(ini.IsLoaded());
  EXPECT_FALSE(ini.HasErrors());
  EXPECT_FALSE(ini.IsModified());
  EXPECT_EQ(ini.GetValue(L"port"), L"8080");
  EXPECT_EQ(ini.GetValue(L"Listen::port"), L"443");
  EXPECT_EQ(ini.GetValue(L"LISTEN", L"PORT"), L"443");
  EXPECT_EQ(ini.GetValue(L"Listen::host"), L"a\r\n\tb\r\n\tc");
  EXPECT_TRUE(ini.HasValue(L"Listen::host"));
  EXPECT_FALSE(ini.HasValue(L"Listen::missing"));
  EXPECT_FALSE(ini.HasValue(L"Other::port"));
  EXPECT_EQ(ini.GetValue(L"Other::port"), L"");
}

TEST_F(IniFileTest, UnchangedFileIsNotWritten) {
  const std::string original = "; comment\r\n  key   =  value  \r\n[S]\r\nk=v\r\n";
  Write(original);
  {
    ICBSIniFile ini = Open();
    EXPECT_FALSE(ini.SetValue(L"key", L"value"));
    EXPECT_FALSE(ini.SetValue(L"S::K", L"v"));
    EXPECT_FALSE(ini.SetValue(L"S::absent", L""));
    EXPECT_FALSE(ini.IsModified());
  }
  EXPECT_EQ(Read(), original);
}

TEST_F(IniFileTest, SetValueRulesAndSavedLayout) {
  Write("// head\r\nport=1\r\n[Listen]\r\n; keep me\r\nport=2\r\nold=x\r\n");
  {
    ICBSIniFile ini = Open();
    EXPECT_TRUE(ini.SetValue(L"Listen::PORT", L"3"));     // replaced, key keeps its spelling
    EXPECT_TRUE(ini.SetValue(L"Listen::old", L""));       // an empty value deletes
    EXPECT_FALSE(ini.SetValue(L"Listen::old", L"" ));     // nothing left to delete
    EXPECT_TRUE(ini.SetValue(L"Listen::new", L"n"));      // appended to its section
    EXPECT_TRUE(ini.SetValue(L"Ssl", L"cert", L"c.pem"));  // a new section goes last
    EXPECT_TRUE(ini.SetValue(L"port", std::nullopt));     // a missing value deletes too
    EXPECT_TRUE(ini.IsModified());
  }  // saved on destruction
  EXPECT_EQ(Read(), "// head\r\n[Listen]\r\n; keep me\r\nport = 3\r\nnew = n\r\n[Ssl]\r\ncert = c.pem\r\n");
}

TEST_F(IniFileTest, ContinuedValuesSurviveASave) {
  Write("[S]\r\nlist=a\r\n  b\r\nother=1\r\n");
  {
    ICBSIniFile ini = Open();
    EXPECT_TRUE(ini.SetValue(L"S::other", L"2"));
  }
  // Written in text mode, the value's own line break gains a carriage return; read back in
  // text mode the value is the same.
  EXPECT_EQ(Read(), "[S]\r\nlist = a\r\r\n\tb\r\nother = 2\r\n");
  EXPECT_EQ(Open().GetValue(L"S::list"), L"a\r\n\tb");
}

TEST_F(IniFileTest, UnnamedSectionIsCreatedBeforeAllOthers) {
  Write("[A]\r\nk=v\r\n");
  {
    ICBSIniFile ini = Open();
    EXPECT_TRUE(ini.SetValue(L"top", L"1"));
    EXPECT_EQ(ini.GetValue(L"top"), L"1");
  }
  EXPECT_EQ(Read(), "top = 1\r\n[A]\r\nk = v\r\n");
}

TEST_F(IniFileTest, LinesItDoesNotInterpretAreKept) {
  // A line with "=" but no key, and a line without "=" that has no entry to continue, stay
  // as they are instead of turning into other settings.
  Write("orphan line\r\n= no key\r\n[A]\r\nalso orphan\r\nk=v\r\n");
  {
    ICBSIniFile ini = Open();
    EXPECT_EQ(ini.GetValue(L"A::k"), L"v");
    EXPECT_TRUE(ini.SetValue(L"A::k", L"w"));
  }
  EXPECT_EQ(Read(), "orphan line\r\n= no key\r\n[A]\r\nalso orphan\r\nk = w\r\n");
}

TEST_F(IniFileTest, MissingFileIsEmptyAndSaveCreatesItWithItsFolders) {
  const wchar_t* const path = L"C:\\New\\Deep\\Folder\\x.ini";
  {
    ICBSIniFile ini(host_, ICBSFilePath(path));
    EXPECT_FALSE(ini.IsLoaded());
    EXPECT_FALSE(ini.IsModified());
    EXPECT_EQ(ini.GetValue(L"a::b"), L"");
    EXPECT_FALSE(ini.SetValue(L"a::b", L""));  // the section is made, the entry is not
    EXPECT_TRUE(ini.IsModified());
    EXPECT_TRUE(ini.SetValue(L"a::b", L"\u00E9t\u00E9"));
  }
  // The C runtime's text mode in the "C" locale: one byte per character.
  EXPECT_EQ(host_.Files().ReadFile(path).value_or(""), "[a]\r\nb = \xE9t\xE9\r\n");
}

TEST_F(IniFileTest, FailedSaveKeepsTheModifiedFlag) {
  Write("k=v\r\n");
  ICBSIniFile ini = Open();
  ASSERT_TRUE(host_.Files().SetReadOnly(kPath, true));
  EXPECT_TRUE(ini.SetValue(L"k", L"w"));
  EXPECT_FALSE(ini.Save());
  EXPECT_TRUE(ini.IsModified());
  ASSERT_TRUE(host_.Files().SetReadOnly(kPath, false));
  EXPECT_TRUE(ini.Save());
  EXPECT_FALSE(ini.IsModified());
  EXPECT_EQ(Read(), "k = w\r\n");
}

}  // namespace
}  // namespace setup
