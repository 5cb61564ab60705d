#pragma once
#include "ui/FramelessDlg.h"

class CImgButton;
class QComboBox;

// Copies every card of another device, picked or typed by name, to the target
// device. Stays open after a copy, so cards of several devices can be gathered.
class CCopyRfcardDlg : public CFramelessDlg {
    Q_OBJECT
public:
    explicit CCopyRfcardDlg(int targetId, QWidget* parent = nullptr);

    // The opening steps: look and the names of the other devices. exec() runs them first.
    void Prepare();
    int exec() override;

    void OnCopy();

    CImgButton* CopyButton() const { return m_copy; }
    QComboBox* NameBox() const { return m_names; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_targetId;
    QComboBox* m_names;
    CImgButton* m_copy;
};
