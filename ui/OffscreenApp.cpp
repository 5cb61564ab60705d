#include "ui/OffscreenApp.h"

#include "ui/DialogLook.h"

COffscreenApp::COffscreenApp(int& argc, char** argv) : QApplication(DefaultToOffscreen(argc), argv)
{
    CDialogLook::ApplyToApplication();
}

int& COffscreenApp::DefaultToOffscreen(int& argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}
