// Window tests need one QApplication for the whole run.
#include "ui/OffscreenApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    COffscreenApp app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
