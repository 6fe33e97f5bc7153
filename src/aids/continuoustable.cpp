#include "aids/continuoustable.h"

#include "aids/csv.h"
#include "model/numbertext.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace nobrisa {

namespace {

constexpr int kNewColumns = 5;
constexpr int kNewRows = 6;

// Walks the lines of a CSV text, each split with its number in front as field 0, so an empty
// line still gives its number and one empty field.
class NumberedLines final {
public:
    explicit NumberedLines(QStringView text)
        : mCursor(text)
    {
    }

    // The fields of the next line; null after the last line.
    const std::vector<QStringView>* next()
    {
        QStringView line;
        if (!mCursor.next(line))
            return nullptr;
        ++mNumber;
        mNumbered.resize(0); // keeps the buffer for the next line
        mNumbered.append(QString::number(mNumber)).append(u',').append(line);
        return &mSplitter.split(mNumbered);
    }
    int number() const noexcept { return mNumber; }

private:
    CsvLineCursor mCursor;
    CsvFieldSplitter mSplitter;
    QString mNumbered;
    int mNumber = 0;
};

// Replaces the table with the lines of `text` and the amount column.
void openText(ContinuousTable& target, QStringView text, const QString& amountText)
{
    // A first pass finds the row count and the width, so that the table is sized once and
    // every row is built whole, amount included.
    int rows = 1;
    int width = 0;
    {
        NumberedLines counting(text);
        while (const auto* fields = counting.next()) {
            ++rows;
            // A line wider than the widest so far leaves one spare column after it; a line
            // just one field wider than an earlier maximum fills that spare column.
            const int n = static_cast<int>(fields->size());
            if (width < n)
                width = n + 1;
        }
    }
    // The amount column follows the last column and starts with the amount of the slip.
    const int amountColumn = std::max(width, 1);

    StringTable fresh(amountColumn + 1, rows);
    NumberedLines filling(text);
    while (const auto* fields = filling.next())
        fresh.setRow(filling.number(), *fields, amountText);

    target.table = std::move(fresh);
    target.mapping.fill(target.table.columnCount());
    target.numberHeadings();
    target.rangeUpperBound = rows - 1;
}

QString fileMessage(const QString& format, const QString& path, const QString& reason)
{
    return format.arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

ContinuousTable::ContinuousTable()
{
    numberHeadings();
    mapping.fill(table.columnCount());
}

void ContinuousTable::numberHeadings()
{
    for (int c = 1; c < table.columnCount(); ++c)
        table.setCell(c, 0, QString::number(c));
    for (int r = 1; r < table.rowCount(); ++r)
        table.setCell(0, r, QString::number(r));
}

void ContinuousTable::newTable()
{
    table.clearData();
    table.resize(kNewColumns, kNewRows);
    // The rows New adds to a shorter table get their numbers too.
    numberHeadings();
    mapping.clear();
}

void ContinuousTable::openCsv(const QByteArray& bytes, const QString& amountText)
{
    openText(*this, csvText(bytes), amountText);
}

void ContinuousTable::addRows()
{
    table.resize(table.columnCount(), table.rowCount() + 2);
    numberHeadings();
    mapping.refill(table.columnCount());
}

void ContinuousTable::addColumn()
{
    table.resize(table.columnCount() + 1, table.rowCount());
    numberHeadings();
    mapping.refill(table.columnCount());
}

bool openCsvFile(ContinuousTable& target, const QString& path, const QString& amountText,
                 QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileMessage(QStringLiteral("ファイル「%1」を開けません。\n%2"), path,
                                 file.errorString());
        return false;
    }
    QString text;
    {
        // The bytes go before the table is built: a large file is held once, as text.
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            if (error)
                *error = fileMessage(QStringLiteral("ファイル「%1」を読み込めません。\n%2"), path,
                                     file.errorString());
            return false;
        }
        text = csvText(bytes);
    }
    openText(target, text, amountText);
    return true;
}

RowRange continuousRange(const QString& beginText, const QString& endText)
{
    // A text that is no whole number leaves its bound at 0.
    int first = 0;
    int last = 0;
    parseWholeNumber(beginText, &first);
    parseWholeNumber(endText, &last);
    if (first == 0 || last == 0)
        return {};
    return {first, last};
}

QString reversedRangeMessage(const RowRange& range)
{
    return QStringLiteral("印刷範囲の終わり（%1 行目）が始め（%2 行目）より前です。"
                          "何も印刷しませんでした。")
        .arg(range.last)
        .arg(range.first);
}

} // namespace nobrisa
