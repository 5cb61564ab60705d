#pragma once
#include "base/MessageBox.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QVector>
#include <gtest/gtest.h>

// One application for the test program, with message boxes answered by the
// test (no box is shown; every call is recorded).
class DialogTestApp : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "dialog-test";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
        CMessageBoxes::Install();
        CMessageBoxes::SetTestMode(true);
    }
    // The application stays: cached pictures and fonts are released after the
    // tests, and they need it.
    void TearDown() override { SetMessageBoxHandler(nullptr); }

private:
    QApplication* m_app = nullptr;
};

// The texts of the messages shown since the last call, and forgets them.
inline QStringList TakeMessages() {
    QStringList texts;
    for (const CMessageBoxes::Call& call : CMessageBoxes::Calls())
        texts << call.text;
    CMessageBoxes::ClearCalls();
    return texts;
}
