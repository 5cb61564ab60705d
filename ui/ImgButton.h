#pragma once
#include <QColor>
#include <QPushButton>

// A push button drawn from two pictures (normal and under the mouse) at their
// own size, with its text centred over them in the normal or hover colour.
// Click, focus and keyboard behave as for any button; pressed, focused and
// disabled states do not change the drawing.
class CImgButton : public QPushButton {
    Q_OBJECT
public:
    explicit CImgButton(const QString& text = QString(), QWidget* parent = nullptr);

    // Full paths of the pictures.
    void SetImages(const QString& normal, const QString& hover);
    void SetTextColors(const QColor& hover, const QColor& normal);
    // Moves the left edge of the text area; negative values move it left.
    void SetTextShift(int pixels);
    // The program's usual look: pictures from Resources/UI/, white text turning
    // RGB(255, 190, 52) under the mouse.
    void SetLook(const QString& normalFile, const QString& hoverFile, const QFont& font,
                 int textShift);

    bool IsHover() const { return m_hover; }
    QString CurrentImage() const { return m_hover ? m_hoverImage : m_normalImage; }
    // The text as drawn: ends with "..." when the whole text does not fit.
    QString DisplayedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect TextRect() const;

    QString m_normalImage;
    QString m_hoverImage;
    QColor m_hoverText;
    QColor m_normalText;
    int m_textShift = 0;
    bool m_hover = false;
};
