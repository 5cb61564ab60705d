#include "transfer/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// False when the file exists but cannot be read whole (unreadable, or over the
// size cap): a write must then not replace what it could not see.
bool ReadLines(const QString& path, QStringList* lines)
{
    lines->clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return !f.exists();
    if (f.size() > CIniFile::kMaxFileSize)
        return false;
    QString text = QString::fromUtf8(f.read(CIniFile::kMaxFileSize));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    *lines = text.split(QLatin1Char('\n'));
    return true;
}

QStringList ReadLines(const QString& path)
{
    QStringList lines;
    ReadLines(path, &lines);
    return lines;
}

// "[name]" gives the name; any other line gives a null text.
QString SectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return close < 0 ? QString() : t.mid(1, close - 1).trimmed();
}

bool SplitKey(const QString& line, QString* key, QString* value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool WriteAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

bool CIniFile::Find(const QString& section, const QString& key, QString* value) const
{
    bool inSection = false;
    for (const QString& line : ReadLines(m_path)) {
        const QString name = SectionName(line);
        if (!name.isNull()) {
            inSection = Same(name, section);
            continue;
        }
        QString k, v;
        if (inSection && SplitKey(line, &k, &v) && Same(k, key)) {
            if (v.size() >= 2 && (v.front() == v.back()) &&
                (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')))
                v = v.mid(1, v.size() - 2);
            *value = v;
            return true;
        }
    }
    return false;
}

QString CIniFile::ReadString(const QString& section, const QString& key, const QString& fallback,
                             int capacity) const
{
    QString value;
    if (!Find(section, key, &value))
        value = fallback;
    return value.left(qMax(capacity - 1, 0));
}

int CIniFile::ReadInt(const QString& section, const QString& key, int fallback) const
{
    QString value;
    if (!Find(section, key, &value))
        return fallback;
    qsizetype i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == QLatin1Char('-') || value[i] == QLatin1Char('+')))
        negative = value[i++] == QLatin1Char('-');
    qint64 n = 0;
    for (; i < value.size() && value[i].isDigit() && value[i].unicode() < 128; ++i)
        n = qMin<qint64>(n * 10 + (value[i].unicode() - '0'), qint64(INT_MAX) + 1);
    n = negative ? -n : n;
    return int(qBound(qint64(INT_MIN), n, qint64(INT_MAX)));
}

int CIniFile::WriteString(const QString& section, const QString& key, const QString& value) const
{
    // A line break in a value would forge further keys.
    if (section.contains(QLatin1Char('\n')) || key.contains(QLatin1Char('\n')) ||
        value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return -1;
    QStringList lines;
    if (!ReadLines(m_path, &lines))
        return -1;
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionLine = -1;
    qsizetype sectionEnd = -1;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        const QString name = SectionName(lines[i]);
        if (!name.isNull()) {
            if (sectionLine >= 0)
                break;
            if (Same(name, section))
                sectionLine = sectionEnd = i;
            continue;
        }
        if (sectionLine < 0)
            continue;
        QString k, v;
        if (SplitKey(lines[i], &k, &v) && Same(k, key)) {
            lines[i] = entry;
            done = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            sectionEnd = i;
        }
    }
    if (!done && sectionLine < 0)
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    else if (!done)
        lines.insert(sectionEnd + 1, entry);
    const QByteArray data = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();

    // Written beside the file and renamed over it, so a failed write never leaves
    // a half file; the file holds a password, so only its owner may read it.
    const QFileInfo info(m_path);
    if (!info.absoluteDir().exists() || (info.exists() && !info.isWritable()))
        return -1;
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray temp = target + ".tmp";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return -1;
    }
    return 0;
}
