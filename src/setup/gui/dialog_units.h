#pragma once

#include <QSize>

namespace pendra::setup {

// The wizard's dialogs were laid out in dialog units of "MS Sans Serif" 8 pt, whose average
// character measures 6 × 13 pixels at 96 dpi; a dialog unit is a quarter of that width and
// an eighth of that height.
constexpr QSize dialogUnitsToPixels(int width, int height) {
    return {width * 6 / 4, height * 13 / 8};
}

}  // namespace pendra::setup
