// kestrovane-pictures DIR: draws every picture of the windows into DIR, in the
// program's colours. Sizes follow the controls that show them at their own size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {
const QColor kBackground(41, 147, 161);
const QColor kHover(255, 190, 52);
const QColor kFace(24, 98, 110); // button face, darker than the window
const QColor kFaceLight(36, 124, 138);

QString g_dir;
bool g_ok = true;

void Save(const QString& name, const QSize& size,
          const std::function<void(QPainter&, const QRectF&)>& draw) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    if (!image.save(QDir(g_dir).filePath(name), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        g_ok = false;
    }
}

// A rounded button face; the hover variant lights up and gets an amber rim.
void Face(QPainter& p, const QRectF& r, bool hover, qreal radius = 5) {
    const QRectF box = r.adjusted(1, 1, -1, -1);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, hover ? kFaceLight.lighter(115) : kFaceLight);
    fill.setColorAt(1, hover ? kFace.lighter(110) : kFace);
    p.setBrush(fill);
    p.setPen(QPen(hover ? kHover : QColor(255, 255, 255, 150), hover ? 2 : 1));
    p.drawRoundedRect(box, radius, radius);
}

void Button(const QString& stem, const QSize& size) {
    Save(stem + QStringLiteral("Inactive.png"), size,
         [](QPainter& p, const QRectF& r) { Face(p, r, false); });
    Save(stem + QStringLiteral("Active.png"), size,
         [](QPainter& p, const QRectF& r) { Face(p, r, true); });
}

// A page button: the face with a white (amber under the mouse) sign drawn by `sign`.
void PageButton(const QString& stem, const QSize& size,
                const std::function<void(QPainter&, const QRectF&)>& sign) {
    for (bool hover : {false, true}) {
        Save(stem + (hover ? QStringLiteral("Active.png") : QStringLiteral("Inactive.png")), size,
             [&](QPainter& p, const QRectF& r) {
                 Face(p, r, hover, 4);
                 p.setPen(Qt::NoPen);
                 p.setBrush(hover ? kHover : QColor(Qt::white));
                 sign(p, r);
             });
    }
}

QPolygonF Triangle(qreal tipX, qreal baseX, qreal cy, qreal half) {
    return QPolygonF({QPointF(tipX, cy), QPointF(baseX, cy - half), QPointF(baseX, cy + half)});
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrovane-pictures DIR\n");
        return 2;
    }
    g_dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_dir);

    // The main window's buttons are 42, 84 and 151 pixels wide and 39 high.
    Button(QStringLiteral("ButtonLittleCommon"), QSize(42, 39));
    // Shared by 84-pixel buttons with their text moved 10 left and 95-pixel
    // ones with it moved 20 left: at this width the text sits centred on both.
    Button(QStringLiteral("ButtonCommon"), QSize(74, 39));
    Button(QStringLiteral("ButtonBigMoreCommon"), QSize(151, 39));

    for (bool hover : {false, true}) {
        Save(QStringLiteral("ButtonCommonOff") +
                 (hover ? QStringLiteral("Active.png") : QStringLiteral("Inactive.png")),
             QSize(33, 33), [hover](QPainter& p, const QRectF& r) {
                 if (hover) {
                     p.setPen(Qt::NoPen);
                     p.setBrush(QColor(200, 60, 50));
                     p.drawRect(r);
                 }
                 p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
                 const QRectF x = r.adjusted(11, 11, -11, -11);
                 p.drawLine(x.topLeft(), x.bottomRight());
                 p.drawLine(x.topRight(), x.bottomLeft());
             });
    }

    const QSize page(28, 28);
    PageButton(QStringLiteral("ButtonFirstPage"), page, [](QPainter& p, const QRectF& r) {
        const qreal cx = r.center().x(), cy = r.center().y();
        p.drawRect(QRectF(cx - 5.5, cy - 5.5, 2, 11));
        p.drawPolygon(Triangle(cx - 3.5, cx + 5, cy, 5.5));
    });
    PageButton(QStringLiteral("ButtonPrevPage"), page, [](QPainter& p, const QRectF& r) {
        const qreal cx = r.center().x();
        p.drawPolygon(Triangle(cx - 4, cx + 4.5, r.center().y(), 5.5));
    });
    PageButton(QStringLiteral("ButtonNextPage"), page, [](QPainter& p, const QRectF& r) {
        const qreal cx = r.center().x();
        p.drawPolygon(Triangle(cx + 4, cx - 4.5, r.center().y(), 5.5));
    });
    PageButton(QStringLiteral("ButtonLastPage"), page, [](QPainter& p, const QRectF& r) {
        const qreal cx = r.center().x(), cy = r.center().y();
        p.drawPolygon(Triangle(cx + 3.5, cx - 5, cy, 5.5));
        p.drawRect(QRectF(cx + 3.5, cy - 5.5, 2, 11));
    });
    PageButton(QStringLiteral("ButtonGoPage"), QSize(32, 28), [](QPainter& p, const QRectF& r) {
        // A bent arrow: "go there".
        const qreal cx = r.center().x(), cy = r.center().y();
        QPainterPath stem;
        stem.moveTo(cx + 5, cy - 6);
        stem.lineTo(cx + 5, cy + 1);
        stem.lineTo(cx - 4, cy + 1);
        QPen pen(p.brush().color(), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.strokePath(stem, pen);
        p.drawPolygon(Triangle(cx - 9, cx - 3, cy + 1, 4.5));
    });

    for (bool on : {false, true}) {
        Save(on ? QStringLiteral("ButtonCheckboxOn.png") : QStringLiteral("ButtonCheckboxOff.png"),
             QSize(13, 13), [on](QPainter& p, const QRectF& r) {
                 p.setPen(QPen(on ? kFace : QColor(120, 120, 120), 1));
                 p.setBrush(on ? kBackground : QColor(Qt::white));
                 p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
                 if (on) {
                     p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                     p.drawPolyline(
                         QPolygonF({QPointF(3, 6.5), QPointF(5.5, 9.2), QPointF(10, 3.6)}));
                 }
             });
    }

    // The heading bar of the dialogs: wider and taller than any heading, as
    // each heading shows only its own part of it.
    Save(QStringLiteral("IconMenuHeader.png"), QSize(600, 34), [](QPainter& p, const QRectF& r) {
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, kFace.lighter(105));
        fill.setColorAt(1, kFace.darker(115));
        p.fillRect(r, fill);
    });

    // The application icon: an access card with radio waves, on the window colour.
    Save(QStringLiteral("Kestrovane.png"), QSize(64, 64), [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBackground);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 12, 12);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(10, 22, 30, 34), 4, 4);
        p.setBrush(kHover);
        p.drawRoundedRect(QRectF(15, 28, 9, 7), 1.5, 1.5);
        p.setBrush(kFace);
        p.drawRect(QRectF(15, 42, 20, 3));
        p.drawRect(QRectF(15, 48, 14, 3));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(i == 0 ? kHover : QColor(Qt::white), 3.5, Qt::SolidLine, Qt::RoundCap));
            const qreal radius = 8 + i * 7;
            p.drawArc(QRectF(40 - radius, 22 - radius, 2 * radius, 2 * radius), 5 * 16, 80 * 16);
        }
    });
    return g_ok ? 0 : 1;
}
