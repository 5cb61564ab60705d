#include "ui/PictureCache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

namespace {
struct Entry {
    QDateTime modified;
    qint64 size = -1;
    QPixmap pixmap;
};
} // namespace

QPixmap CPictureCache::Get(const QString& path) {
    static QHash<QString, Entry> cache;
    if (path.isEmpty())
        return QPixmap();
    const QFileInfo info(path);
    if (!info.exists())
        return QPixmap();
    Entry& entry = cache[path];
    if (entry.size != info.size() || entry.modified != info.lastModified()) {
        entry.pixmap = QPixmap(path);
        entry.size = info.size();
        entry.modified = info.lastModified();
    }
    return entry.pixmap;
}
