#pragma once
#include <QDialog>

class CImgButton;
class CTransparentStatic;
class QKeyEvent;

// The frame of the program's dialogs: no caption bar but a heading bar of its
// own, optionally a close button at its right end that cancels the dialog,
// and a dark edge. The heading and the close button are the first children;
// each dialog places them.
class CFramelessDlg : public QDialog {
    Q_OBJECT
public:
    CTransparentStatic* Heading() const { return m_heading; }
    // Null in a dialog without one.
    CImgButton* CloseButton() const { return m_close; }

protected:
    enum CloseButtonChoice { kNoCloseButton, kWithCloseButton };

    CFramelessDlg(const QString& heading, CloseButtonChoice close, QWidget* parent);

    // The pictures and font of the heading bar and of the close button.
    void PrepareFrame();
    // Enter presses the button that has the focus, and otherwise ends the
    // dialog like its standard OK key; other keys work as in any dialog.
    void EnterPressesFocusedButton(QKeyEvent* event);

    void paintEvent(QPaintEvent* event) override;

private:
    CTransparentStatic* m_heading;
    CImgButton* m_close = nullptr;
};
