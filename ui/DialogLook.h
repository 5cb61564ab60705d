#pragma once
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QString>

class QWidget;

// The program's look, shared by every window: the background brush, the two
// fonts and the dialog colours.
class CDialogLook {
public:
    static constexpr QRgb kBackground = 0x2993A1; // RGB(41, 147, 161)
    static constexpr QRgb kHoverText = 0xFFBE34;  // RGB(255, 190, 52)
    static constexpr QRgb kText = 0xFFFFFF;

    static const QBrush& Brush();
    // Arial of normal weight with cell heights 18 and 24 (Liberation Sans where
    // Arial is missing; the CJK face draws what neither has).
    static const QFont& Font18();
    static const QFont& Font24();
    // The plain text of the dialogs, standing in for their 8- and 9-point dialog font.
    static QFont DialogFont(int pixelSize = 11);
    // The text as drawn in the given width: whole when it fits, otherwise cut
    // one character at a time from the end until it fits with "..." appended.
    static QString FitText(const QFontMetrics& metrics, const QString& text, int width);
    // Full path of a picture under Resources/UI/ of the program directory.
    static QString Picture(const QString& fileName);
    // One style and one dialog font for the whole application, whatever the
    // desktop prefers, so every machine shows the same fixed layouts.
    static void ApplyToApplication();

    // Background colour on the window; white text on labels, group-box titles,
    // check boxes and read-only edits (drawn in labelFont when given); editable
    // fields and lists keep the system's colours. Run after the controls exist.
    static void Apply(QWidget* window, const QFont* labelFont);

private:
    static QFont MakeFont(int cellHeight);
};
