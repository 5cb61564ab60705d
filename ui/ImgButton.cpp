#include "ui/ImgButton.h"

#include "ui/DialogLook.h"
#include "ui/PictureCache.h"

#include <QPainter>

CImgButton::CImgButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent), m_hoverText(palette().color(QPalette::ButtonText)),
      m_normalText(palette().color(QPalette::ButtonText)) {
    // Hover starts with the first move over the button, so a button that is
    // under the mouse when its window opens keeps the normal picture until then.
    setMouseTracking(true);
    setAutoDefault(false);
    setFlat(true);
    setCursor(Qt::ArrowCursor);
}

void CImgButton::SetImages(const QString& normal, const QString& hover) {
    m_normalImage = normal;
    m_hoverImage = hover;
    update();
}

void CImgButton::SetTextColors(const QColor& hover, const QColor& normal) {
    m_hoverText = hover;
    m_normalText = normal;
    update();
}

void CImgButton::SetTextShift(int pixels) {
    m_textShift = pixels;
    update();
}

void CImgButton::SetLook(const QString& normalFile, const QString& hoverFile, const QFont& font,
                         int textShift) {
    SetImages(CDialogLook::Picture(normalFile), CDialogLook::Picture(hoverFile));
    SetTextColors(QColor(CDialogLook::kHoverText), QColor(CDialogLook::kText));
    setFont(font);
    SetTextShift(textShift);
}

QRect CImgButton::TextRect() const {
    return rect().adjusted(m_textShift, 0, 0, 0);
}

QString CImgButton::DisplayedText() const {
    return CDialogLook::FitText(fontMetrics(), text(), TextRect().width());
}

void CImgButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap picture = CPictureCache::Get(CurrentImage());
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    if (text().isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(m_hover ? m_hoverText : m_normalText);
    painter.drawText(TextRect(), Qt::AlignCenter | Qt::TextSingleLine, DisplayedText());
}

void CImgButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_hover) {
        m_hover = true;
        update();
    }
    QPushButton::mouseMoveEvent(event);
}

void CImgButton::leaveEvent(QEvent* event) {
    if (m_hover) {
        m_hover = false;
        update();
    }
    QPushButton::leaveEvent(event);
}
