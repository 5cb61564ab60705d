#pragma once
#include "ui/FramelessDlg.h"

class CImgButton;
class QComboBox;
class QLineEdit;

// Edits the credentials for the devices' web interface in the settings file:
// the mode ("None", "Basic", "Digest"), the user name and the password.
class CHttpAuthSettingDlg : public CFramelessDlg {
    Q_OBJECT
public:
    explicit CHttpAuthSettingDlg(QWidget* parent = nullptr);

    QComboBox* ModeList() const { return m_mode; }
    QLineEdit* UserEdit() const { return m_user; }
    QLineEdit* PasswordEdit() const { return m_password; }
    CImgButton* SaveButton() const { return m_save; }

private slots:
    void OnSave();

private:
    QComboBox* m_mode;
    QLineEdit* m_user;
    QLineEdit* m_password;
    CImgButton* m_save;
};
