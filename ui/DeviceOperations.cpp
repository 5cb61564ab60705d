#include "ui/DeviceOperations.h"

#include "Logic/DeviceControl.h"
#include "base/Log.h"
#include "base/MessageBox.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/CopyRfcardDlg.h"
#include "store/DbAccess.h"
#include "transfer/DeviceRemoval.h"
#include "transfer/DeviceSync.h"
#include "ui/DeviceAddDlg.h"
#include "ui/DeviceModifyDlg.h"
#include "ui/FileChooser.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/LongOperation.h"
#include "ui/MyListCtrl.h"
#include "ui/RfcardAddDlg.h"

#include <QDir>
#include <QFileInfo>

namespace {
void Message(const QString& text) {
    ShowMessageBox(text, kMsgCaption, kMsgStyleOk);
}
} // namespace

CDeviceOperations::CDeviceOperations(CKestrovaneDlg* window) : QObject(window), m_window(window) {
    using W = CKestrovaneDlg;
    const struct {
        int id;
        void (CDeviceOperations::*handler)();
    } buttons[] = {
        {W::IDC_ADD_DEVICE, &CDeviceOperations::OnAddDevice},
        {W::IDC_MODIFY_DEVICE, &CDeviceOperations::OnModifyDevice},
        {W::IDC_DELETE_DEVICE, &CDeviceOperations::OnDeleteDevice},
        {W::IDC_ADD_CARD, &CDeviceOperations::OnAddCard},
        {W::IDC_MODIFY_CARD, &CDeviceOperations::OnModifyCard},
        {W::IDC_COPY, &CDeviceOperations::OnCopy},
        {W::IDC_IMPORT, &CDeviceOperations::OnImport},
        {W::IDC_EXPORT, &CDeviceOperations::OnExport},
        {W::IDC_UPDATE_FROM, &CDeviceOperations::OnUpdateFromDevice},
        {W::IDC_UPDATE_TO, &CDeviceOperations::OnUpdateToDevice},
    };
    for (const auto& b : buttons)
        connect(window->Button(b.id), &QPushButton::clicked, this, b.handler);
    connect(window->DeviceList(), &QAbstractItemView::doubleClicked, this,
            &CDeviceOperations::OnModifyDevice);
    connect(window->CardList(), &QAbstractItemView::doubleClicked, this,
            &CDeviceOperations::OnModifyCard);
}

void CDeviceOperations::OnAddDevice() {
    CDeviceAddDlg dialog(m_window);
    dialog.exec();
    m_window->LoadDeviceList();
}

void CDeviceOperations::OnModifyDevice() {
    if (!m_window->RequireDevice())
        return;
    const int row = m_window->SelectedDeviceRow();
    CDeviceModifyDlg dialog(m_window);
    dialog.SetDeviceId(m_window->SelectedDeviceIdText().toInt());
    dialog.exec();
    m_window->LoadDeviceList();
    m_window->DeviceList()->SelectRow(row);
    m_window->ShowDeviceFields();
}

void CDeviceOperations::OnDeleteDevice() {
    if (!m_window->RequireDevice())
        return;
    if (ShowMessageBox(QStringLiteral("Are you sure you want to delete this device?"),
                       kConfirmCaption, kMsgStyleYesNo) != 1)
        return;
    const QString idText = m_window->SelectedDeviceIdText();
    const QString mac = m_window->DeviceMac();
    if (CDbAccess::GetInstance()->DeleteDeviceById(idText.toInt()) != 0) {
        Message(QStringLiteral("Deleting device failed."));
        return;
    }
    SyncJob job;
    job.OwnerKey = idText + QLatin1Char(';');
    RunLongOperation(m_window, job, &DeleteDeviceThread);
    RemoveDeviceWorkDirs(mac);
    m_window->LoadDeviceList();
    m_window->ShowDeviceFields();
    m_window->LoadCardPage();
    LogInfo(QStringLiteral("Deleting device succeeded."));
}

