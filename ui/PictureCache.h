#pragma once
#include <QPixmap>
#include <QString>

// Decoded pictures by full path. A file is read again when its size or time
// changes, so the controls always show what is on disk; a missing or
// unreadable file gives a null pixmap, which the controls simply do not draw.
class CPictureCache {
public:
    static QPixmap Get(const QString& path);
};
