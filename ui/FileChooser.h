#pragma once
#include <QString>

class QWidget;

// The file dialogs, behind a seam: a test queues the next file name (an empty
// one for a cancelled dialog) and no dialog is shown.
class CFileChooser {
public:
    // Qt filter texts such as "xml Files(*.xml);;All Files(*)". An empty result
    // means the user cancelled.
    static QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter);
    // Never asks about overwriting itself; callers ask their own question.
    static QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& defaultSuffix, const QString& directory);

    static void SetNextFileName(const QString& path);
    static void ClearNextFileNames();
};
