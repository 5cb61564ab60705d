#include "ui/DialogUnits.h"

namespace DialogUnits {
QRect Rect(int x, int y, int width, int height) {
    return QRect(X(x), Y(y), X(width), Y(height));
}

QRect Rect9(int x, int y, int width, int height) {
    return QRect(X9(x), Y9(y), X9(width), Y9(height));
}
} // namespace DialogUnits
