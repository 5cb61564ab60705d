#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the next modal window of type T once it is up (within
// waitMs); the test then starts whatever opens that window.
template <class T> void WhenModalOpens(std::function<void(T*)> act, int waitMs = 5000) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, act, waitMs] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window && window->isVisible()) {
            poll->stop();
            poll->deleteLater();
            delete clock;
            act(window);
        } else if (clock->elapsed() > waitMs) {
            poll->stop();
            poll->deleteLater();
            delete clock;
        }
    });
    poll->start(10);
}

// Processes events until `done` holds or waitMs have passed; returns `done()`.
inline bool WaitUntil(const std::function<bool()>& done, int waitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < waitMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return done();
}
