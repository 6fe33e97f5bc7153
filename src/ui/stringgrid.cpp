#include "ui/stringgrid.h"

#include <QHeaderView>

#include <algorithm>

namespace nobrisa {

namespace {

constexpr int kColumnWidth = 48;
constexpr int kRowHeight = 18;

// Fitting the columns measures at most this many rows, and at most this many cells in all.
constexpr int kSampleRows = 200;
constexpr int kSampleCells = 20000;
// The widest a fitted column gets, in full-width characters: an address line, not a whole row.
constexpr int kMaxColumnCharacters = 24;

} // namespace

StringGrid::StringGrid(QWidget* parent)
    : QTableView(parent)
{
    setObjectName(QStringLiteral("StringGrid1"));
    const QString hint = QStringLiteral("編集はＦ２キー");
    setStatusTip(hint);
    viewport()->setStatusTip(hint);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);

    // Rows never shorter than a line of the cell font needs, so that Japanese text is not cut.
    const int rowHeight = std::max(kRowHeight, fontMetrics().height() + 4);
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), rowHeight));
    rows->setDefaultSectionSize(rowHeight);
    rows->setSectionResizeMode(QHeaderView::Interactive);
    rows->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The numbering column does not shrink to a sliver for a short table.
    rows->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
    QHeaderView* columns = horizontalHeader();
    columns->setMinimumSectionSize(std::min(columns->minimumSectionSize(), kColumnWidth));
    columns->setDefaultSectionSize(kColumnWidth);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    // The headings are the table's row 0 and column 0: they are not clicked to sort or select.
    for (QHeaderView* header : {rows, columns}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(true);
    }
}

void StringGrid::commitEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void StringGrid::fitColumnsToContents()
{
    const QAbstractItemModel* m = model();
    if (!m)
        return;
    const int columns = m->columnCount();
    const int rows =
        std::min(m->rowCount(), std::clamp(kSampleCells / std::max(columns, 1), 1, kSampleRows));
    const int widest = fontMetrics().horizontalAdvance(QChar(u'漢')) * kMaxColumnCharacters;
    QHeaderView* header = horizontalHeader();
    for (int c = 0; c < columns; ++c) {
        int width = std::max(kColumnWidth, header->sectionSizeHint(c));
        for (int r = 0; r < rows && width < widest; ++r)
            width = std::max(width, sizeHintForIndex(m->index(r, c)).width());
        header->resizeSection(c, std::min(width, widest));
    }
}

} // namespace nobrisa
