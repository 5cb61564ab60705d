#pragma once
#include "ui/MessageBoxes.h"

#include <QStringList>
#include <ostream>

// The texts of the messages shown since the last call, and forgets them.
// Message boxes are in test mode: none is shown, each is recorded.
inline QStringList TakeMessages() {
    QStringList texts;
    for (const CMessageBoxes::Call& call : CMessageBoxes::Calls())
        texts << call.text;
    CMessageBoxes::ClearCalls();
    return texts;
}

// Puts the program's box behind ShowMessageBox, in test mode.
inline void RecordMessages() {
    CMessageBoxes::Install();
    CMessageBoxes::SetTestMode(true);
}

// Failures print texts, not their code units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
