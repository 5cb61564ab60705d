#include "ui/KestrovaneDlg.h"

#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "base/Log.h"
#include "base/MessageBox.h"
#include "store/DbAccess.h"
#include "transfer/HttpAuthSettingDlg.h"
#include "ui/DeviceOperations.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/MyListCtrl.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <climits>

using DialogUnits::Rect9;

namespace {
const QString kSelectDevice = QStringLiteral("Please select a device first.");

struct Box {
    const char* text;
    int x, y, w, h;
};
const Box kGroups[] = {{"Device List", 14, 17, 104, 355}, {"RfcardInfo List", 123, 17, 700, 355}};
// The labels of the field row are as high as their fields, so their texts
// line up with the fields' texts.
const Box kLabels[] = {{"Device Name:", 130, 30, 45, 14},
                       {"IP:", 263, 30, 11, 14},
                       {"MAC:", 361, 30, 17, 14},
                       {"Firmware:", 465, 30, 32, 14},
                       {"Version:1.0.0.10", 17, 377, 96, 15}};

struct FieldBox {
    int id;
    int x, y, w, h;
};
const FieldBox kFields[] = {{CKestrovaneDlg::IDC_DEVICE_NAME, 175, 30, 80, 14},
                            {CKestrovaneDlg::IDC_DEVICE_IP, 274, 30, 80, 14},
                            {CKestrovaneDlg::IDC_DEVICE_MAC, 380, 30, 80, 14},
                            {CKestrovaneDlg::IDC_DEVICE_FIRMWARE, 497, 30, 80, 14}};

enum Look { Little, Common, BigMore, Page };
struct ButtonRow {
    int id;
    const char* text;
    int x, y, w, h;
    Look look;
    const char* picture; // the page buttons' own pair, without "Inactive.png"/"Active.png"
};
const ButtonRow kButtons[] = {
    {CKestrovaneDlg::IDC_ADD_DEVICE, "Add", 19, 342, 24, 22, Little, nullptr},
    {CKestrovaneDlg::IDC_MODIFY_DEVICE, "Mod", 55, 342, 24, 22, Little, nullptr},
    {CKestrovaneDlg::IDC_DELETE_DEVICE, "Del", 91, 342, 24, 22, Little, nullptr},
    {CKestrovaneDlg::IDC_SETTING, "Setting", 758, 23, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_ADD_CARD, "Add", 126, 342, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_MODIFY_CARD, "Modify", 176, 342, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_DELETE_CARD, "Delete", 225, 342, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_COPY, "Copy", 281, 342, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_IMPORT, "Import", 332, 342, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_EXPORT, "Export", 383, 342, 48, 22, Common, nullptr},
    {CKestrovaneDlg::IDC_UPDATE_FROM, "Update From Device", 451, 342, 86, 22, BigMore, nullptr},
    {CKestrovaneDlg::IDC_UPDATE_TO, "Update To Device", 541, 342, 86, 22, BigMore, nullptr},
    {CKestrovaneDlg::IDC_FIRST_PAGE, "", 638, 344, 16, 16, Page, "ButtonFirstPage"},
    {CKestrovaneDlg::IDC_PREV_PAGE, "", 657, 344, 16, 16, Page, "ButtonPrevPage"},
    {CKestrovaneDlg::IDC_NEXT_PAGE, "", 677, 344, 16, 16, Page, "ButtonNextPage"},
    {CKestrovaneDlg::IDC_LAST_PAGE, "", 697, 344, 16, 16, Page, "ButtonLastPage"},
    {CKestrovaneDlg::IDC_GO_PAGE, "", 789, 344, 18, 16, Page, "ButtonGoPage"},
};

QString Mark(int state) {
    return state != 0 ? QStringLiteral("\u221A") : QStringLiteral("\u00D7");
}

// The page-number box read as the platform's integer conversion does: blanks
// skipped, an optional sign, digits up to the first other character; nothing
// readable gives 0, and a number too large for an int saturates.
int ReadPageNumber(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = qMin<qint64>(value * 10 + (text[i].unicode() - '0'), qint64(INT_MAX) + 1);
    if (negative)
        return value > INT_MAX ? INT_MIN : int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}
} // namespace

CKestrovaneDlg::CoreHooks CKestrovaneDlg::ControlCore() {
    return {[] { CControl::GetInstance()->Init(); },
            [] { CControl::GetInstance()->ProcessMulticastAddress(); }};
}

