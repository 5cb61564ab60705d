#include "ui/RfcardAddDlg.h"

#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "store/DbAccess.h"
#include "ui/CardReader.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/TransparentStatic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using DialogUnits::Rect;

namespace {
const QStringList kRelays = {"1",  "2",  "3",  "4",  "5",  "6",  "7", "8",
                             "10", "11", "12", "20", "30", "40", "50"};
const QStringList kTags = {"Allowed", "Frequency", "Forbidden"};

struct Label {
    const char* text;
    int x, y, w, h;
};
const Label kLabels[] = {
    {"Name:", 10, 31, 65, 14},        {"Door Number:", 10, 56, 65, 14},
    {"Web Relay:", 10, 81, 65, 14},   {"Tags:", 10, 106, 65, 14},
    {"Frequency:", 10, 130, 65, 14},  {"Code:", 215, 31, 65, 14},
    {"Start Time:", 215, 50, 65, 14}, {"End Time:", 215, 74, 65, 14},
};

struct Box {
    const char* text;
    int x, y, w, h;
};
const Box kDoors[3] = {
    {"Door1", 88, 55, 33, 14}, {"Door2", 121, 56, 33, 14}, {"Door3", 154, 56, 33, 14}};
const Box kDays[7] = {{"Mon", 215, 95, 31, 14},  {"Tue", 261, 95, 31, 14},
                      {"Wed", 307, 95, 31, 14},  {"Thur", 353, 95, 31, 14},
                      {"Fri", 215, 114, 24, 14}, {"Sat", 261, 114, 27, 14},
                      {"Sun", 307, 114, 28, 14}};

QLineEdit* Edit(QWidget* parent, const QRect& where, int capacity) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(where);
    // A typed text never exceeds what its field stores.
    edit->setMaxLength(capacity - 1);
    return edit;
}
} // namespace

CRfcardAddDlg::CRfcardAddDlg(QWidget* parent)
    : CFramelessDlg(QStringLiteral("Add Rfcard"), kWithCloseButton, parent),
      m_add(new CImgButton(QStringLiteral("Add"), this)),
      m_read(new CImgButton(QStringLiteral("Read"), this)),
      m_name(Edit(this, Rect(88, 31, 100, 14), CardRecord::kNameCap)),
      m_frequency(Edit(this, Rect(88, 129, 100, 14), 12)),
      m_code(Edit(this, Rect(284, 29, 100, 14), CardRecord::kCodeCap)),
      m_start(Edit(this, Rect(284, 50, 100, 14), CardRecord::kTimeCap)),
      m_end(Edit(this, Rect(284, 74, 100, 14), CardRecord::kTimeCap)), m_relay(new QComboBox(this)),
      m_tags(new QComboBox(this)) {
    setFont(CDialogLook::DialogFont());
    setFixedSize(Rect(0, 0, 397, 185).size());
    Heading()->setGeometry(Rect(0, 0, 397, 20));
    CloseButton()->setGeometry(Rect(375, 0, 22, 20));
    m_add->setGeometry(Rect(8, 158, 64, 24));
    m_read->setGeometry(Rect(325, 158, 64, 24));
    for (const Label& l : kLabels)
        (new QLabel(QString::fromLatin1(l.text), this))->setGeometry(Rect(l.x, l.y, l.w, l.h));
    for (int i = 0; i < 3; ++i) {
        m_door[i] = new QCheckBox(QString::fromLatin1(kDoors[i].text), this);
        m_door[i]->setGeometry(Rect(kDoors[i].x, kDoors[i].y, kDoors[i].w, kDoors[i].h));
    }
    for (int i = 0; i < 7; ++i) {
        m_day[i] = new QCheckBox(QString::fromLatin1(kDays[i].text), this);
        m_day[i]->setGeometry(Rect(kDays[i].x, kDays[i].y, kDays[i].w, kDays[i].h));
    }
    // A combo box's height is that of its closed field; the rest of the
    // layout height is its drop-down.
    m_relay->setGeometry(Rect(88, 79, 48, 14));
    m_relay->setEditable(true);
    m_relay->addItems(kRelays);
    m_relay->setEnabled(false);
    m_tags->setGeometry(Rect(88, 107, 74, 14));
    m_tags->addItems(kTags);
    m_tags->setEnabled(false);
    m_frequency->setEnabled(false);

    connect(m_add, &QPushButton::clicked, this, &CRfcardAddDlg::OnAdd);
    connect(m_read, &QPushButton::clicked, this, &CRfcardAddDlg::OnRead);
}

