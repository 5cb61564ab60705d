#include "ui/FileChooser.h"

#include <QFileDialog>
#include <QStringList>

namespace {
QStringList g_next;

bool TakeNext(QString& path) {
    if (g_next.isEmpty())
        return false;
    path = g_next.takeFirst();
    return true;
}

QString Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
} // namespace

QString CFileChooser::ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter) {
    QString path;
    if (TakeNext(path))
        return path;
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    return Run(dialog);
}

QString CFileChooser::ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& defaultSuffix, const QString& directory) {
    QString path;
    if (TakeNext(path))
        return path;
    QFileDialog dialog(parent, title, directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    return Run(dialog);
}

void CFileChooser::SetNextFileName(const QString& path) {
    g_next.append(path);
}

void CFileChooser::ClearNextFileNames() {
    g_next.clear();
}
