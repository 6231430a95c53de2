// The one failure type of the packaging tool: a message naming the problem, shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace setup::pack {

class PackError : public std::runtime_error {
 public:
  explicit PackError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace setup::pack
