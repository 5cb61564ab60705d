#include "ui/ReportDelegate.h"

#include "ui/DialogLook.h"
#include "ui/PictureCache.h"

#include <QPainter>

void CReportDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    painter->save();
    const bool highlighted = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    if (highlighted)
        painter->fillRect(option.rect, palette.brush(QPalette::Active, QPalette::Highlight));
    painter->setPen(
        palette.color(QPalette::Active, highlighted ? QPalette::HighlightedText : QPalette::Text));

    QRect cell = option.rect;
    const QVariant check = index.data(Qt::CheckStateRole);
    if (check.isValid()) {
        const QString file = check.toInt() == Qt::Checked ? QStringLiteral("ButtonCheckboxOn.png")
                                                          : QStringLiteral("ButtonCheckboxOff.png");
        const QPixmap picture = CPictureCache::Get(CDialogLook::Picture(file));
        if (!picture.isNull()) {
            const int top = picture.height() < cell.height()
                                ? cell.top() + (cell.height() - picture.height()) / 2
                                : cell.top();
            painter->drawPixmap(cell.left() + kCheckLeft, top, picture);
        }
    }

    cell.setLeft(cell.left() + 4);
    const QString text = CDialogLook::FitText(option.fontMetrics,
                                              index.data(Qt::DisplayRole).toString(), cell.width());
    painter->setClipRect(option.rect);
    painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}
