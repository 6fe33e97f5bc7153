// The continuous-print page of the main window: the table's commands, the column mapping lists,
// the print range and the continuous print itself.

#include "ui/tform1.h"

#include "render/printerdevice.h"
#include "ui/numberbox.h"
#include "ui/prompts.h"
#include "ui/stringgrid.h"
#include "ui/stringtablemodel.h"
#include "ui/tform2.h"
#include "ui/tform6.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QLocale>
#include <QSignalBlocker>
#include <QTabWidget>

#include <algorithm>
#include <optional>

namespace nobrisa {

namespace {

// The busy cursor while a large file is read.
class BusyCursor final {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

bool TForm1::continuousPageActive() const
{
    return mPages->currentWidget() == mContinuousPage;
}

int TForm1::dataRowCount() const
{
    return mContinuous.table.rowCount() - 1;
}

void TForm1::ToolButton16Click()
{
    // What is typed into a cell is printed too.
    mGrid->commitEditing();
    // An end beyond the table stops at its last row. An empty job would feed one pre-printed
    // form through the printer blank, and a range of millions of pages is a slip of the finger.
    QString why;
    const std::optional<RowRange> range =
        printableRange(continuousRange(mBegin->value(), mEnd->value()), dataRowCount(), &why);
    if (!range) {
        mPrompts.error(this, why);
        showResult(why);
        return;
    }
    const SlipSource source{mState.slip, mForm2->positions(), mPrinter, mCells};
    const SlipPrinting::Outcome outcome = mPrinting.printRows(this, source, mContinuous, *range);
    showResult(outcome.status);
}

// The current row's slip on the whole sheet of the current paper, as the continuous print
// draws it.
void TForm1::ToolButton29Click()
{
    // What is typed into a cell is shown too.
    mGrid->commitEditing();
    const SlipSource source{mState.slip, mForm2->positions(), mPrinter, mCells};
    // The table's row under the grid's current cell; its first data row when there is none.
    const auto currentRow = [this] { return std::max(mGrid->currentIndex().row() + 1, 1); };
    const auto printerSetup = [this] { Mprintersetup1Click(); };
    TForm6 preview(source, mContinuous, currentRow, mPrinter, mPrompts, printerSetup, this);
    preview.run();
}

void TForm1::ToolButton17Click()
{
    const QString fileName = mPrompts.openFile(
        this, {QStringLiteral("加入者連続データの読み込み"), mContext.executableFolder, QString(),
               QStringLiteral("ｶﾝﾏ区切りﾌｧｲﾙ (*.csv);;すべて (*)"), QStringLiteral("csv")});
    if (fileName.isEmpty())
        return;
    mGrid->commitEditing();
    QString error;
    std::optional<QString> text;
    {
        const BusyCursor busy;
        text = readCsvFile(fileName, &error);
    }
    if (!text) {
        mPrompts.error(this, error);
        return;
    }
    // A picture or a spreadsheet's own file chosen by mistake would fill the table with
    // garbage that prints without a word: the table stays unless the user wants it so.
    if (const auto notText = notTextMessage(fileName, *text);
        notText && !mPrompts.confirm(this, Prompts::Tone::Warning,
                                     *notText + QStringLiteral("\n\nこのまま読み込みますか？"),
                                     QStringLiteral("読み込む"), QStringLiteral("キャンセル")))
        return;
    bool opened = false;
    {
        const BusyCursor busy;
        opened = openCsvText(mContinuous, fileName, *text, mState.slip.SEkingaku.text(), &error);
    }
    text.reset();
    if (!opened) {
        mPrompts.error(this, error);
        return;
    }
    showReplacedTable();
    mGrid->fitColumnsToContents();
    showResult(QStringLiteral("「%1」から %2 行を読み込みました。")
                   .arg(QFileInfo(fileName).fileName(),
                        QLocale(QLocale::Japanese, QLocale::Japan).toString(dataRowCount())));
}

void TForm1::showReplacedTable()
{
    mGridModel->tableReplaced();
    // The first data cell is the current one, as the cell commands act on the current cell.
    mGrid->setCurrentIndex(mGridModel->index(0, 0));
    showMapping();
    showRangeBounds();
}

void TForm1::ToolButton18Click()
{
    mGrid->commitEditing();
    const QModelIndex current = mGrid->currentIndex();
    if (current.isValid())
        QApplication::clipboard()->setText(mGridModel->cellText(current));
}

void TForm1::ToolButton19Click()
{
    mGrid->commitEditing();
    const QModelIndex current = mGrid->currentIndex();
    if (!current.isValid())
        return;
    QApplication::clipboard()->setText(mGridModel->cellText(current));
    mGridModel->setCellText(current, QString());
}

void TForm1::ToolButton20Click()
{
    mGrid->commitEditing();
    const QModelIndex current = mGrid->currentIndex();
    if (current.isValid())
        mGridModel->setCellText(current, QApplication::clipboard()->text());
}

void TForm1::ToolButton21Click()
{
    mGrid->commitEditing();
    const QModelIndex current = mGrid->currentIndex();
    if (current.isValid())
        mGridModel->setCellText(current, QString());
}

void TForm1::ToolButton22Click()
{
    mGrid->commitEditing();
    mContinuous.newTable();
    mGridModel->tableChanged();
    showMapping();
}

void TForm1::ToolButton25Click()
{
    mGrid->commitEditing();
    mContinuous.addRows();
    mGridModel->tableChanged();
    showMapping();
}

void TForm1::ToolButton26Click()
{
    mGrid->commitEditing();
    mContinuous.addColumn();
    mGridModel->tableChanged();
    showMapping();
}

void TForm1::SpeedButton13Click()
{
    Label53Click();
    Label59Click();
}

void TForm1::Label53Click()
{
    mBegin->setNumber(1);
}

void TForm1::Label59Click()
{
    mEnd->setNumber(dataRowCount());
}

void TForm1::showMapping()
{
    const ColumnMapping& mapping = mContinuous.mapping;
    for (int i = 0; i < kMapFieldCount; ++i) {
        QComboBox* list = mColumnLists[static_cast<std::size_t>(i)];
        const auto field = static_cast<MapField>(i);
        // Showing the mapping is not choosing one.
        const QSignalBlocker quiet(list);
        list->clear();
        if (mapping.itemCount > 0) {
            QStringList items{ColumnMapping::itemZeroText(field)};
            items.reserve(mapping.itemCount);
            for (int k = 1; k < mapping.itemCount; ++k)
                items << QString::number(k);
            list->addItems(items);
        }
        list->setCurrentIndex(mapping.selected(field));
    }
}

void TForm1::showRangeBounds()
{
    for (NumberBox* box : {mBegin, mEnd})
        box->setRange(0, mContinuous.rangeUpperBound);
}

} // namespace nobrisa
