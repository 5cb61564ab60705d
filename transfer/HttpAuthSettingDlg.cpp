#include "transfer/HttpAuthSettingDlg.h"

#include "base/MessageBox.h"
#include "transfer/HttpAuthSettings.h"
#include "ui/DialogLook.h"
#include "ui/DialogUnits.h"
#include "ui/ImgButton.h"
#include "ui/TransparentStatic.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using DialogUnits::Rect;

CHttpAuthSettingDlg::CHttpAuthSettingDlg(QWidget* parent)
    : CFramelessDlg(QStringLiteral("Http Auth Setting"), kWithCloseButton, parent),
      m_mode(new QComboBox(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_save(new CImgButton(QStringLiteral("Save"), this)) {
    setFixedSize(Rect(0, 0, 372, 131).size());
    Heading()->setGeometry(Rect(0, 0, 372, 20));
    CloseButton()->setGeometry(Rect(350, 0, 22, 20));
    PrepareFrame();

    const struct {
        const char* text;
        int y;
    } labels[] = {{"Auth Mode:", 25}, {"User Name:", 50}, {"Password:", 75}};
    for (const auto& l : labels)
        (new QLabel(QString::fromUtf8(l.text), this))->setGeometry(Rect(18, l.y, 66, 15));

    m_mode->setGeometry(Rect(99, 25, 143, 15));
    m_mode->addItems({QStringLiteral("None"), QStringLiteral("Basic"), QStringLiteral("Digest")});
    m_user->setGeometry(Rect(99, 50, 143, 15));
    m_password->setGeometry(Rect(99, 75, 143, 15));
    m_password->setEchoMode(QLineEdit::Password);
    // The settings keep at most 63 characters of each; the box takes no more.
    m_user->setMaxLength(HttpAuthSettings::kTextCap - 1);
    m_password->setMaxLength(HttpAuthSettings::kTextCap - 1);

    m_save->setGeometry(Rect(153, 107, 64, 24));
    m_save->SetLook(QStringLiteral("ButtonCommonInactive.png"),
                    QStringLiteral("ButtonCommonActive.png"), CDialogLook::Font18(), -20);
    CDialogLook::Apply(this, &CDialogLook::Font18());
    for (QWidget* field : {static_cast<QWidget*>(m_mode), static_cast<QWidget*>(m_user),
                           static_cast<QWidget*>(m_password)})
        field->setFont(CDialogLook::DialogFont(13));

    const HttpAuthSettings settings = ReadHttpAuthSettings();
    m_user->setText(settings.User);
    m_password->setText(settings.Password);
    m_mode->setCurrentIndex(settings.AuthMode >= 0 && settings.AuthMode <= 2 ? settings.AuthMode
                                                                             : -1);

    connect(m_save, &QPushButton::clicked, this, &CHttpAuthSettingDlg::OnSave);
}

void CHttpAuthSettingDlg::OnSave() {
    const int saved =
        SaveHttpAuthSettings(m_mode->currentIndex(), m_user->text(), m_password->text());
    // A file that could not be written is not reported as saved.
    ShowMessageBox(saved == 0 ? QStringLiteral("Saving succeed") : QStringLiteral("Saving failed."),
                   kMsgCaption, kMsgStyleOk);
    accept();
}
