#include "ui/MyListCtrl.h"

#include "ui/ReportDelegate.h"

#include <QHeaderView>
#include <QMouseEvent>

CMyListCtrl::CMyListCtrl(QWidget* parent) : QTableView(parent), m_model(new CReportModel(this)) {
    setModel(m_model);
    setItemDelegate(new CReportDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CMyListCtrl::HeadingClicked);

    // White rows, and the highlight kept when the focus moves elsewhere.
    QPalette look = palette();
    look.setColor(QPalette::Base, Qt::white);
    look.setColor(QPalette::AlternateBase, Qt::white);
    look.setColor(QPalette::Text, Qt::black);
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        look.setColor(QPalette::Inactive, role, look.color(QPalette::Active, role));
    setPalette(look);
}

void CMyListCtrl::SetColumns(const QVector<CReportModel::Column>& columns) {
    m_model->SetColumns(columns);
    for (int i = 0; i < columns.size(); ++i) {
        setColumnHidden(i, columns[i].width == 0);
        if (columns[i].width > 0)
            setColumnWidth(i, columns[i].width);
    }
}

void CMyListCtrl::SetCheckBoxes(bool on) {
    m_model->SetCheckable(on);
}

void CMyListCtrl::SetRowHeight(int pixels) {
    m_rowHeight = pixels;
    if (pixels > 0) {
        verticalHeader()->setMinimumSectionSize(pixels);
        verticalHeader()->setDefaultSectionSize(pixels);
    }
}

int CMyListCtrl::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& index : rows)
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

void CMyListCtrl::SelectRow(int row) {
    if (row < 0 || row >= m_model->RowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    scrollTo(index);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    setFocus();
}

QRect CMyListCtrl::CheckSquare(int row) const {
    // From x = 6 and the cell's top + 4, as wide and as high as the row less 12.
    const QRect cell = visualRect(m_model->index(row, 0));
    const int side = rowHeight(row) - 12;
    return QRect(cell.left() + CReportDelegate::kCheckLeft, cell.top() + 4, side, side);
}

void CMyListCtrl::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !m_model->IsCheckable())
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    if (CheckSquare(index.row()).contains(event->position().toPoint()))
        m_model->SetChecked(index.row(), !m_model->IsChecked(index.row()));
}
