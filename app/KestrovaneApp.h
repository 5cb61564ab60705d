#pragma once
#include <QApplication>

// The application object: prepares the platform and runs the main window
// modally for the whole life of the program.
class CKestrovaneApp : public QApplication {
    Q_OBJECT
public:
    CKestrovaneApp(int& argc, char** argv);
    // Runs the main window; returns when it has closed.
    bool InitInstance();
};
