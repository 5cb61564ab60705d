#pragma once
#include "store/DeviceRecord.h"
#include "ui/DeviceFields.h"

#include "ui/FramelessDlg.h"

class CImgButton;
class QLineEdit;

// Changes the name of a stored device; its IP, MAC and firmware are shown
// read-only. Modify leaves the dialog open.
class CDeviceModifyDlg : public CFramelessDlg {
    Q_OBJECT
public:
    explicit CDeviceModifyDlg(QWidget* parent = nullptr);

    void SetDeviceId(int id) { m_deviceId = id; }

    // The opening steps: look and the stored device. exec() runs them first.
    void Prepare();
    int exec() override;

    void OnModify();

    CImgButton* ModifyButton() const { return m_modify; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* IpEdit() const { return m_ip; }
    QLineEdit* MacEdit() const { return m_mac; }
    QLineEdit* FirmwareEdit() const { return m_firmware; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_deviceId = 0;
    DeviceRecord m_device;
    QLineEdit* m_name;
    QLineEdit* m_ip;
    QLineEdit* m_mac;
    QLineEdit* m_firmware;
    CImgButton* m_modify;
};
