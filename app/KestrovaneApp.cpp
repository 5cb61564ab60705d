#include "app/KestrovaneApp.h"

#include "ui/DialogLook.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MessageBoxes.h"

#include <QIcon>

CKestrovaneApp::CKestrovaneApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Kestrovane"));
    setApplicationVersion(QStringLiteral("1.0.0.10"));
    CDialogLook::ApplyToApplication();
    setWindowIcon(QIcon(CDialogLook::Picture(QStringLiteral("Kestrovane.png"))));
}

bool CKestrovaneApp::InitInstance() {
    // Messages from start-up on, also those of the core's own failures, use the program's box.
    CMessageBoxes::Install();
    CKestrovaneDlg dialog;
    dialog.exec();
    return false;
}
