#include "ui/MessageBoxes.h"

#include "base/MessageBox.h"
#include "ui/ConfirmDlg.h"

#include <QApplication>
#include <QThread>
#include <deque>
#include <mutex>

namespace {
std::mutex g_lock;
bool g_testMode = false;
std::deque<int> g_answers;
QVector<CMessageBoxes::Call> g_calls;

int Route(const QString& text, const QString& caption, int style) {
    {
        std::lock_guard guard(g_lock);
        if (g_testMode) {
            g_calls.append({text, caption, style});
            if (g_answers.empty())
                return 0;
            const int answer = g_answers.front();
            g_answers.pop_front();
            return answer;
        }
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        return CMessageBoxes::Show(text, caption, style);
    // Widgets live on the user-interface thread only: the worker waits there
    // for the answer.
    int answer = 0;
    QMetaObject::invokeMethod(
        app, [&] { return CMessageBoxes::Show(text, caption, style); },
        Qt::BlockingQueuedConnection, &answer);
    return answer;
}
} // namespace

void CMessageBoxes::Install() {
    SetMessageBoxHandler(Route);
}

int CMessageBoxes::Show(const QString& text, const QString& caption, int style) {
    CConfirmDlg box(QApplication::activeWindow());
    box.SetMessage(text);
    box.SetCaption(caption);
    box.SetStyle(style);
    return box.exec() == QDialog::Accepted ? 1 : 0;
}

void CMessageBoxes::SetTestMode(bool on) {
    if (on)
        Install();
    std::lock_guard guard(g_lock);
    g_testMode = on;
    g_answers.clear();
    g_calls.clear();
}

void CMessageBoxes::SetNextAnswer(int answer) {
    std::lock_guard guard(g_lock);
    g_answers.push_back(answer);
}

QVector<CMessageBoxes::Call> CMessageBoxes::Calls() {
    std::lock_guard guard(g_lock);
    return g_calls;
}

void CMessageBoxes::ClearCalls() {
    std::lock_guard guard(g_lock);
    g_calls.clear();
}
