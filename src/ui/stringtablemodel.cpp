#include "ui/stringtablemodel.h"

#include "model/stringtable.h"

#include <algorithm>

namespace nobrisa {

namespace {

int dataRows(const StringTable& table)
{
    return std::max(0, table.rowCount() - 1);
}

int dataColumns(const StringTable& table)
{
    return std::max(0, table.columnCount() - 1);
}

} // namespace

StringTableModel::StringTableModel(StringTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , mTable(table)
    , mRows(dataRows(table))
    , mColumns(dataColumns(table))
{
}

int StringTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int StringTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mColumns;
}

QVariant StringTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index);
    // The whole text of a cell too long for its column; an empty cell has no tooltip.
    if (role == Qt::ToolTipRole) {
        const QString text = cellText(index);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    return {};
}

bool StringTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setCellText(index, value.toString());
    return true;
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    return orientation == Qt::Horizontal ? mTable.cell(section + 1, 0)
                                         : mTable.cell(0, section + 1);
}

Qt::ItemFlags StringTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QString StringTableModel::cellText(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    return mTable.cell(index.column() + 1, index.row() + 1);
}

void StringTableModel::setCellText(const QModelIndex& index, const QString& text)
{
    if (!index.isValid())
        return;
    mTable.setCell(index.column() + 1, index.row() + 1, text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
}

void StringTableModel::tableReplaced()
{
    beginResetModel();
    mRows = dataRows(mTable);
    mColumns = dataColumns(mTable);
    endResetModel();
}

void StringTableModel::tableChanged()
{
    const int rows = dataRows(mTable);
    if (rows > mRows) {
        beginInsertRows({}, mRows, rows - 1);
        mRows = rows;
        endInsertRows();
    } else if (rows < mRows) {
        beginRemoveRows({}, rows, mRows - 1);
        mRows = rows;
        endRemoveRows();
    }
    const int columns = dataColumns(mTable);
    if (columns > mColumns) {
        beginInsertColumns({}, mColumns, columns - 1);
        mColumns = columns;
        endInsertColumns();
    } else if (columns < mColumns) {
        beginRemoveColumns({}, columns, mColumns - 1);
        mColumns = columns;
        endRemoveColumns();
    }
    // The headings may have been renumbered and any cell emptied.
    if (mColumns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, mColumns - 1);
    if (mRows > 0)
        emit headerDataChanged(Qt::Vertical, 0, mRows - 1);
    if (mRows > 0 && mColumns > 0)
        emit dataChanged(index(0, 0), index(mRows - 1, mColumns - 1));
}

} // namespace nobrisa
