#include "ui/DialogUnits.h"

namespace DialogUnits {
QRect Rect(int x, int y, int width, int height) {
    return QRect(X(x), Y(y), X(width), Y(height));
}
} // namespace DialogUnits
