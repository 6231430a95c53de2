#include "foundation/xml_ini_file.h"

#include <gtest/gtest.h>

#include "foundation/text.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

class XmlIniFileTest : public ::testing::Test {
 protected:
  void Write(std::string_view bytes) { ASSERT_TRUE(host_.Files().WriteFile(kPath, bytes)); }
  std::string Read() { return host_.Files().ReadFile(kPath).value_or("<missing>"); }
  ICBSXMLIniFile Open() { return ICBSXMLIniFile(host_, ICBSFilePath(kPath)); }

  static std::string Frame(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<config xmlns=\"" + ToUtf8(kProcessingServerConfigNamespace) +
           "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:schemaLocation=\"" +
           ToUtf8(kProcessingServerConfigNamespace) + " " + ToUtf8(kProcessingServerConfigSchemaFile) + "\">\r\n" +
           std::string(body) + "\r\n</config>\r\n";
  }

  static constexpr const wchar_t* kPath = L"C:\\Work\\server.xml";
  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
};

TEST_F(XmlIniFileTest, ParsesSettingLines) {
  const auto parse = [](const wchar_t* text) { return ICBSXMLIniFile::ParseLine(text); };
  auto line = parse(L"    <http.port>8080</http.port>  ");
  EXPECT_TRUE(line.recognised && !line.commented && !line.malformed);
  EXPECT_EQ(line.section, L"http");
  EXPECT_EQ(line.key, L"port");
  EXPECT_EQ(line.value, L"8080");

  line = parse(L"<!--  <a.b.c attr=\"1\">x y</a.b.c> -->");
  EXPECT_TRUE(line.recognised && line.commented && !line.malformed);
  EXPECT_EQ(line.section, L"a");
  EXPECT_EQ(line.key, L"b.c");
  EXPECT_EQ(line.value, L"x y");

  line = parse(L"<timeout/>");
  EXPECT_TRUE(line.recognised);
  EXPECT_EQ(line.section, L"");
  EXPECT_EQ(line.key, L"timeout");
  EXPECT_EQ(line.value, L"");

  // Neither recognised nor malformed: plain comments, text, an element continued below.
  for (const wchar_t* text : {L"<!-- just a comment -->", L"text", L"<a.b>starts here"}) {
    line = parse(text);
    EXPECT_FALSE(line.recognised || line.malformed) << text;
  }
  // Malformed.
  for (const wchar_t* text : {L"<a/b>", L"<a.b attr", L"<a>1</a> tail", L"<!--<a>1</a>", L"<!--<a>1</a>--> x",
                              L"<unterminated"}) {
    line = parse(text);
    EXPECT_TRUE(line.malformed && !line.recognised) << text;
  }
}

TEST_F(XmlIniFileTest, ReadsOnlyActiveSettings) {
  Write(Frame("    <port>1</port>\r\n    <!--<http.enable>1</http.enable>-->\r\n    <HTTP.Port>80</HTTP.Port>"));
  ICBSXMLIniFile xml = Open();
  EXPECT_TRUE(xml.IsLoaded());
  EXPECT_FALSE(xml.HasErrors());
  EXPECT_EQ(xml.GetValue(L"port"), L"1");
  EXPECT_EQ(xml.GetValue(L"http.port"), L"80");
  EXPECT_FALSE(xml.HasValue(L"http.enable"));
  EXPECT_EQ(xml.GetValue(L"http", L"enable"), L"");
}

TEST_F(XmlIniFileTest, UnchangedFileIsNotWrittenAndErrorsAreReported) {
  const std::string original = "<?xml version=\"1.0\"?>\r\n<config>\r\n    <a>1</a> junk\r\n</config>\r\n";
  Write(original);
  {
    ICBSXMLIniFile xml = Open();
    EXPECT_TRUE(xml.HasErrors());
    EXPECT_FALSE(xml.SetValue(L"b", L""));
    EXPECT_FALSE(xml.IsModified());
  }
  EXPECT_EQ(Read(), original);
}

TEST_F(XmlIniFileTest, UncommentingAndCommentingOut) {
  Write(Frame("    <!--<http.enable>1</http.enable>-->\r\n    <http.port>80</http.port>\r\n    <tls>on</tls>"));
  {
    ICBSXMLIniFile xml = Open();
    EXPECT_TRUE(xml.SetValue(L"http.enable", L"0"));
    EXPECT_EQ(xml.GetValue(L"http.enable"), L"0");
    EXPECT_TRUE(xml.SetValue(L"http.port", L""));  // an empty value comments the setting out
    EXPECT_FALSE(xml.HasValue(L"http.port"));
    EXPECT_FALSE(xml.SetValue(L"http.port", L""));  // already commented out
    EXPECT_TRUE(xml.SetValue(L"tls", std::nullopt));
  }
  EXPECT_EQ(Read(), Frame("    <http.enable>0</http.enable>\r\n    <!--<http.port>80</http.port>-->\r\n"
                          "    <!--<tls>on</tls>-->"));
}

TEST_F(XmlIniFileTest, UncommentingWithTheStoredValueReportsNoChangeButSaves) {
  Write(Frame("<!--<a.b>1</a.b>-->"));
  {
    ICBSXMLIniFile xml = Open();
    EXPECT_FALSE(xml.SetValue(L"a.b", L"1"));
    EXPECT_TRUE(xml.IsModified());
  }
  EXPECT_EQ(Read(), Frame("    <a.b>1</a.b>"));
}

TEST_F(XmlIniFileTest, NewSettingsAreInsertedByTheirSection) {
  Write(Frame("<!-- top -->\r\n    <port>1</port>\r\n    <http.a>1</http.a>\r\n    <http.b>2</http.b>"));
  {
    ICBSXMLIniFile xml = Open();
    EXPECT_TRUE(xml.SetValue(L"HTTP.c", L"3"));   // just before the last line of its section
    EXPECT_TRUE(xml.SetValue(L"https.port", L"443"));  // a new section: blank line first
    EXPECT_TRUE(xml.SetValue(L"host", L"h"));      // the unnamed section: before its last line
    EXPECT_FALSE(xml.SetValue(L"none.x", L""));
  }
  EXPECT_EQ(Read(), Frame("<!-- top -->\r\n    <host>h</host>\r\n    <port>1</port>\r\n\r\n    <https.port>443</https.port>\r\n"
                          "    <http.a>1</http.a>\r\n    <HTTP.c>3</HTTP.c>\r\n    <http.b>2</http.b>"));
}

TEST_F(XmlIniFileTest, MissingFileGetsFrameOnSave) {
  {
    ICBSXMLIniFile xml(host_, ICBSFilePath(L"C:\\Conf\\Sub\\new.xml"));
    EXPECT_FALSE(xml.IsLoaded());
    EXPECT_TRUE(xml.SetValue(L"http.port", L"8080"));
  }
  EXPECT_EQ(host_.Files().ReadFile(L"C:\\Conf\\Sub\\new.xml").value_or(""), Frame("\r\n    <http.port>8080</http.port>"));
}

}  // namespace
}  // namespace setup
