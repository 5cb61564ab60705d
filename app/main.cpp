// The program: start the core, show the main window until it is closed.
#include "app/KestrovaneApp.h"

int main(int argc, char** argv) {
    CKestrovaneApp app(argc, argv);
    app.InitInstance();
    return 0;
}
