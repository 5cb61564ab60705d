#pragma once
#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The rows of a report list: text cells under fixed column headings, and a
// check state per row when the list has check boxes (shown in column 0).
class CReportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString heading;
        int width; // pixels; 0 hides the column
    };

    explicit CReportModel(QObject* parent = nullptr);

    void SetColumns(const QVector<Column>& columns);
    const QVector<Column>& Columns() const { return m_columns; }
    void SetCheckable(bool checkable) { m_checkable = checkable; }
    bool IsCheckable() const { return m_checkable; }

    // Replaces every row; all rows start unchecked.
    void SetRows(QVector<QStringList> rows);
    int RowCount() const { return m_rows.size(); }
    QString Text(int row, int column) const;
    // Changes one cell in place: the row stays, and so does any selection.
    void SetText(int row, int column, const QString& text);
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);
    void SetAllChecked(bool checked);
    QVector<int> CheckedRows() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVector<Column> m_columns;
    QVector<QStringList> m_rows;
    QVector<bool> m_checked;
    bool m_checkable = false;
};
