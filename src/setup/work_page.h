#pragma once

#include <functional>

namespace pendra::setup {

// Turns on one status line of a work page, named by the line's id.
using TurnOnLine = std::function<void(int lineId)>;

}  // namespace pendra::setup