void CRfcardAddDlg::Prepare() {
    for (CImgButton* button : {m_add, m_read})
        button->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                        QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    PrepareFrame();
    for (QWidget* w : std::initializer_list<QWidget*>{m_name, m_code, m_start, m_end, m_frequency,
                                                      m_relay, m_tags})
        w->setFont(CDialogLook::Font18());
    m_relay->setCurrentIndex(0);
    m_tags->setCurrentIndex(0);

    RfcardFields fields;
    if (m_cardId != 0) {
        Heading()->setText(QStringLiteral("Modify Rfcard"));
        m_add->setText(QStringLiteral("Modify"));
        m_card = CardRecord();
        CDbAccess::GetInstance()->GetCardById(m_cardId, &m_card);
        fields = FieldsOfCard(m_card);
    }
    ShowFields(fields);
    CDialogLook::Apply(this, &CDialogLook::Font18());
    // Check boxes draw their text in the dialog's own font: the large one does
    // not fit their narrow places.
    for (QCheckBox* box : findChildren<QCheckBox*>())
        box->setFont(font());
}

int CRfcardAddDlg::exec() {
    Prepare();
    return QDialog::exec();
}

RfcardFields CRfcardAddDlg::ReadControls() const {
    RfcardFields f;
    f.name = m_name->text();
    f.code = m_code->text();
    f.timeStart = m_start->text();
    f.timeEnd = m_end->text();
    f.frequency = m_frequency->text();
    f.webRelay = m_relay->currentText();
    f.tags = m_tags->currentIndex();
    for (int i = 0; i < 3; ++i)
        f.door[i] = m_door[i]->isChecked();
    for (int i = 0; i < 7; ++i)
        f.day[i] = m_day[i]->isChecked();
    return f;
}

void CRfcardAddDlg::ShowFields(const RfcardFields& f) {
    m_name->setText(f.name);
    m_code->setText(f.code);
    m_start->setText(f.timeStart);
    m_end->setText(f.timeEnd);
    m_frequency->setText(f.frequency);
    m_relay->setEditText(f.webRelay);
    m_tags->setCurrentIndex(f.tags);
    for (int i = 0; i < 3; ++i)
        m_door[i]->setChecked(f.door[i]);
    for (int i = 0; i < 7; ++i)
        m_day[i]->setChecked(f.day[i]);
}

void CRfcardAddDlg::OnAdd() {
    RfcardFields fields = ReadControls();
    const QString problem = CheckRfcardFields(fields);
    if (!problem.isEmpty()) {
        ShowMessageBox(problem, kMsgCaption, kMsgStyleOk);
        return;
    }
    FillCardRecord(fields, m_owner, m_card);
    m_code->setText(fields.code);
    if (m_cardId != 0) {
        // A card that was gone when the dialog opened has no row to update:
        // that is a failure, not a success.
        const int result = m_card.ID == 0 ? -1 : CDbAccess::GetInstance()->UpdateCardById(&m_card);
        ShowMessageBox(result < 0 ? QStringLiteral("Modifying Rfcard failed.")
                                  : QStringLiteral("Modifying Rfcard succeeded."),
                       kMsgCaption, kMsgStyleOk);
        return;
    }
    const int result = CDeviceControl::GetInstance()->SaveRfcard(&m_card);
    ShowMessageBox(result < 0 ? QStringLiteral("Adding Rfcard failed.")
                              : QStringLiteral("Adding Rfcard succeeded."),
                   kMsgCaption, kMsgStyleOk);
}

void CRfcardAddDlg::OnRead() {
    QString code;
    CCardReader::GetInstance()->ReadCardCode(code);
    m_code->setText(code);
}

void CRfcardAddDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
