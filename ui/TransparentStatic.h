#pragma once
#include <QLabel>

// A label drawn over a picture: the heading bar of the dialogs. The picture
// lies at the top-left corner at its own size; the text is centred on one
// line, in white, with "..." when it does not fit.
class CTransparentStatic : public QLabel {
    Q_OBJECT
public:
    explicit CTransparentStatic(const QString& text = QString(), QWidget* parent = nullptr);

    // Full path of the picture.
    void SetImage(const QString& path);
    QString Image() const { return m_image; }
    QString DisplayedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_image;
};
