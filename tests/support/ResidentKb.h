#pragma once
#include <QByteArray>
#include <QFile>

// The process's resident memory in kB (VmRSS), or -1 when it cannot be read.
inline long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
