// Window tests need one QApplication for the whole run.
#include "ui/DialogLook.h"

#include <QApplication>
#include <QStyleFactory>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(CDialogLook::DialogFont(11));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
