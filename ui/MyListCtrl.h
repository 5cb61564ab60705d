#pragma once
#include "ui/ReportModel.h"

#include <QTableView>

// A report list with fixed-height rows drawn by CReportDelegate: white
// background, grid lines, whole rows selected one at a time, the selection
// shown also while the list has no focus, and optional check boxes that a
// click inside the small square of column 0 toggles.
class CMyListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CMyListCtrl(QWidget* parent = nullptr);

    CReportModel* Model() const { return m_model; }
    // Columns with their headings and pixel widths (0 hides a column).
    void SetColumns(const QVector<CReportModel::Column>& columns);
    void SetCheckBoxes(bool on);
    void SetRowHeight(int pixels);
    int RowHeight() const { return m_rowHeight; }

    // First selected row, or -1.
    int SelectedRow() const;
    // Selects and focuses the row, scrolls it into view and focuses the list.
    void SelectRow(int row);
    // The square inside a row's column 0 whose click toggles its check box.
    QRect CheckSquare(int row) const;

signals:
    // A click on a column heading.
    void HeadingClicked(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CReportModel* m_model;
    int m_rowHeight = 0;
};