CKestrovaneDlg::CKestrovaneDlg(CoreHooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_hooks(std::move(hooks)) {
    setWindowTitle(QStringLiteral("Kestrovane"));
    setWindowIcon(QIcon(CDialogLook::Picture(QStringLiteral("Kestrovane.png"))));
    BuildControls();
    // The device and card operations connect themselves to their buttons.
    new CDeviceOperations(this);

    if (m_hooks.init)
        m_hooks.init();
    LoadDeviceList();
    m_devices->SelectRow(0);
    FollowSelection();
    connect(m_devices->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CKestrovaneDlg::OnDeviceSelectionChanged);
    if (m_hooks.announce)
        m_hooks.announce();
    m_statusTimer->start(kStatusPeriodMs);

    qApp->installEventFilter(this);
}

CKestrovaneDlg::~CKestrovaneDlg() {
    qApp->removeEventFilter(this);
}

void CKestrovaneDlg::BuildControls() {
    setFont(CDialogLook::DialogFont(12));
    resize(Rect9(0, 0, 824, 397).size());

    for (const Box& g : kGroups)
        (new QGroupBox(QString::fromUtf8(g.text), this))->setGeometry(Rect9(g.x, g.y, g.w, g.h));
    for (const Box& l : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(l.text), this);
        label->setGeometry(Rect9(l.x, l.y, l.w, l.h));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (const FieldBox& f : kFields) {
        auto* edit = new QLineEdit(this);
        edit->setGeometry(Rect9(f.x, f.y, f.w, f.h));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        m_fields.insert(f.id, edit);
    }

    m_devices = new CMyListCtrl(this);
    m_devices->setObjectName(QStringLiteral("DeviceList"));
    m_devices->setGeometry(Rect9(19, 29, 97, 308));
    m_devices->SetColumns({{QStringLiteral("ID"), 0},
                           {QStringLiteral("Device Name"), 100},
                           {QStringLiteral("Status"), 50}});
    m_devices->SetRowHeight(25);

    m_cards = new CMyListCtrl(this);
    m_cards->setObjectName(QStringLiteral("CardList"));
    m_cards->setGeometry(Rect9(128, 48, 678, 289));
    m_cards->SetCheckBoxes(true);
    QVector<CReportModel::Column> columns = {{QString(), 30},
                                             {QStringLiteral("ID"), 0},
                                             {QStringLiteral("NO."), 50},
                                             {QStringLiteral("Name"), 90},
                                             {QStringLiteral("Code"), 160},
                                             {QStringLiteral("Door Number"), 110}};
    for (const char* day : {"Mon", "Tue", "Wed", "Thur", "Fri", "Sat", "Sun"})
        columns.append({QString::fromLatin1(day), 50});
    columns += {{QStringLiteral("Time Start"), 90},
                {QStringLiteral("Time End"), 90},
                {QStringLiteral("Web Relay"), 0},
                {QStringLiteral("Tags"), 0},
                {QStringLiteral("Frequency"), 0}};
    m_cards->SetColumns(columns);
    m_cards->SetRowHeight(25);

    for (const ButtonRow& b : kButtons) {
        auto* button = new CImgButton(QString::fromUtf8(b.text), this);
        button->setGeometry(Rect9(b.x, b.y, b.w, b.h));
        switch (b.look) {
        case Little:
            button->SetLook(QStringLiteral("ButtonLittleCommonInactive.png"),
                            QStringLiteral("ButtonLittleCommonActive.png"), CDialogLook::Font18(),
                            0);
            break;
        case Common:
            button->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                            QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -10);
            break;
        case BigMore:
            button->SetLook(QStringLiteral("ButtonBigMoreCommonInactive.png"),
                            QStringLiteral("ButtonBigMoreCommonActive.png"), CDialogLook::Font18(),
                            0);
            break;
        case Page:
            button->SetLook(QString::fromLatin1(b.picture) + QStringLiteral("Inactive.png"),
                            QString::fromLatin1(b.picture) + QStringLiteral("Active.png"),
                            CDialogLook::Font24(), 0);
            break;
        }
        m_buttons.insert(b.id, button);
    }

    m_pageIndicator = new QLabel(QStringLiteral("Page:1/1"), this);
    m_pageIndicator->setGeometry(Rect9(714, 344, 49, 16));
    m_pageIndicator->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pageNumber = new QLineEdit(this);
    m_pageNumber->setGeometry(Rect9(764, 344, 21, 16));

    CDialogLook::Apply(this, nullptr);
    // The style's own group-box frame is too faint on the background colour.
    const QString groupLook =
        QStringLiteral("QGroupBox { border: 1px solid rgba(255, 255, 255, 150); border-radius: 3px;"
                       " margin-top: 7px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px;"
                       " color: white; }");
    for (QGroupBox* group : findChildren<QGroupBox*>())
        group->setStyleSheet(groupLook);

    connect(m_devices, &QAbstractItemView::clicked, this, &CKestrovaneDlg::OnDeviceClicked);
    connect(m_cards, &CMyListCtrl::HeadingClicked, this, &CKestrovaneDlg::OnCardHeadingClicked);
    connect(Button(IDC_FIRST_PAGE), &QPushButton::clicked, this, &CKestrovaneDlg::OnFirstPage);
    connect(Button(IDC_PREV_PAGE), &QPushButton::clicked, this, &CKestrovaneDlg::OnPrevPage);
    connect(Button(IDC_NEXT_PAGE), &QPushButton::clicked, this, &CKestrovaneDlg::OnNextPage);
    connect(Button(IDC_LAST_PAGE), &QPushButton::clicked, this, &CKestrovaneDlg::OnLastPage);
    connect(Button(IDC_GO_PAGE), &QPushButton::clicked, this, &CKestrovaneDlg::OnGoPage);
    connect(Button(IDC_DELETE_CARD), &QPushButton::clicked, this, &CKestrovaneDlg::OnDeleteCard);
    connect(Button(IDC_SETTING), &QPushButton::clicked, this, &CKestrovaneDlg::OnSetting);

    m_statusTimer = new QTimer(this);
    connect(m_statusTimer, &QTimer::timeout, this, &CKestrovaneDlg::RefreshStatus);
}

