#pragma once
#include "ui/FramelessDlg.h"

#include <atomic>

class QLabel;
class QTimer;

// The modal progress dialog of the long operations. It counts its one-second
// ticks and ends itself at the first tick after the worker has set m_status
// to 2; nothing else closes it, because the worker still uses it until then.
class CWaitDlg : public CFramelessDlg {
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;

    explicit CWaitDlg(QWidget* parent = nullptr);

    // 0 while the operation runs; the worker sets 2, once, as its last access.
    std::atomic<int> m_status{0};

    QString SecondsText() const { return m_seconds; }
    QTimer* Ticker() const { return m_ticker; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void OnTick();

private:
    QString m_seconds = QStringLiteral("0");
    bool m_ending = false;
    QLabel* m_counter;
    QTimer* m_ticker;
};
