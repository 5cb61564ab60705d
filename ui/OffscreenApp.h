#pragma once
#include <QApplication>

// The application of the screenshot tool, the window benchmarks and the window
// tests: Qt's offscreen platform unless QT_QPA_PLATFORM names another, with the
// program's own style and dialog font.
class COffscreenApp : public QApplication {
public:
    COffscreenApp(int& argc, char** argv);

private:
    // Chooses the platform, which must happen before QApplication is built.
    static int& DefaultToOffscreen(int& argc);
};
