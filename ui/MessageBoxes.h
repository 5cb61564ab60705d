#pragma once
#include <QString>
#include <QVector>

// Puts the program's box behind ShowMessageBox, on the user-interface thread
// whatever thread asks; and the seam through which tests answer it.
class CMessageBoxes {
public:
    struct Call {
        QString text;
        QString caption;
        int style;
    };

    // Installs the handler; the application must exist.
    static void Install();
    // Shows the box on the calling thread, which must be the user-interface thread.
    static int Show(const QString& text, const QString& caption, int style);

    // Test seam. In test mode no box is shown: every call is recorded and
    // answered with the next queued answer, or 0 when none is queued.
    // Turning it on installs the handler.
    static void SetTestMode(bool on);
    static void SetNextAnswer(int answer);
    static QVector<Call> Calls();
    static void ClearCalls();
};
