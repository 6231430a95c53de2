#include "foundation/json.h"

#include <charconv>
#include <cmath>

#include "foundation/text.h"

namespace setup {

std::string ICBSJsonException::NarrowCopy(const std::wstring& message) { return ToUtf8(message); }

bool Utf16Less::operator()(const std::wstring& a, const std::wstring& b) const {
  // A character beyond the basic plane is written as a surrogate pair whose first unit lies
  // below U+E000: compare by that unit first, then by the whole code point.
  const auto leadUnit = [](wchar_t c) -> std::uint32_t {
    const auto code = static_cast<std::uint32_t>(c);
    return code > 0xFFFF ? 0xD800 + ((code - 0x10000) >> 10) : code;
  };
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const std::uint32_t leadA = leadUnit(a[i]);
    const std::uint32_t leadB = leadUnit(b[i]);
    if (leadA != leadB) return leadA < leadB;
    return static_cast<std::uint32_t>(a[i]) < static_cast<std::uint32_t>(b[i]);
  }
  return a.size() < b.size();
}

bool JsonValue::HasMember(const std::wstring& name) const { return Members().contains(name); }

const JsonValue& JsonValue::GetMember(const std::wstring& name) const {
  const JsonObject& members = Members();
  const auto found = members.find(name);
  if (found == members.end()) throw ICBSJsonException(L"No value with name '%s' is defined.", name);
  return *found->second;
}

const JsonObject& JsonValue::Members() const {
  if (const auto* members = std::get_if<JsonObject>(&payload_)) return *members;
  throw ICBSJsonException(L"JSON Type mismatch");
}

const JsonArray& JsonValue::Elements() const {
  if (const auto* elements = std::get_if<JsonArray>(&payload_)) return *elements;
  throw ICBSJsonException(L"JSON Type mismatch");
}

const std::wstring& JsonValue::AsString() const {
  if (const auto* text = std::get_if<std::wstring>(&payload_)) return *text;
  throw ICBSJsonException(L"JSON Type mismatch");
}

bool JsonValue::AsBoolean() const {
  if (const auto* value = std::get_if<bool>(&payload_)) return *value;
  throw ICBSJsonException(L"JSON Type mismatch");
}

double JsonValue::AsNumber() const {
  if (const auto* value = std::get_if<double>(&payload_)) return *value;
  throw ICBSJsonException(L"JSON Type mismatch");
}