QLineEdit* CKestrovaneDlg::Field(int id) const {
    return m_fields.value(id);
}

void CKestrovaneDlg::LoadDeviceList() {
    int count = 0;
    DeviceRecord* list = CDeviceControl::GetInstance()->GetDeviceList(QString(), 2, count);
    QVector<QStringList> rows;
    rows.reserve(count);
    for (const DeviceRecord* d = list; d; d = d->next)
        rows.append({QString::number(d->ID), d->LocalName, Mark(d->State)});
    CDeviceControl::FreeDeviceList(list);
    m_devices->Model()->SetRows(std::move(rows));
}

int CKestrovaneDlg::SelectedDeviceRow() const {
    return m_devices->SelectedRow();
}

QString CKestrovaneDlg::SelectedDeviceIdText() const {
    const int row = SelectedDeviceRow();
    return row < 0 ? QString() : m_devices->Model()->Text(row, 0);
}

QString CKestrovaneDlg::SelectedOwnerKey() const {
    return SelectedDeviceIdText() + QLatin1Char(';');
}

void CKestrovaneDlg::ShowDeviceFields() {
    m_name.clear();
    m_ip.clear();
    m_mac.clear();
    m_firmware.clear();
    if (SelectedDeviceRow() >= 0) {
        DeviceRecord device;
        CDbAccess::GetInstance()->GetDeviceById(SelectedDeviceIdText().toInt(), &device);
        m_name = device.LocalName;
        m_ip = device.IP;
        m_mac = device.MAC;
        m_firmware = device.Firmware;
    }
    ShowFieldTexts();
}

void CKestrovaneDlg::ShowFieldTexts() {
    m_fields[IDC_DEVICE_NAME]->setText(m_name);
    m_fields[IDC_DEVICE_IP]->setText(m_ip);
    m_fields[IDC_DEVICE_MAC]->setText(m_mac);
    m_fields[IDC_DEVICE_FIRMWARE]->setText(m_firmware);
}

void CKestrovaneDlg::LoadCardPage() {
    m_checkAll = 0;
    const QString owner = SelectedOwnerKey();
    CDbAccess* db = CDbAccess::GetInstance();
    // Only the shown page is read; numbering follows the whole list's ID order.
    const int n = qMax(db->CountCards(owner), 0);
    m_pageCount = n >= 1 ? (n - 1) / kPageSize + 1 : 1;
    if (m_currentPage < 1 || m_currentPage > m_pageCount)
        m_currentPage = 1;

    const int first = (m_currentPage - 1) * kPageSize;
    CardRecord* page = n > 0 ? db->ListCardsPage(owner, first, kPageSize) : nullptr;
    QVector<QStringList> rows;
    int k = first;
    for (const CardRecord* c = page; c; c = c->next) {
        rows.append({QString(), QString::number(c->ID), QString::number(++k), c->Name, c->Code,
                     c->DoorNumber, QString::number(c->Mon), QString::number(c->Tue),
                     QString::number(c->Wed), QString::number(c->Thur), QString::number(c->Fri),
                     QString::number(c->Sat), QString::number(c->Sun), c->TimeStart, c->TimeEnd,
                     QString::number(c->WebRelay), QString::number(c->Tags),
                     QString::number(c->Frequency)});
    }
    CDeviceControl::FreeRfcardList(page);
    m_cards->Model()->SetRows(std::move(rows));

    m_pageIndicator->setText(QStringLiteral("Page:%1/%2").arg(m_currentPage).arg(m_pageCount));
    ShowFieldTexts();
    m_pageNumber->clear();
}

