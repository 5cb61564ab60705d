#include "ui/DeviceAddDlg.h"

#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "store/DbAccess.h"
#include "transfer/DeviceWorkDirs.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/MyListCtrl.h"
#include "ui/TransparentStatic.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using DialogUnits::Rect;

namespace {
enum Column { kNo, kName, kIp, kMac, kModel, kFirmware };

const QVector<CReportModel::Column> kColumns = {
    {QStringLiteral("NO."), 40},  {QStringLiteral("Name"), 0},   {QStringLiteral("IP"), 100},
    {QStringLiteral("MAC"), 100}, {QStringLiteral("Model"), 50}, {QStringLiteral("Firmware"), 100},
};

struct Label {
    const char* text;
    int x, y, w, h;
    bool required;
};
const Label kLabels[] = {
    {"*Device Name:", 18, 25, 80, 14, true},
    {"*IP:", 18, 50, 80, 14, true},
    {"MAC:", 20, 75, 74, 14, false},
    {"Firmware:", 20, 100, 74, 14, false},
};

QLineEdit* Edit(QWidget* parent, int y, int capacity) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(Rect(99, y, 143, 14));
    // A typed text never exceeds what its field of the device record holds.
    edit->setMaxLength(capacity - 1);
    return edit;
}
} // namespace

CDeviceAddDlg::CDeviceAddDlg(QWidget* parent)
    : CFramelessDlg(QStringLiteral("Add Device"), kWithCloseButton, parent),
      m_name(Edit(this, 25, DeviceRecord::kLocalNameCap)),
      m_ip(Edit(this, 50, DeviceRecord::kIPCap)), m_mac(Edit(this, 75, DeviceRecord::kMACCap)),
      m_firmware(Edit(this, 100, DeviceRecord::kFirmwareCap)),
      m_add(new CImgButton(QStringLiteral("Add"), this)),
      m_scan(new CImgButton(QStringLiteral("Scan"), this)), m_results(new CMyListCtrl(this)) {
    setFont(CDialogLook::DialogFont());
    setFixedSize(Rect(0, 0, 372, 350).size());
    Heading()->setGeometry(Rect(0, 0, 372, 20));
    CloseButton()->setGeometry(Rect(349, 0, 22, 20));
    m_add->setGeometry(Rect(99, 126, 64, 24));
    m_scan->setGeometry(Rect(208, 126, 64, 24));
    m_results->setGeometry(Rect(18, 156, 337, 187));
    for (const Label& l : kLabels) {
        auto* label = new QLabel(QString::fromLatin1(l.text), this);
        label->setGeometry(Rect(l.x, l.y, l.w, l.h));
        label->setProperty("required", l.required);
    }
    m_scanTimer.setSingleShot(true);
    m_scanTimer.setInterval(kScanDelayMs);

    connect(m_add, &QPushButton::clicked, this, &CDeviceAddDlg::OnAdd);
    connect(m_scan, &QPushButton::clicked, this, &CDeviceAddDlg::OnScan);
    connect(&m_scanTimer, &QTimer::timeout, this, &CDeviceAddDlg::OnScanTimer);
    connect(m_results, &QAbstractItemView::doubleClicked, this,
            &CDeviceAddDlg::OnResultDoubleClick);
}

void CDeviceAddDlg::Prepare() {
    for (CImgButton* button : {m_add, m_scan})
        button->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                        QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    PrepareFrame();
    for (QLineEdit* edit : {m_name, m_ip, m_mac, m_firmware})
        edit->setFont(CDialogLook::Font18());
    m_results->SetColumns(kColumns);
    m_results->SetRowHeight(25);
    CDialogLook::Apply(this, &CDialogLook::Font18());
    // The two fields that must be filled in have orange labels.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->property("required").toBool()) {
            QPalette look = label->palette();
            look.setColor(QPalette::WindowText, QColor(CDialogLook::kHoverText));
            label->setPalette(look);
        }
    }
    OnScan();
}

int CDeviceAddDlg::exec() {
    Prepare();
    return QDialog::exec();
}

void CDeviceAddDlg::OnScan() {
    m_fields = DeviceFields();
    ShowFields();
    CControl* control = CControl::GetInstance();
    control->ClearScanDevices();
    control->ProcessMulticastAddress();
    m_scanTimer.start();
}

void CDeviceAddDlg::OnScanTimer() {
    QVector<QStringList> rows;
    DeviceRecord* head = CControl::GetInstance()->GetScanDevices();
    for (DeviceRecord* d = head; d; d = d->next)
        rows.append(
            {QString::number(rows.size() + 1), d->LocalName, d->IP, d->MAC, d->Model, d->Firmware});
    CDeviceControl::FreeDeviceList(head);
    m_results->Model()->SetRows(rows);
    ReadEdits();
    emit ScanListed();
}

void CDeviceAddDlg::OnResultDoubleClick() {
    const int row = m_results->SelectedRow();
    if (row < 0) {
        ShowMessageBox(QStringLiteral("Please select a device first."), kMsgCaption, kMsgStyleOk);
        return;
    }
    const CReportModel* model = m_results->Model();
    m_fields.name = model->Text(row, kName);
    m_fields.ip = model->Text(row, kIp);
    m_fields.mac = model->Text(row, kMac);
    m_fields.firmware = model->Text(row, kFirmware);
    ShowFields();
}

void CDeviceAddDlg::OnAdd() {
    ReadEdits();
    const QString problem = CheckDeviceFields(m_fields);
    if (!problem.isEmpty()) {
        ShowMessageBox(problem, kMsgCaption, kMsgStyleOk);
        return;
    }
    const DeviceRecord record = NewDeviceRecord(m_fields);
    if (CDeviceControl::GetInstance()->IsDeviceExist(record.MAC)) {
        ShowMessageBox(QStringLiteral("Adding Device failed, the device exist."), kMsgCaption,
                       kMsgStyleOk);
        return;
    }
    if (CDbAccess::GetInstance()->InsertDevice(record) != 0) {
        ShowMessageBox(QStringLiteral("Adding Device failed."), kMsgCaption, kMsgStyleOk);
        return;
    }
    ShowMessageBox(QStringLiteral("Adding Device succeeded."), kMsgCaption, kMsgStyleOk);
    // A directory that cannot be made is logged there; the device stays added.
    CreateDeviceWorkDirs(record.MAC);
    OnScan();
}

void CDeviceAddDlg::ReadEdits() {
    m_fields.name = m_name->text();
    m_fields.ip = m_ip->text();
    m_fields.mac = m_mac->text();
    m_fields.firmware = m_firmware->text();
}

void CDeviceAddDlg::ShowFields() {
    m_name->setText(m_fields.name);
    m_ip->setText(m_fields.ip);
    m_mac->setText(m_fields.mac);
    m_firmware->setText(m_fields.firmware);
}

void CDeviceAddDlg::keyPressEvent(QKeyEvent* event) {
    EnterPressesFocusedButton(event);
}
