#include "ui/TransparentStatic.h"

#include "ui/DialogLook.h"
#include "ui/PictureCache.h"

#include <QPainter>

CTransparentStatic::CTransparentStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void CTransparentStatic::SetImage(const QString& path) {
    m_image = path;
    update();
}

QString CTransparentStatic::DisplayedText() const {
    return CDialogLook::FitText(fontMetrics(), text(), width());
}

void CTransparentStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap picture = CPictureCache::Get(m_image);
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    painter.setFont(font());
    painter.setPen(QColor(CDialogLook::kText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, DisplayedText());
}