void CDeviceOperations::OnAddCard() {
    if (!m_window->RequireDevice())
        return;
    CRfcardAddDlg dialog(m_window);
    dialog.SetOwnerKey(m_window->SelectedOwnerKey());
    dialog.SetCardId(0);
    dialog.exec();
    m_window->LoadCardPage();
}

void CDeviceOperations::OnModifyCard() {
    if (!m_window->RequireDevice())
        return;
    const QString owner = m_window->SelectedOwnerKey();
    const int row = m_window->CardList()->SelectedRow();
    if (row < 0) {
        Message(QStringLiteral("Please select a rfcard first."));
        return;
    }
    CRfcardAddDlg dialog(m_window);
    dialog.SetOwnerKey(owner);
    dialog.SetCardId(m_window->CardList()->Model()->Text(row, 1).toInt());
    dialog.exec();
    m_window->LoadCardPage();
}

void CDeviceOperations::OnCopy() {
    if (!m_window->RequireDevice())
        return;
    CCopyRfcardDlg dialog(m_window->SelectedDeviceIdText().toInt(), m_window);
    dialog.exec();
    m_window->LoadCardPage();
}

void CDeviceOperations::OnImport() {
    if (!m_window->RequireDevice())
        return;
    CardTransferJob job;
    job.OwnerKey = m_window->SelectedOwnerKey();
    const QString path =
        CFileChooser::ChooseOpenFile(m_window, QString(), QStringLiteral("Picture Files(*.xml)"));
    if (path.isEmpty())
        return;
    job.FilePath = path.toUtf8().toStdString();
    RunLongOperation(m_window, job, &ImportCardsThread);
    Message(job.Result == 0 ? QStringLiteral("Importing succeeded.")
                            : QStringLiteral("Importing failed."));
    m_window->LoadCardPage();
}

int CDeviceOperations::ChooseExportFile(QWidget* parent, QString& path) {
    const QString chosen = CFileChooser::ChooseSaveFile(
        parent, QStringLiteral("导入xml文件"), QStringLiteral("xml Files(*.xml);;All Files(*)"),
        QStringLiteral("xml"), QDir::currentPath());
    if (chosen.isEmpty())
        return -1;
    path = chosen;
    if (!QFileInfo::exists(path))
        return 0;
    return ShowMessageBox(
               QStringLiteral("This file already exists, are you sure you want to cover it?"),
               kConfirmCaption, kMsgStyleYesNo) == 1
               ? 0
               : -1;
}

void CDeviceOperations::OnExport() {
    if (!m_window->RequireDevice())
        return;
    int count = 0;
    CardRecord* list =
        CDeviceControl::GetInstance()->GetRfcardList(m_window->SelectedOwnerKey(), count);
    if (!list) {
        Message(QStringLiteral("Rfcard list is empty."));
        return;
    }
    QString path;
    if (ChooseExportFile(m_window, path) != 0) {
        CDeviceControl::FreeRfcardList(list);
        return;
    }
    const int result = ExportRfcardFile(list, path);
    CDeviceControl::FreeRfcardList(list);
    Message(result == 0 ? QStringLiteral("Exporting succeeded.")
                        : QStringLiteral("Exporting failed."));
}

void CDeviceOperations::OnUpdateFromDevice() {
    if (!m_window->RequireDevice())
        return;
    SyncJob job;
    if (PrepareUpdateFromDevice(m_window->SelectedDeviceIdText().toInt(), m_window->DeviceIp(),
                                m_window->DeviceMac(), job) != 0) {
        Message(kMsgUpdateFailed);
        return;
    }
    RunLongOperation(m_window, job, &UpdateFromDeviceThread);
    m_window->LoadCardPage();
}

void CDeviceOperations::OnUpdateToDevice() {
    if (!m_window->RequireDevice())
        return;
    SyncJob job;
    if (PrepareUpdateToDevice(m_window->SelectedDeviceIdText().toInt(), m_window->DeviceIp(),
                              m_window->DeviceMac(), job) != 0) {
        Message(kMsgUpdateFailed);
        return;
    }
    RunLongOperation(m_window, job, &UpdateToDeviceThread);
    m_window->LoadCardPage();
}
