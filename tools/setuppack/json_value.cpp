#include "json_value.h"

#include <cctype>

#include "pack_error.h"

namespace setup::pack {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value(0);
    SkipBlanks();
    if (at_ != text_.size()) Fail("unexpected text after the end of the document");
    return value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  [[noreturn]] void Fail(const std::string& what) const {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < at_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    throw PackError("malformed JSON at line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what);
  }

  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) ++at_;
  }

  char Peek() {
    SkipBlanks();
    if (at_ >= text_.size()) Fail("unexpected end of the document");
    return text_[at_];
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++at_;
  }

  bool Literal(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  JsonValue Value(int depth) {
    if (depth > kMaxDepth) Fail("nested too deeply");
    JsonValue value;
    char c = Peek();
    if (c == '{') {
      value.kind_ = JsonValue::Kind::kObject;
      ++at_;
      if (Peek() == '}') {
        ++at_;
        return value;
      }
      for (;;) {
        if (Peek() != '"') Fail("expected a member name");
        std::string name = String();
        Expect(':');
        value.members_.emplace_back(std::move(name), Value(depth + 1));
        if (Peek() == ',') {
          ++at_;
          continue;
        }
        Expect('}');
        return value;
      }
    }
    if (c == '[') {
      value.kind_ = JsonValue::Kind::kArray;
      ++at_;
      if (Peek() == ']') {
        ++at_;
        return value;
      }
      for (;;) {
        value.items_.push_back(Value(depth + 1));
        if (Peek() == ',') {
          ++at_;
          continue;
        }
        Expect(']');
        return value;
      }
    }
    if (c == '"') {
      value.kind_ = JsonValue::Kind::kString;
      value.text_ = String();
      return value;
    }
    if (Literal("true") || Literal("false")) {
      value.kind_ = JsonValue::Kind::kBool;
      value.flag_ = c == 't';
      return value;
    }
    if (Literal("null")) return value;
    if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      value.kind_ = JsonValue::Kind::kNumber;
      value.text_ = Number();
      return value;
    }
    Fail(std::string("unexpected character '") + c + "'");
  }

  std::string Number() {
    std::size_t start = at_;
    if (text_[at_] == '-') ++at_;
    auto digits = [&] {
      std::size_t first = at_;
      while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
      if (at_ == first) Fail("malformed number");
    };
    digits();
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      digits();
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      digits();
    }
    return std::string(text_.substr(start, at_ - start));
  }

  unsigned Hex4() {
    if (text_.size() - at_ < 4) Fail("truncated \\u escape");
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      char c = text_[at_++];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
      else Fail("malformed \\u escape");
    }
    return value;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string String() {
    ++at_;  // opening quote
    std::string out;
    for (;;) {
      if (at_ >= text_.size()) Fail("unterminated string");
      char c = text_[at_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) Fail("unterminated string");
      char escape = text_[at_++];
      switch (escape) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned code = Hex4();
          if (code >= 0xD800 && code < 0xDC00 && Literal("\\u")) {
            unsigned low = Hex4();
            if (low < 0xDC00 || low >= 0xE000) Fail("unpaired surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xD800 && code < 0xE000) {
            Fail("unpaired surrogate");
          }
          AppendUtf8(out, code);
          break;
        }
        default: Fail(std::string("unknown escape '\\") + escape + "'");
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const auto& [member, value] : members_) {
    if (member == name) return &value;
  }
  return nullptr;
}

JsonValue JsonValue::Parse(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return JsonParser(text).Document();
}

const char* KindName(JsonValue::Kind kind) {
  switch (kind) {
    case JsonValue::Kind::kNull: return "null";
    case JsonValue::Kind::kBool: return "a boolean";
    case JsonValue::Kind::kNumber: return "a number";
    case JsonValue::Kind::kString: return "a string";
    case JsonValue::Kind::kArray: return "an array";
    case JsonValue::Kind::kObject: return "an object";
  }
  return "a value";
}

}  // namespace setup::pack
