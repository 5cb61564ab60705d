#include "ui/ConfirmDlg.h"

#include "base/MessageBox.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/TransparentStatic.h"

#include <QKeyEvent>
#include <QLabel>

using DialogUnits::Rect;

CConfirmDlg::CConfirmDlg(QWidget* parent)
    : CFramelessDlg(QStringLiteral(" Confirmation"), kNoCloseButton, parent),
      m_text(new QLabel(this)), m_first(new CImgButton(QStringLiteral("YES"), this)),
      m_second(new CImgButton(QStringLiteral("NO"), this)) {
    setFixedSize(Rect(0, 0, 316, 137).size());
    Heading()->setGeometry(Rect(0, 0, 315, 15));
    m_text->setGeometry(Rect(0, 25, 315, 48));
    m_first->setGeometry(Rect(47, 110, 63, 24));
    m_second->setGeometry(Rect(205, 110, 63, 24));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    m_text->setContentsMargins(10, 0, 10, 0);
    m_text->setTextFormat(Qt::PlainText);
    connect(m_first, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_second, &QPushButton::clicked, this, &QDialog::reject);
}

void CConfirmDlg::Prepare() {
    for (CImgButton* button : {m_first, m_second})
        button->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                        QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    PrepareFrame();
    if (m_style == kMsgStyleOk) {
        m_first->setText(QStringLiteral("OK"));
        m_second->hide();
        m_first->setGeometry(Rect(47, 110, 63, 24).translated(115, 0));
    }
    m_text->setText(m_message);
    setWindowTitle(m_caption);
    CDialogLook::Apply(this, &CDialogLook::Font18());
}

int CConfirmDlg::exec() {
    Prepare();
    return QDialog::exec();
}

void CConfirmDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
