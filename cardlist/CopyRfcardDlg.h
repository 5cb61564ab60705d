#pragma once
#include <QDialog>

class CImgButton;
class CTransparentStatic;
class QComboBox;

// Copies every card of another device, picked or typed by name, to the target
// device. Stays open after a copy, so cards of several devices can be gathered.
class CCopyRfcardDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCopyRfcardDlg(int targetId, QWidget* parent = nullptr);

    // The opening steps: look and the names of the other devices. exec() runs them first.
    void Prepare();
    int exec() override;

    void OnCopy();

    CTransparentStatic* Heading() const { return m_heading; }
    CImgButton* CopyButton() const { return m_copy; }
    CImgButton* CloseButton() const { return m_close; }
    QComboBox* NameBox() const { return m_names; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_targetId;
    CTransparentStatic* m_heading;
    CImgButton* m_close;
    QComboBox* m_names;
    CImgButton* m_copy;
};
