#pragma once
#include "ui/DeviceFields.h"

#include "ui/FramelessDlg.h"
#include <QTimer>

class CImgButton;
class CMyListCtrl;
class QLineEdit;

// Adds a device, typed in or picked from the devices that answered the last
// announcement and are not stored yet. Every opening, Scan and successful add
// announces afresh and lists the answers a little later.
class CDeviceAddDlg : public CFramelessDlg {
    Q_OBJECT
public:
    // Time the devices get to answer an announcement before the list is filled.
    static constexpr int kScanDelayMs = 3000;

    explicit CDeviceAddDlg(QWidget* parent = nullptr);

    // The opening steps: look, columns, and a first scan. exec() runs them first.
    void Prepare();
    int exec() override;

    void OnScan();
    void OnAdd();
    void OnResultDoubleClick();

    CImgButton* AddButton() const { return m_add; }
    CImgButton* ScanButton() const { return m_scan; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* IpEdit() const { return m_ip; }
    QLineEdit* MacEdit() const { return m_mac; }
    QLineEdit* FirmwareEdit() const { return m_firmware; }
    CMyListCtrl* ResultList() const { return m_results; }
    // True from an announcement until its answers are listed.
    bool IsScanning() const { return m_scanTimer.isActive(); }

signals:
    // The answers of an announcement have been listed.
    void ScanListed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnScanTimer();
    void ReadEdits();
    void ShowFields();

    DeviceFields m_fields;
    QTimer m_scanTimer;
    QLineEdit* m_name;
    QLineEdit* m_ip;
    QLineEdit* m_mac;
    QLineEdit* m_firmware;
    CImgButton* m_add;
    CImgButton* m_scan;
    CMyListCtrl* m_results;
};
