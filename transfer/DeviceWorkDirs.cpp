#include "transfer/DeviceWorkDirs.h"

#include "base/Log.h"
#include "base/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxMacLength = 64;

bool SafeMac(const QString& mac)
{
    if (mac.isEmpty() || mac.size() > kMaxMacLength)
        return false;
    for (QChar c : mac) {
        const char16_t u = c.unicode();
        const bool ok = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') ||
                        (u >= 'a' && u <= 'z') || u == '-' || u == '_' || u == ':';
        if (!ok)
            return false;
    }
    return true;
}

QString WorkDir(const char* kind, const QString& mac)
{
    if (!SafeMac(mac))
        return {};
    return WFormatV(QStringLiteral("%s/%s/%s"), GetDevicesDir(), kind, mac);
}

QString WorkFile(const QString& dir, const QString& mac)
{
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + mac + QStringLiteral(".xml");
}

int MakeDir(const QString& dir, const char* failure)
{
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        return 0;
    if (!dir.isEmpty() && ::mkdir(QFile::encodeName(dir).constData(), 0755) == 0)
        return 0;
    LogError(QString::fromUtf8(failure), dir);
    return -1;
}

// Walks by descriptor, relative to the directory being emptied, so a symbolic
// link put in place of a subdirectory cannot lead the removal elsewhere.
void RemoveBelow(int dirFd)
{
    DIR* d = ::fdopendir(dirFd);
    if (!d) {
        ::close(dirFd);
        return;
    }
    while (dirent* e = ::readdir(d)) {
        const char* name = e->d_name;
        if (!std::strcmp(name, ".") || !std::strcmp(name, ".."))
            continue;
        struct stat st{};
        if (::fstatat(::dirfd(d), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            ::fchmodat(::dirfd(d), name, 0700, 0);
            const int sub =
                ::openat(::dirfd(d), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0)
                RemoveBelow(sub);
            ::unlinkat(::dirfd(d), name, AT_REMOVEDIR);
        } else {
            ::unlinkat(::dirfd(d), name, 0);
        }
    }
    ::closedir(d);
}

} // namespace

QString GetDevicesDir() { return GetProgramDir() + QStringLiteral("/Devices"); }

QString GetUpdateToDir(const QString& mac) { return WorkDir("UpdateTo", mac); }

QString GetUpdateFromDir(const QString& mac) { return WorkDir("UpdateFrom", mac); }

QString GetUpdateToFile(const QString& mac) { return WorkFile(GetUpdateToDir(mac), mac); }

QString GetUpdateFromFile(const QString& mac) { return WorkFile(GetUpdateFromDir(mac), mac); }

int CreateDeviceWorkDirs(const QString& mac)
{
    const int to = MakeDir(GetUpdateToDir(mac), "Create update to directory %s failed.");
    const int from = MakeDir(GetUpdateFromDir(mac), "Create update from directory %s failed.");
    return to == 0 && from == 0 ? 0 : -1;
}

void ClearDirectoryFiles(const QString& dir)
{
    if (dir.isEmpty())
        return;
    const QDir d(dir);
    for (const QString& name : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(d.filePath(name));
}

void RemoveDirectoryTree(const QString& dir)
{
    if (dir.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(dir);
    // The directory itself may be a link: then only the link goes.
    struct stat st{};
    if (::lstat(path.constData(), &st) != 0)
        return;
    if (!S_ISDIR(st.st_mode)) {
        ::unlink(path.constData());
        return;
    }
    ::chmod(path.constData(), 0700);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        RemoveBelow(fd);
    ::rmdir(path.constData());
}
