#include "ui/FramelessDlg.h"

#include "ui/DialogLook.h"
#include "ui/ImgButton.h"
#include "ui/TransparentStatic.h"

#include <QKeyEvent>
#include <QPainter>

CFramelessDlg::CFramelessDlg(const QString& heading, CloseButtonChoice close, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_heading(new CTransparentStatic(heading, this))
{
    if (close == kWithCloseButton) {
        m_close = new CImgButton(QString(), this);
        connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    }
}

void CFramelessDlg::PrepareFrame()
{
    if (m_close)
        m_close->SetLook(QStringLiteral("ButtonCommonOffInactive.png"),
                         QStringLiteral("ButtonCommonOffActive.png"), CDialogLook::Font18(), -20);
    m_heading->SetImage(CDialogLook::Picture(QStringLiteral("IconMenuHeader.png")));
    m_heading->setFont(CDialogLook::Font18());
}

void CFramelessDlg::EnterPressesFocusedButton(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CFramelessDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Without a caption bar the dialog needs an edge of its own to stand out.
    QPainter painter(this);
    painter.setPen(QColor(CDialogLook::kBackground).darker(160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
