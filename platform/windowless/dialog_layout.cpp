#include "platform/windowless/dialog_layout.h"

#include <cstdint>

namespace setup::platform {

namespace {

// Dialog base units of the templates' font at 96 pixels per inch.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

constexpr std::uint32_t kStyleVisible = 0x10000000;   // WS_VISIBLE
constexpr std::uint32_t kStyleDisabled = 0x08000000;  // WS_DISABLED
constexpr std::uint32_t kStyleSetFont = 0x40;         // DS_SETFONT: a font follows the title
constexpr std::uint16_t kOrdinalMark = 0xFFFF;

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

// Reads the template's little-endian fields in order; any read past the end marks it broken.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

  bool Broken() const { return broken_; }

  std::uint32_t Number(std::size_t size) {
    if (offset_ + size > bytes_.size()) {
      broken_ = true;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::to_integer<std::uint32_t>(bytes_[offset_ + i]) << (8 * i);
    offset_ += size;
    return value;
  }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Number(2)); }
  std::uint32_t Dword() { return Number(4); }
  int Short() { return static_cast<std::int16_t>(Word()); }

  std::wstring Text() {
    std::wstring text;
    for (std::uint16_t c = Word(); c != 0 && !broken_; c = Word()) text.push_back(static_cast<wchar_t>(c));
    return text;
  }
  // A name or an ordinal (a class, a menu, a title); an ordinal reads as empty text.
  std::wstring NameOrOrdinal() {
    const std::uint16_t first = Word();
    if (first == 0) return {};
    if (first == kOrdinalMark) {
      Word();
      return {};
    }
    std::wstring text(1, static_cast<wchar_t>(first));
    return text + Text();
  }
  void Skip(std::size_t count) {
    if (offset_ + count > bytes_.size()) broken_ = true;
    offset_ += count;
  }
  void AlignToDword() { Skip((4 - offset_ % 4) % 4); }

 private:
  std::span<const std::byte> bytes_;
  std::size_t offset_ = 0;
  bool broken_ = false;
};

Rect ReadRect(TemplateReader& reader) {
  Rect units;
  units.x = reader.Short();
  units.y = reader.Short();
  units.width = reader.Short();
  units.height = reader.Short();
  return units;
}

}  // namespace

Rect DialogUnitsToPixels(const Rect& units) {
  const int left = MulDiv(units.x, kBaseUnitX, 4);
  const int top = MulDiv(units.y, kBaseUnitY, 8);
  return {left, top, MulDiv(units.x + units.width, kBaseUnitX, 4) - left,
          MulDiv(units.y + units.height, kBaseUnitY, 8) - top};
}

std::optional<DialogLayout> ParseDialogTemplate(std::span<const std::byte> bytes) {
  TemplateReader reader(bytes);
  if (reader.Word() != 1 || reader.Word() != kOrdinalMark) return std::nullopt;
  reader.Dword();  // help id
  reader.Dword();  // extended style
  const std::uint32_t style = reader.Dword();
  const std::uint16_t count = reader.Word();
  const Rect frame = DialogUnitsToPixels(ReadRect(reader));
  reader.NameOrOrdinal();  // menu
  reader.NameOrOrdinal();  // class
  reader.Text();           // title
  if (style & kStyleSetFont) {
    reader.Skip(6);  // point size, weight, italic, character set
    reader.Text();   // face
  }
  DialogLayout layout;
  layout.size = {frame.width, frame.height};
  for (std::uint16_t i = 0; i < count && !reader.Broken(); ++i) {
    reader.AlignToDword();
    reader.Dword();  // help id
    reader.Dword();  // extended style
    const std::uint32_t itemStyle = reader.Dword();
    DialogItemLayout item;
    item.rect = DialogUnitsToPixels(ReadRect(reader));
    item.id = static_cast<int>(reader.Dword());
    reader.NameOrOrdinal();  // class
    item.text = reader.NameOrOrdinal();
    reader.Skip(reader.Word());  // creation data
    item.visible = (itemStyle & kStyleVisible) != 0;
    item.enabled = (itemStyle & kStyleDisabled) == 0;
    layout.items.push_back(std::move(item));
  }
  if (reader.Broken()) return std::nullopt;
  return layout;
}

}  // namespace setup::platform
