#include "foundation/json.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

// The message of the exception the document raises; empty when it parses.
std::wstring ParseError(std::wstring_view document) {
  try {
    ParseJsonDocument(document);
  } catch (const ICBSJsonException& e) {
    return e.Message();
  }
  return {};
}

TEST(JsonReader, AcceptsLooseForms) {
  EXPECT_TRUE(ParseJsonDocument(L"{}")->Members().empty());
  EXPECT_TRUE(ParseJsonDocument(L" \t\r\n{ \n }\r\n ")->Members().empty());

  const auto doc = ParseJsonDocument(L"{\"a\":1,\"list\":[1,],\"a\":2,}");
  EXPECT_EQ(doc->GetMember(L"a").AsNumber(), 2);
  EXPECT_EQ(doc->GetMember(L"list").Elements().size(), 1u);
  EXPECT_EQ(doc->Members().size(), 2u);

  // No escapes: a backslash is an ordinary character of strings and names.
  const auto raw = ParseJsonDocument(L"{\"C:\\dir\\\" : \"a\\b\"}");
  EXPECT_EQ(raw->GetMember(L"C:\\dir\\").AsString(), L"a\\b");

  // Text after the terminating zero character is not part of the document.
  EXPECT_TRUE(ParseJsonDocument(std::wstring_view(L"{}\0garbage", 10))->Members().empty());
}

TEST(JsonReader, ValuesOfEveryType) {
  const auto doc = ParseJsonDocument(
      L"{\"s\":\"x y\",\"n\":-12.5e1,\"t\":true,\"f\":false,\"z\":null,\"o\":{\"k\":[]},\"e\":\"\"}");
  EXPECT_EQ(doc->Type(), JsonType::Object);
  EXPECT_EQ(doc->GetMember(L"s").AsString(), L"x y");
  EXPECT_EQ(doc->GetMember(L"n").AsNumber(), -125.0);
  EXPECT_TRUE(doc->GetMember(L"t").AsBoolean());
  EXPECT_FALSE(doc->GetMember(L"f").AsBoolean());
  EXPECT_EQ(doc->GetMember(L"z").Type(), JsonType::Null);
  EXPECT_EQ(doc->GetMember(L"o").GetMember(L"k").Type(), JsonType::Array);
  EXPECT_EQ(doc->GetMember(L"e").AsString(), L"");
}

TEST(JsonReader, MembersAreOrderedByUtf16CodeUnits) {
  // U+1F600 is written with a lead surrogate U+D83D, which sorts before U+E000.
  const auto doc = ParseJsonDocument(L"{\"\uE000\":1,\"\U0001F600\":2,\"b\":3,\"B\":4}");
  std::vector<std::wstring> names;
  for (const auto& [name, value] : doc->Members()) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"b", L"\U0001F600", L"\uE000"}));
}

TEST(JsonReader, ExactMessagesOfSyntaxErrors) {
  const struct {
    const wchar_t* document;
    const wchar_t* message;
  } cases[] = {
      {L"", L"Expected JSON array."},
      {L"[1]", L"Expected JSON array."},
      {L"{\"a\":[1 2]}", L"Expected JSON array separator ',' or array end character ']'"},
      {L"{\"a\":1 \"b\":2}", L"Expected JSON map separator ',' or map end character '}'"},
      {L"{\"a\":truex}", L"Expected JSON map separator ',' or map end character '}'"},
      {L"{\"a\":\"x\\\"y\"}", L"Expected JSON map separator ',' or map end character '}'"},
      {L"{a:1}", L"Expected JSON name start character '\"'"},
      {L"{\"a\":1,,}", L"Expected JSON name start character '\"'"},
      {L"{\"abc", L"Expected JSON name end character '\"'"},
      {L"{\"a\":\"abc}", L"Expected JSON name end character '\"'"},
      {L"{\"a\" 1}", L"Expected JSON name/value separator character ':'"},
      {L"{\"a\":-}", L"Expected JSON number value."},
      {L"{\"a\":1e999}", L"Expected JSON number value."},
      {L"{\"a\":tru}", L"unexpected JSON value"},
      {L"{\"a\":}", L"unexpected JSON value"},
      {L"{\"a\":[1,", L"unexpected JSON value"},
      {L"{} x", L"No trailing charcters expected after JSON object."},
      {L"{\"a\":{}", L"Expected JSON map separator ',' or map end character '}'"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseError(c.document), c.message) << c.document;
}

TEST(JsonReader, LookupsAndTypeChecks) {
  const auto doc = ParseJsonDocument(L"{\"a\":1,\"s\":\"t\"}");
  EXPECT_TRUE(doc->HasMember(L"a"));
  EXPECT_FALSE(doc->HasMember(L"A"));
  try {
    doc->GetMember(L"A");
    ADD_FAILURE() << "a missing member must throw";
  } catch (const ICBSJsonException& e) {
    EXPECT_EQ(e.Message(), L"No value with name 'A' is defined.");
    EXPECT_STREQ(e.what(), "No value with name 'A' is defined.");
  }
  EXPECT_THROW(doc->GetMember(L"a").AsString(), ICBSJsonException);
  EXPECT_THROW(doc->GetMember(L"s").Elements(), ICBSJsonException);
  EXPECT_THROW(doc->GetMember(L"s").GetMember(L"x"), ICBSJsonException);
  try {
    doc->GetMember(L"a").AsString();
  } catch (const ICBSJsonException& e) {
    EXPECT_EQ(e.Message(), L"JSON Type mismatch");
  }
}

TEST(JsonReader, DeepNestingIsRejectedWithoutExhaustingTheStack) {
  const auto nested = [](int depth) {
    std::wstring text = L"{\"a\":";
    for (int i = 1; i < depth; ++i) text += L"[";
    for (int i = 1; i < depth; ++i) text += L"]";
    return text + L"}";
  };
  EXPECT_EQ(ParseError(nested(kMaxJsonNesting)), L"");
  EXPECT_EQ(ParseError(nested(kMaxJsonNesting + 1)),
            L"JSON objects and arrays nested deeper than 200 levels are not supported.");
  EXPECT_EQ(ParseError(std::wstring(1'000'000, L'[')), L"Expected JSON array.");
  EXPECT_EQ(ParseError(L"{\"a\":" + std::wstring(1'000'000, L'[')),
            L"JSON objects and arrays nested deeper than 200 levels are not supported.");
}

}  // namespace
}  // namespace setup
