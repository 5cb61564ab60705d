#include "cardlist/CopyRfcardDlg.h"

#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "cardlist/CardTransfer.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/LongOperation.h"
#include "ui/TransparentStatic.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using DialogUnits::Rect;

CCopyRfcardDlg::CCopyRfcardDlg(int targetId, QWidget* parent)
    : CFramelessDlg(QStringLiteral("Copy Rfcard From Device"), kWithCloseButton, parent),
      m_targetId(targetId), m_names(new QComboBox(this)),
      m_copy(new CImgButton(QStringLiteral("Copy"), this)) {
    setFont(CDialogLook::DialogFont());
    setFixedSize(Rect(0, 0, 260, 100).size());
    Heading()->setGeometry(Rect(0, 0, 260, 20));
    CloseButton()->setGeometry(Rect(238, 0, 22, 20));
    (new QLabel(QStringLiteral("Device Name:"), this))->setGeometry(Rect(14, 38, 70, 14));
    m_names->setGeometry(Rect(90, 37, 154, 14));
    m_names->setEditable(true);
    m_names->setInsertPolicy(QComboBox::NoInsert);
    m_names->lineEdit()->setMaxLength(DeviceRecord::kLocalNameCap - 1);
    m_copy->setGeometry(Rect(98, 68, 64, 24));
    connect(m_copy, &QPushButton::clicked, this, &CCopyRfcardDlg::OnCopy);
}

void CCopyRfcardDlg::Prepare() {
    m_copy->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                    QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    PrepareFrame();
    m_names->setFont(CDialogLook::Font18());

    m_names->clear();
    QStringList names;
    int count = 0;
    DeviceRecord* list = CDeviceControl::GetInstance()->GetDeviceList(QString(), 2, count);
    for (const DeviceRecord* d = list; d; d = d->next) {
        if (d->ID != m_targetId)
            names << d->LocalName;
    }
    CDeviceControl::FreeDeviceList(list);
    names.sort(Qt::CaseInsensitive);
    m_names->addItems(names);
    m_names->setCurrentIndex(-1);
    CDialogLook::Apply(this, &CDialogLook::Font18());
}

int CCopyRfcardDlg::exec() {
    Prepare();
    return QDialog::exec();
}

void CCopyRfcardDlg::OnCopy() {
    const QString name = m_names->currentText().trimmed();
    if (name.isEmpty()) {
        ShowMessageBox(QStringLiteral("Copying failed.You must input Device Name."), kMsgCaption,
                       kMsgStyleOk);
        return;
    }
    DeviceRecord source;
    CDeviceControl::GetInstance()->GetDeviceByName(name, &source);
    // A name that matches no device has nothing to copy; saying it worked
    // would hide the typing mistake.
    if (source.ID == 0) {
        ShowMessageBox(QStringLiteral("Copying failed."), kMsgCaption, kMsgStyleOk);
        return;
    }
    int count = 0;
    CardTransferJob job;
    job.CardList = CDeviceControl::GetInstance()->GetRfcardList(OwnerKey(source.ID), count);
    job.OwnerKey = OwnerKey(m_targetId);
    RunLongOperation(this, job, &CopyCardsThread);
    ShowMessageBox(QStringLiteral("Copying succeeded."), kMsgCaption, kMsgStyleOk);
}

void CCopyRfcardDlg::keyPressEvent(QKeyEvent* event) {
    EnterPressesFocusedButton(event);
}
