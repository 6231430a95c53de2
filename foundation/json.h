// The in-house JSON reader: turns a document held in memory as wide text, whose top level is
// an object, into a tree of values. It is deliberately simple: strings and member names have
// no escape sequences, trailing commas are accepted, a repeated member name keeps the last
// value, and keywords are matched as prefixes. Syntax errors throw ICBSJsonException.
#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/format.h"

namespace setup {

class ICBSJsonException : public std::exception {
 public:
  template <class... Args>
  explicit ICBSJsonException(FormatText<std::type_identity_t<Args>...> format, const Args&... args)
      : message_(Format<Args...>(format, args...)), narrow_(NarrowCopy(message_)) {}

  const std::wstring& Message() const { return message_; }
  const char* what() const noexcept override { return narrow_.c_str(); }

 private:
  static std::string NarrowCopy(const std::wstring& message);

  std::wstring message_;
  std::string narrow_;
};

enum class JsonType : std::int32_t { Null = 0, Object = 1, Array = 2, String = 3, Boolean = 4, Number = 5 };

// Orders member names by their UTF-16 code units, the same order on every platform.
struct Utf16Less {
  bool operator()(const std::wstring& a, const std::wstring& b) const;
};

class JsonValue;
using JsonObject = std::map<std::wstring, std::unique_ptr<JsonValue>, Utf16Less>;
using JsonArray = std::vector<std::unique_ptr<JsonValue>>;

class JsonValue {
 public:
  JsonValue() = default;
  explicit JsonValue(JsonObject members) : payload_(std::move(members)) {}
  explicit JsonValue(JsonArray elements) : payload_(std::move(elements)) {}
  explicit JsonValue(std::wstring text) : payload_(std::move(text)) {}
  explicit JsonValue(bool value) : payload_(value) {}
  explicit JsonValue(double value) : payload_(value) {}

  JsonType Type() const { return static_cast<JsonType>(payload_.index()); }

  // Object members. GetMember throws "No value with name '%s' is defined." for a missing name.
  bool HasMember(const std::wstring& name) const;
  const JsonValue& GetMember(const std::wstring& name) const;
  const JsonObject& Members() const;

  // Throws "JSON Type mismatch" when the value has another type.
  const JsonArray& Elements() const;
  const std::wstring& AsString() const;
  bool AsBoolean() const;
  double AsNumber() const;

 private:
  std::variant<std::monostate, JsonObject, JsonArray, std::wstring, bool, double> payload_;
};

// Objects and arrays nested deeper than this are rejected with an ICBSJsonException, so that
// no document can exhaust the stack of the reader.
inline constexpr int kMaxJsonNesting = 200;

// Parses the document up to its first zero character (or its end). Returns the root object.
std::unique_ptr<JsonValue> ParseJsonDocument(std::wstring_view document);

}  // namespace setup
