#pragma once
#include "store/CardRecord.h"
#include "ui/RfcardFields.h"

#include "ui/FramelessDlg.h"

class CImgButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Adds a card to a device (card ID 0) or changes one of its cards. Storing
// leaves the dialog open, so several cards can be entered one after another;
// Enter and Escape do nothing, the close button cancels.
class CRfcardAddDlg : public CFramelessDlg {
    Q_OBJECT
public:
    explicit CRfcardAddDlg(QWidget* parent = nullptr);

    void SetOwnerKey(const QString& owner) { m_owner = owner; }
    void SetCardId(int id) { m_cardId = id; }

    // The opening steps: look, start values, and in modify mode the stored
    // card. exec() runs them first.
    void Prepare();
    int exec() override;

    void OnAdd();
    void OnRead();

    CImgButton* AddButton() const { return m_add; }
    CImgButton* ReadButton() const { return m_read; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* CodeEdit() const { return m_code; }
    QLineEdit* StartEdit() const { return m_start; }
    QLineEdit* EndEdit() const { return m_end; }
    QLineEdit* FrequencyEdit() const { return m_frequency; }
    QComboBox* RelayBox() const { return m_relay; }
    QComboBox* TagsBox() const { return m_tags; }
    QCheckBox* DoorBox(int door) const { return m_door[door - 1]; } // 1 to 3
    QCheckBox* DayBox(int day) const { return m_day[day]; }         // 0 Mon to 6 Sun

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    RfcardFields ReadControls() const;
    void ShowFields(const RfcardFields& fields);

    int m_cardId = 0;
    QString m_owner;
    CardRecord m_card; // kept between stores, as the fields that do not fit leave it
    CImgButton* m_add;
    CImgButton* m_read;
    QLineEdit* m_name;
    QLineEdit* m_frequency;
    QLineEdit* m_code;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QComboBox* m_relay;
    QComboBox* m_tags;
    QCheckBox* m_door[3];
    QCheckBox* m_day[7];
};
