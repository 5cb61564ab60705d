#pragma once
#include <QRect>

// The windows are laid out in dialog units of their dialog font. The 8-point
// font's base units at 96 dpi are 6 pixels across and 13 down: x pixels =
// x * 6 / 4, y pixels = y * 13 / 8, rounded as the platform's MulDiv does. The
// main window uses the 9-point font, whose base units are 7 across and 14 down.
namespace DialogUnits {
constexpr int kBaseX = 6;
constexpr int kBaseY = 13;
constexpr int kBaseX9 = 7;
constexpr int kBaseY9 = 14;

constexpr int X(int dlu) {
    return (dlu * kBaseX * 2 + 4) / 8;
}
constexpr int Y(int dlu) {
    return (dlu * kBaseY * 2 + 8) / 16;
}
constexpr int X9(int dlu) {
    return (dlu * kBaseX9 * 2 + 4) / 8;
}
constexpr int Y9(int dlu) {
    return (dlu * kBaseY9 * 2 + 8) / 16;
}
QRect Rect(int x, int y, int width, int height);
QRect Rect9(int x, int y, int width, int height);
} // namespace DialogUnits
