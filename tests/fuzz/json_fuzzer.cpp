// Fuzz target: the JSON reader must accept or reject any text with its own exception, within
// its nesting bound, and the accepted tree must be walkable.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/json.h"

namespace {

std::size_t Walk(const setup::JsonValue& value) {
  std::size_t nodes = 1;
  switch (value.Type()) {
    case setup::JsonType::Object:
      for (const auto& [name, member] : value.Members()) {
        if (!value.HasMember(name) || &value.GetMember(name) != member.get()) __builtin_trap();
        nodes += Walk(*member);
      }
      break;
    case setup::JsonType::Array:
      for (const auto& element : value.Elements()) nodes += Walk(*element);
      break;
    case setup::JsonType::String:
      nodes += value.AsString().size();
      break;
    default:
      break;
  }
  return nodes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Bytes stand for the characters of the same number: every character of the syntax is ASCII.
  const std::wstring text(data, data + size);
  try {
    const auto root = setup::ParseJsonDocument(text);
    if (root->Type() != setup::JsonType::Object) __builtin_trap();
    Walk(*root);
  } catch (const setup::ICBSJsonException&) {
  }
  return 0;
}
