#include "base/ProgramDir.h"

#include <QFileInfo>
#include <mutex>

namespace {
std::mutex g_lock;
QString g_dir;

QString ExecutableDir()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}
} // namespace

QString GetProgramDir()
{
    std::lock_guard guard(g_lock);
    if (g_dir.isEmpty())
        g_dir = ExecutableDir();
    return g_dir;
}

QString MakeProgramPath(const QString& relative)
{
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return GetProgramDir() + QLatin1Char('/') + rel;
}

void SetProgramDir(const QString& dir)
{
    std::lock_guard guard(g_lock);
    g_dir = dir;
    while (g_dir.size() > 1 && g_dir.endsWith(QLatin1Char('/')))
        g_dir.chop(1);
}
