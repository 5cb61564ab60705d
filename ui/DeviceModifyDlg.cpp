#include "ui/DeviceModifyDlg.h"

#include "base/MessageBox.h"
#include "store/CppSQLite3Query.h"
#include "store/DbAccess.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/TransparentStatic.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

using DialogUnits::Rect;

namespace {
const char* const kLabels[] = {"Device Name:", "IP:", "MAC:", "Firmware:"};

QLineEdit* Edit(QWidget* parent, int y, int capacity, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(Rect(99, y, 143, 15));
    edit->setMaxLength(capacity - 1);
    edit->setReadOnly(readOnly);
    return edit;
}
} // namespace

CDeviceModifyDlg::CDeviceModifyDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_heading(new CTransparentStatic(QStringLiteral("Modify Device"), this)),
      m_close(new CImgButton(QString(), this)),
      m_name(Edit(this, 25, DeviceRecord::kLocalNameCap, false)),
      m_ip(Edit(this, 50, DeviceRecord::kIPCap, true)),
      m_mac(Edit(this, 75, DeviceRecord::kMACCap, true)),
      m_firmware(Edit(this, 100, DeviceRecord::kFirmwareCap, true)),
      m_modify(new CImgButton(QStringLiteral("Modify"), this)) {
    setFont(CDialogLook::DialogFont());
    setFixedSize(Rect(0, 0, 372, 155).size());
    m_heading->setGeometry(Rect(0, 0, 372, 20));
    m_close->setGeometry(Rect(350, 0, 22, 20));
    m_modify->setGeometry(Rect(153, 127, 64, 24));
    for (int i = 0; i < 4; ++i)
        (new QLabel(QString::fromLatin1(kLabels[i]), this))
            ->setGeometry(Rect(18, 25 + 25 * i, 66, 15));
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_modify, &QPushButton::clicked, this, &CDeviceModifyDlg::OnModify);
}

void CDeviceModifyDlg::Prepare() {
    m_modify->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                      QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    m_close->SetLook(QStringLiteral("ButtonCommonOffInactive.png"),
                     QStringLiteral("ButtonCommonOffActive.png"), CDialogLook::Font18(), -20);
    m_heading->SetImage(CDialogLook::Picture(QStringLiteral("IconMenuHeader.png")));
    m_heading->setFont(CDialogLook::Font18());
    for (QLineEdit* edit : {m_name, m_ip, m_mac, m_firmware})
        edit->setFont(CDialogLook::Font18());
    m_device = DeviceRecord();
    if (m_deviceId > 0) {
        CDbAccess::GetInstance()->GetDeviceById(m_deviceId, &m_device);
        m_name->setText(m_device.LocalName);
        m_ip->setText(m_device.IP);
        m_mac->setText(m_device.MAC);
        m_firmware->setText(m_device.Firmware);
    }
    CDialogLook::Apply(this, &CDialogLook::Font18());
}

int CDeviceModifyDlg::exec() {
    Prepare();
    return QDialog::exec();
}

void CDeviceModifyDlg::OnModify() {
    DeviceFields fields{m_name->text(), m_ip->text(), m_mac->text(), m_firmware->text()};
    const QString problem = CheckDeviceFields(fields);
    if (!problem.isEmpty()) {
        ShowMessageBox(problem, kMsgCaption, kMsgStyleOk);
        return;
    }
    CopyFitting(m_device.LocalName, DeviceRecord::kLocalNameCap, fields.name);
    CopyFitting(m_device.IP, DeviceRecord::kIPCap, fields.ip);
    CopyFitting(m_device.Firmware, DeviceRecord::kFirmwareCap, fields.firmware);
    CopyFitting(m_device.MAC, DeviceRecord::kMACCap, fields.mac);
    // A device that was not found has no row to update: that is a failure.
    if (m_device.ID == 0 || CDbAccess::GetInstance()->UpdateDeviceById(m_device) != 0) {
        ShowMessageBox(QStringLiteral("Modifying Device failed."), kMsgCaption, kMsgStyleOk);
        return;
    }
    ShowMessageBox(QStringLiteral("Modifying Device succeeded."), kMsgCaption, kMsgStyleOk);
}

void CDeviceModifyDlg::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus, and otherwise ends the
    // dialog like its standard OK key.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDeviceModifyDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Without a caption bar the dialog needs an edge of its own to stand out.
    QPainter painter(this);
    painter.setPen(QColor(CDialogLook::kBackground).darker(160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
