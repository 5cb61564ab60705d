#include "transfer/WaitDlg.h"

#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/TransparentStatic.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

using DialogUnits::Rect;

CWaitDlg::CWaitDlg(QWidget* parent)
    : CFramelessDlg(QStringLiteral("Operation Process"), kNoCloseButton, parent),
      m_counter(new QLabel(m_seconds, this)), m_ticker(new QTimer(this)) {
    setFixedSize(Rect(0, 0, 316, 137).size());
    Heading()->setGeometry(Rect(0, 0, 315, 15));
    PrepareFrame();

    auto* message =
        new QLabel(QStringLiteral("Operation is been processing, please wait..."), this);
    message->setGeometry(Rect(0, 41, 315, 30));
    message->setAlignment(Qt::AlignCenter);
    auto* processed = new QLabel(QStringLiteral("Processed "), this);
    processed->setGeometry(Rect(75, 81, 55, 20));
    m_counter->setGeometry(Rect(140, 81, 55, 20));
    m_counter->setAlignment(Qt::AlignCenter);
    auto* seconds = new QLabel(QStringLiteral("Seconds"), this);
    seconds->setGeometry(Rect(205, 81, 55, 20));
    CDialogLook::Apply(this, &CDialogLook::Font18());

    connect(m_ticker, &QTimer::timeout, this, &CWaitDlg::OnTick);
    m_ticker->start(kTickMs);
}

void CWaitDlg::OnTick() {
    if (m_status.load() == 2) {
        m_ending = true;
        done(QDialog::Rejected);
    }
    m_seconds = QString::number(m_seconds.toInt() + 1);
    m_counter->setText(m_seconds);
}

void CWaitDlg::reject() {
    // Escape and the window's close command land here; only the tick ends it.
    if (m_ending)
        QDialog::reject();
}

void CWaitDlg::closeEvent(QCloseEvent* event) {
    if (m_ending)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void CWaitDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}
