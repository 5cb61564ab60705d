#pragma once
#include <QStyledItemDelegate>

// Draws one cell of a report row: highlight colours for a selected row, the
// check-box picture in column 0 of a list with check boxes, and the text
// indented 4 pixels, left-aligned, shortened with "..." to fit.
class CReportDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Left edge of the check-box picture within column 0.
    static constexpr int kCheckLeft = 6;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
