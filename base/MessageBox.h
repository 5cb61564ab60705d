#pragma once
#include <QString>
#include <functional>

// The one way the program shows a message (style 0, OK) or asks a question
// (style 4, YES/NO). Returns 1 for OK or YES, 0 otherwise. Any thread may call it.
constexpr int kMsgStyleOk = 0;
constexpr int kMsgStyleYesNo = 4;
inline const QString kMsgCaption = QStringLiteral("Kestrovane System");
inline const QString kConfirmCaption = QStringLiteral("Confirmation");

int ShowMessageBox(const QString& text, const QString& caption, int style);

// The window layer installs the real box at start-up. Until then messages go to
// the log and the answer is 1.
using MessageBoxHandler = std::function<int(const QString& text, const QString& caption, int style)>;
void SetMessageBoxHandler(MessageBoxHandler handler);
