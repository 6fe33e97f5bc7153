#pragma once

#include <QAbstractTableModel>

namespace nobrisa {

class StringTable;

// The continuous-print table as the grid shows it, without a copy: the model's rows and columns
// are the table's data rows and columns (1..), and the heading row and the numbering column
// (row 0, column 0) are the model's header texts, so that they never scroll away and cannot be
// edited. Model cell (r, c) is table cell (c + 1, r + 1).
//
// The table is changed by its own commands; the model is told afterwards. It reports the shape
// it last announced until then, so that views see rows and columns come and go in order.
class StringTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StringTableModel(StringTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The table's cell behind a model index; empty for an invalid one.
    QString cellText(const QModelIndex& index) const;
    void setCellText(const QModelIndex& index, const QString& text);

    // After the table was replaced as a whole (a file opened): views start afresh.
    void tableReplaced();
    // After the table grew, shrank or had its cells changed in place: views keep their current
    // cell, selection and scroll position where those still exist.
    void tableChanged();

private:
    StringTable& mTable;
    int mRows = 0;    // the data rows views know of
    int mColumns = 0; // the data columns views know of
};

} // namespace nobrisa
