#pragma once
#include "base/LogPacket.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// Listens where the log viewer listens (127.0.0.1:106) and hands back what the
// program logged. Opens the program's own log channel too.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    // The next datagram, or nothing within the wait.
    std::optional<QByteArray> NextRaw(int waitMs = 1000);
    // The texts of every datagram that arrives until the line falls quiet.
    QStringList Drain(int quietMs = 100);
    // Waits until a line containing `part` arrives; the lines seen so far go to `seen`.
    bool WaitFor(const QString& part, int waitMs = 5000, QStringList* seen = nullptr);

private:
    int m_fd = -1;
};
