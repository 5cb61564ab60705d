#include "ui/ReportModel.h"

CReportModel::CReportModel(QObject* parent) : QAbstractTableModel(parent) {}

void CReportModel::SetColumns(const QVector<Column>& columns) {
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void CReportModel::SetRows(QVector<QStringList> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    m_checked = QVector<bool>(m_rows.size(), false);
    endResetModel();
}

QString CReportModel::Text(int row, int column) const {
    if (row < 0 || row >= m_rows.size())
        return QString();
    return m_rows[row].value(column);
}

void CReportModel::SetText(int row, int column, const QString& text) {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return;
    QStringList& cells = m_rows[row];
    while (cells.size() <= column)
        cells.append(QString());
    if (cells[column] == text)
        return;
    cells[column] = text;
    emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
}

bool CReportModel::IsChecked(int row) const {
    return row >= 0 && row < m_checked.size() && m_checked[row];
}

void CReportModel::SetChecked(int row, bool checked) {
    if (row < 0 || row >= m_checked.size() || m_checked[row] == checked)
        return;
    m_checked[row] = checked;
    emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

void CReportModel::SetAllChecked(bool checked) {
    if (m_rows.isEmpty())
        return;
    m_checked.fill(checked);
    emit dataChanged(index(0, 0), index(m_rows.size() - 1, 0), {Qt::CheckStateRole});
}

QVector<int> CReportModel::CheckedRows() const {
    QVector<int> rows;
    for (int i = 0; i < m_checked.size(); ++i)
        if (m_checked[i])
            rows.append(i);
    return rows;
}

int CReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.size();
}

int CReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant CReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_rows[index.row()].value(index.column());
    if (role == Qt::CheckStateRole && m_checkable && index.column() == 0)
        return m_checked[index.row()] ? Qt::Checked : Qt::Unchecked;
    return QVariant();
}

bool CReportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= m_rows.size())
        return false;
    if (role == Qt::CheckStateRole && m_checkable && index.column() == 0) {
        SetChecked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    return false;
}

QVariant CReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_columns[section].heading;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags CReportModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