void CKestrovaneDlg::FollowSelection() {
    ShowDeviceFields();
    m_currentPage = 1;
    LoadCardPage();
}

void CKestrovaneDlg::OnDeviceSelectionChanged() {
    FollowSelection();
    m_followedSincePress = true;
}

void CKestrovaneDlg::OnDeviceClicked() {
    // A click reloads page 1 even when it does not change the selection; one
    // that did change it has already been followed.
    if (!m_followedSincePress)
        FollowSelection();
    m_followedSincePress = false;
}

void CKestrovaneDlg::RefreshStatus() {
    int count = 0;
    DeviceRecord* list = CDeviceControl::GetInstance()->GetDeviceList(QString(), 2, count);
    QHash<QString, int> states;
    for (const DeviceRecord* d = list; d; d = d->next)
        states.insert(QString::number(d->ID), d->State);
    CDeviceControl::FreeDeviceList(list);
    // Marks change in place, found by ID, so rows and selection stay as they are.
    CReportModel* model = m_devices->Model();
    for (int row = 0; row < model->RowCount(); ++row) {
        const auto it = states.constFind(model->Text(row, 0));
        if (it != states.constEnd())
            model->SetText(row, 2, Mark(*it));
    }
    if (m_hooks.announce)
        m_hooks.announce();
}

void CKestrovaneDlg::OnCardHeadingClicked(int column) {
    if (column != 0)
        return;
    m_cards->Model()->SetAllChecked(m_checkAll == 0);
    m_checkAll = m_checkAll == 0 ? 1 : 0;
}

// The page buttons compare as unsigned numbers, as the go box does.
void CKestrovaneDlg::OnFirstPage() {
    if (m_currentPage != 1) {
        m_currentPage = 1;
        LoadCardPage();
    }
}

void CKestrovaneDlg::OnPrevPage() {
    if (unsigned(m_currentPage) > 1u) {
        m_currentPage = int(qMin(unsigned(m_currentPage - 1), unsigned(m_pageCount)));
        LoadCardPage();
    }
}

void CKestrovaneDlg::OnNextPage() {
    if (unsigned(m_currentPage) < unsigned(m_pageCount)) {
        m_currentPage = int(qMin(unsigned(m_currentPage + 1), unsigned(m_pageCount)));
        LoadCardPage();
    }
}

void CKestrovaneDlg::OnLastPage() {
    if (m_currentPage != m_pageCount) {
        m_currentPage = m_pageCount;
        LoadCardPage();
    }
}

void CKestrovaneDlg::OnGoPage() {
    const int wanted = ReadPageNumber(m_pageNumber->text());
    m_currentPage = unsigned(wanted) <= unsigned(m_pageCount) ? wanted : m_pageCount;
    LoadCardPage();
    m_pageNumber->clear();
}

bool CKestrovaneDlg::RequireDevice() const {
    if (SelectedDeviceRow() >= 0)
        return true;
    ShowMessageBox(kSelectDevice, kMsgCaption, kMsgStyleOk);
    return false;
}

void CKestrovaneDlg::OnDeleteCard() {
    if (!RequireDevice())
        return;
    const QVector<int> checked = m_cards->Model()->CheckedRows();
    if (checked.isEmpty()) {
        ShowMessageBox(QStringLiteral("Please Select a rfcard first."), kMsgCaption, kMsgStyleOk);
        return;
    }
    if (ShowMessageBox(QStringLiteral("Are you sure you want to delete this rfcard?"),
                       kConfirmCaption, kMsgStyleYesNo) != 1)
        return;
    CDbAccess* db = CDbAccess::GetInstance();
    bool allDeleted = true;
    for (int row : checked) {
        const int id = m_cards->Model()->Text(row, 1).toInt();
        if (db->DeleteCardById(id) != 0) {
            allDeleted = false;
            LogError(QStringLiteral("%s: deleting rfcard %d failed"),
                     QStringLiteral("OnDeleteCard"), id);
        }
    }
    LoadCardPage();
    if (allDeleted)
        LogInfo(QStringLiteral("Deleting rfcard succeeded."));
}

void CKestrovaneDlg::OnSetting() {
    CHttpAuthSettingDlg dialog(this);
    dialog.exec();
}

bool CKestrovaneDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == m_devices->viewport())
        m_followedSincePress = false;
    // Enter and Escape never reach this window or its controls, so neither closes it.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) &&
            watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
