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
    : CFramelessDlg(QStringLiteral("Modify Device"), kWithCloseButton, parent),
      m_name(Edit(this, 25, DeviceRecord::kLocalNameCap, false)),
      m_ip(Edit(this, 50, DeviceRecord::kIPCap, true)),
      m_mac(Edit(this, 75, DeviceRecord::kMACCap, true)),
      m_firmware(Edit(this, 100, DeviceRecord::kFirmwareCap, true)),
      m_modify(new CImgButton(QStringLiteral("Modify"), this)) {
    setFont(CDialogLook::DialogFont());
    setFixedSize(Rect(0, 0, 372, 155).size());
    Heading()->setGeometry(Rect(0, 0, 372, 20));
    CloseButton()->setGeometry(Rect(350, 0, 22, 20));
    m_modify->setGeometry(Rect(153, 127, 64, 24));
    for (int i = 0; i < 4; ++i)
        (new QLabel(QString::fromLatin1(kLabels[i]), this))
            ->setGeometry(Rect(18, 25 + 25 * i, 66, 15));
    connect(m_modify, &QPushButton::clicked, this, &CDeviceModifyDlg::OnModify);
}

void CDeviceModifyDlg::Prepare() {
    m_modify->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                      QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    PrepareFrame();
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
    EnterPressesFocusedButton(event);
}
