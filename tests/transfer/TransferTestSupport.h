#pragma once
#include "base/MessageBox.h"
#include "transfer/HttpAuthSettings.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <mutex>

// Records what the program would have shown in message boxes.
class MessageRecorder {
public:
    MessageRecorder()
    {
        SetMessageBoxHandler([this](const QString& text, const QString& caption, int style) {
            std::lock_guard guard(m_lock);
            m_seen << QStringLiteral("%1|%2|%3").arg(caption, text).arg(style);
            return 1;
        });
    }
    ~MessageRecorder() { SetMessageBoxHandler(nullptr); }
    QStringList Take()
    {
        std::lock_guard guard(m_lock);
        return std::exchange(m_seen, {});
    }

private:
    std::mutex m_lock;
    QStringList m_seen;
};

inline QString Shown(const QString& text)
{
    return QStringLiteral("Kestrovane System|%1|0").arg(text);
}

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(data);
}
