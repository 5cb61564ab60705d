#pragma once
#include <QObject>
#include <QString>

class CKestrovaneDlg;
class QWidget;

// The device and card operations behind the main window's buttons: the device
// and card dialogs, copy, import, export, the two synchronisations and device
// removal. Owned by the window; connects itself to its buttons and lists.
class CDeviceOperations : public QObject {
    Q_OBJECT
public:
    explicit CDeviceOperations(CKestrovaneDlg* window);

    // Asks for the export file. 0 with `path` set when it is to be written; -1
    // when the user cancels or declines to overwrite an existing file.
    static int ChooseExportFile(QWidget* parent, QString& path);

public slots:
    void OnAddDevice();
    void OnModifyDevice();
    void OnDeleteDevice();
    void OnAddCard();
    void OnModifyCard();
    void OnCopy();
    void OnImport();
    void OnExport();
    void OnUpdateFromDevice();
    void OnUpdateToDevice();

private:
    CKestrovaneDlg* m_window;
};
