// A small JSON reader for setup descriptions: strings stay UTF-8, objects keep member order,
// and every syntax error names its line and column.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace setup::pack {

class JsonValue {
 public:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

  Kind GetKind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::kNull; }
  bool IsString() const { return kind_ == Kind::kString; }
  bool IsNumber() const { return kind_ == Kind::kNumber; }
  bool IsArray() const { return kind_ == Kind::kArray; }
  bool IsObject() const { return kind_ == Kind::kObject; }

  // Text of a string, or the literal text of a number.
  const std::string& Text() const { return text_; }
  bool Bool() const { return flag_; }
  const std::vector<JsonValue>& Items() const { return items_; }
  const std::vector<std::pair<std::string, JsonValue>>& Members() const { return members_; }
  // The member of an object, or null when there is none.
  const JsonValue* Find(std::string_view name) const;

  static JsonValue Parse(std::string_view text);  // throws PackError

 private:
  friend class JsonParser;
  Kind kind_ = Kind::kNull;
  bool flag_ = false;
  std::string text_;
  std::vector<JsonValue> items_;
  std::vector<std::pair<std::string, JsonValue>> members_;
};

const char* KindName(JsonValue::Kind kind);

}  // namespace setup::pack
