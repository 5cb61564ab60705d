#include "base/MessageBox.h"

#include "base/Log.h"

#include <mutex>

namespace {
std::mutex g_lock;
MessageBoxHandler g_handler;
} // namespace

int ShowMessageBox(const QString& text, const QString& caption, int style)
{
    MessageBoxHandler handler;
    {
        std::lock_guard guard(g_lock);
        handler = g_handler;
    }
    if (handler)
        return handler(text, caption, style);
    LogInfo(QStringLiteral("%s: %s"), caption, text);
    return 1;
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard guard(g_lock);
    g_handler = std::move(handler);
}
