#pragma once
#include "ui/FramelessDlg.h"

class CImgButton;
class QLabel;

// The program's own message and question box: a heading " Confirmation", the
// message centred below it, and "YES"/"NO" (style 4) or one centred "OK"
// (style 0). Ends Accepted for its first button or Enter, Rejected otherwise.
class CConfirmDlg : public CFramelessDlg {
    Q_OBJECT
public:
    explicit CConfirmDlg(QWidget* parent = nullptr);

    void SetMessage(const QString& message) { m_message = message; }
    void SetCaption(const QString& caption) { m_caption = caption; }
    void SetStyle(int style) { m_style = style; }

    // Builds the box as set; exec() calls it too.
    void Prepare();
    int exec() override;

    CImgButton* FirstButton() const { return m_first; }
    CImgButton* SecondButton() const { return m_second; }
    QLabel* MessageLabel() const { return m_text; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_caption;
    int m_style = 4;
    QString m_message;
    QLabel* m_text;
    CImgButton* m_first;
    CImgButton* m_second;
};
