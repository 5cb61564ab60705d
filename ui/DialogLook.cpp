#include "ui/DialogLook.h"

#include "base/ProgramDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

namespace {
const QStringList kFamilies = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                               QStringLiteral("WenQuanYi Micro Hei")};
}

const QBrush& CDialogLook::Brush() {
    static const QBrush brush{QColor(kBackground)};
    return brush;
}

QFont CDialogLook::MakeFont(int cellHeight) {
    // A cell height counts ascent and descent, about 1.15 em for these faces.
    QFont font = DialogFont(qRound(cellHeight / 1.15));
    font.setWeight(QFont::Normal);
    return font;
}

const QFont& CDialogLook::Font18() {
    static const QFont font = MakeFont(18);
    return font;
}

const QFont& CDialogLook::Font24() {
    static const QFont font = MakeFont(24);
    return font;
}

QFont CDialogLook::DialogFont(int pixelSize) {
    QFont font;
    font.setFamilies(kFamilies);
    font.setPixelSize(pixelSize);
    return font;
}

QString CDialogLook::FitText(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    QString cut = text;
    while (!cut.isEmpty() && metrics.horizontalAdvance(cut + dots) > width)
        cut.chop(1);
    return cut + dots;
}

QString CDialogLook::Picture(const QString& fileName) {
    return MakeProgramPath(QStringLiteral("Resources\\UI\\") + fileName);
}

void CDialogLook::Apply(QWidget* window, const QFont* labelFont) {
    QPalette look = window->palette();
    look.setBrush(QPalette::Window, Brush());
    look.setColor(QPalette::WindowText, QColor(kText));
    window->setPalette(look);
    window->setAutoFillBackground(true);

    const QPalette system = QApplication::palette();
    QPalette onBackground = system;
    onBackground.setBrush(QPalette::Base, Brush());
    onBackground.setBrush(QPalette::Window, Brush());
    onBackground.setColor(QPalette::Text, QColor(kText));
    onBackground.setColor(QPalette::WindowText, QColor(kText));

    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            edit->setPalette(edit->isReadOnly() ? onBackground : system);
        } else if (qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractItemView*>(child)) {
            child->setPalette(system);
        } else if (qobject_cast<QLabel*>(child) || qobject_cast<QCheckBox*>(child) ||
                   qobject_cast<QGroupBox*>(child)) {
            child->setPalette(onBackground);
            if (labelFont && !child->inherits("CTransparentStatic"))
                child->setFont(*labelFont);
        }
    }
}

void CDialogLook::ApplyToApplication() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(DialogFont(11));
}