namespace {

// The blanks between tokens: the white-space characters of the basic plane, fixed here so
// that the reader accepts the same documents whatever the C library's locale says.
bool IsBlank(wchar_t c) {
  switch (c) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20: case 0x85: case 0xA0:
    case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Characters a number conversion may read: digits, signs, the decimal point, the exponent
// mark and the letters of "inf" and "nan(...)".
bool MayBelongToNumber(wchar_t c) {
  return IsDigit(c) || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'.' || c == L'+' ||
         c == L'-' || c == L'(' || c == L')' || c == L'_';
}

class Parser {
 public:
  explicit Parser(std::wstring_view text) : text_(text) {}

  std::unique_ptr<JsonValue> Document() {
    SkipBlanks();
    auto root = Object();
    SkipBlanks();
    if (!AtEnd()) throw ICBSJsonException(L"No trailing charcters expected after JSON object.");
    return root;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  // The current character; the zero character at the end of the text.
  wchar_t Peek() const { return AtEnd() ? L'\0' : text_[pos_]; }
  bool LooksAt(std::wstring_view word) const { return text_.substr(pos_, word.size()) == word; }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }

  // Counts one level of nesting for the lifetime of an object or array being parsed.
  class NestingLevel {
   public:
    explicit NestingLevel(int& depth) : depth_(depth) {
      if (++depth_ > kMaxJsonNesting) {
        throw ICBSJsonException(L"JSON objects and arrays nested deeper than %d levels are not supported.",
                                kMaxJsonNesting);
      }
    }
    ~NestingLevel() { --depth_; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;

   private:
    int& depth_;
  };

  std::unique_ptr<JsonValue> Value() {
    SkipBlanks();
    const wchar_t c = Peek();
    if (c == L'"') return std::make_unique<JsonValue>(QuotedText(Quoted::String));
    if (c == L'[') return Array();
    if (c == L'{') return Object();
    if (IsDigit(c) || c == L'-') return Number();
    if (LooksAt(L"null")) return Null();
    if (LooksAt(L"true") || LooksAt(L"false")) return Boolean();
    throw ICBSJsonException(L"unexpected JSON value");
  }

  std::unique_ptr<JsonValue> Object() {
    if (Peek() != L'{') throw ICBSJsonException(L"Expected JSON array.");
    NestingLevel level(depth_);
    ++pos_;
    JsonObject members;
    SkipBlanks();
    if (Peek() == L'}') {
      ++pos_;
      return std::make_unique<JsonValue>(std::move(members));
    }
    for (;;) {
      std::wstring name = QuotedText(Quoted::Name);
      SkipBlanks();
      if (Peek() != L':') throw ICBSJsonException(L"Expected JSON name/value separator character ':'");
      ++pos_;
      SkipBlanks();
      members.insert_or_assign(std::move(name), Value());
      SkipBlanks();
      const wchar_t c = Peek();
      if (c == L'}') break;
      if (c != L',') throw ICBSJsonException(L"Expected JSON map separator ',' or map end character '}'");
      ++pos_;
      SkipBlanks();
      if (Peek() == L'}') break;
    }
    ++pos_;
    return std::make_unique<JsonValue>(std::move(members));
  }

  std::unique_ptr<JsonValue> Array() {
    if (Peek() != L'[') throw ICBSJsonException(L"Expected JSON array.");
    NestingLevel level(depth_);
    ++pos_;
    JsonArray elements;
    for (;;) {
      SkipBlanks();
      if (Peek() == L']') break;
      elements.push_back(Value());
      SkipBlanks();
      const wchar_t c = Peek();
      if (c == L']') break;
      if (c != L',') throw ICBSJsonException(L"Expected JSON array separator ',' or array end character ']'");
      ++pos_;
    }
    ++pos_;
    return std::make_unique<JsonValue>(std::move(elements));
  }

  // A member name or a string: every character up to the next double quote, as it stands.
  enum class Quoted { Name, String };
  std::wstring QuotedText(Quoted kind) {
    if (Peek() != L'"') {
      if (kind == Quoted::Name) throw ICBSJsonException(L"Expected JSON name start character '\"'");
      throw ICBSJsonException(L"Expected JSON string start character '\"'");
    }
    const std::size_t start = pos_ + 1;
    const std::size_t end = text_.find(L'"', start);
    if (end == std::wstring_view::npos) throw ICBSJsonException(L"Expected JSON name end character '\"'");
    pos_ = end + 1;
    return std::wstring(text_.substr(start, end - start));
  }

  // What the C library's string-to-double conversion reads from here, apart from the
  // hexadecimal forms that no workload document uses.
  std::unique_ptr<JsonValue> Number() {
    if (!IsDigit(Peek()) && Peek() != L'-') throw ICBSJsonException(L"Expected JSON number value.");
    std::string candidate;
    for (std::size_t i = pos_; i < text_.size() && MayBelongToNumber(text_[i]); ++i) {
      candidate.push_back(static_cast<char>(text_[i]));
    }
    double value = 0;
    const auto [end, error] = std::from_chars(candidate.data(), candidate.data() + candidate.size(), value);
    if (error != std::errc() || end == candidate.data()) throw ICBSJsonException(L"Expected JSON number value.");
    pos_ += static_cast<std::size_t>(end - candidate.data());
    return std::make_unique<JsonValue>(value);
  }

  std::unique_ptr<JsonValue> Boolean() {
    for (const bool value : {true, false}) {
      const std::wstring_view word = value ? L"true" : L"false";
      if (LooksAt(word)) {
        pos_ += word.size();
        return std::make_unique<JsonValue>(value);
      }
    }
    throw ICBSJsonException(L"Expected JSON boolean value.");
  }

  std::unique_ptr<JsonValue> Null() {
    if (!LooksAt(L"null")) throw ICBSJsonException(L"Expected JSON 'null' object.");
    pos_ += 4;
    return std::make_unique<JsonValue>();
  }

  std::wstring_view text_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<JsonValue> ParseJsonDocument(std::wstring_view document) {
  return Parser(document.substr(0, document.find(L'\0'))).Document();
}

}  // namespace setup
