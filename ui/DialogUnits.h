#pragma once
#include <QRect>

// The windows are laid out in dialog units of their 8-point dialog font, whose
// base units at 96 dpi are 6 pixels across and 13 down: x pixels = x * 6 / 4,
// y pixels = y * 13 / 8, rounded as the platform's MulDiv does.
namespace DialogUnits {
constexpr int kBaseX = 6;
constexpr int kBaseY = 13;

constexpr int X(int dlu) {
    return (dlu * kBaseX * 2 + 4) / 8;
}
constexpr int Y(int dlu) {
    return (dlu * kBaseY * 2 + 8) / 16;
}
QRect Rect(int x, int y, int width, int height);
} // namespace DialogUnits
