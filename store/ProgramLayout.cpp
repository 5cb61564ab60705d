#include "store/ProgramLayout.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

QString CreateDatabaseFromSchema(const QString& dbPath, const QString& schemaPath)
{
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + schemaPath;
    const QByteArray sql = schema.readAll();

    // Build beside the target and move into place, so a half-made file never stays.
    const QString temp = dbPath + QStringLiteral(".new");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    QString error;
    if (sqlite3_open(QFile::encodeName(temp).constData(), &db) != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        char* message = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK)
            error = QString::fromUtf8(message ? message : "schema failed");
        sqlite3_free(message);
    }
    sqlite3_close(db);
    if (error.isEmpty() && !QFile::rename(temp, dbPath))
        error = QStringLiteral("cannot create ") + dbPath;
    if (!error.isEmpty())
        QFile::remove(temp);
    return error;
}

QString LayoutProgramDir(const QString& dir, const QString& schemaPath, const QString& picturesDir)
{
    QDir root(dir);
    for (const char* sub : {"DB", "config", "Devices/UpdateTo", "Devices/UpdateFrom", "Resources/UI"})
        if (!root.mkpath(QString::fromLatin1(sub)))
            return QStringLiteral("cannot create ") + root.filePath(QString::fromLatin1(sub));
    const QString db = root.filePath(QStringLiteral("DB/Kestrovane.db"));
    if (!QFileInfo::exists(db)) {
        const QString error = CreateDatabaseFromSchema(db, schemaPath);
        if (!error.isEmpty())
            return error;
    }
    if (!picturesDir.isEmpty()) {
        QDirIterator it(picturesDir, {QStringLiteral("*.png"), QStringLiteral("*.ico")}, QDir::Files);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString to = root.filePath(QStringLiteral("Resources/UI/") + it.fileName());
            const QFileInfo src(from), dst(to);
            if (dst.exists() && dst.lastModified() >= src.lastModified() && dst.size() == src.size())
                continue;
            QFile::remove(to);
            if (!QFile::copy(from, to))
                return QStringLiteral("cannot copy ") + from;
        }
    }
    return QString();
}
