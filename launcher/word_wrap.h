// Word wrap of the help texts to the 79 columns of a console line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

inline constexpr std::size_t kHelpLineWidth = 79;

// Wraps `text` with every line indented by `indent` blanks. "%s" is one piece, replaced by
// `fileName` when given and kept as it is otherwise. A quoted text is never broken; a line
// feed (optionally followed by a tab, which indents four more blanks) starts a new line.
std::wstring WrapText(std::wstring_view text, std::size_t indent, std::optional<std::wstring_view> fileName);

}  // namespace setup
