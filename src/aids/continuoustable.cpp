#include "aids/continuoustable.h"

#include "aids/csv.h"
#include "model/numbertext.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <new>

namespace nobrisa {

namespace {

constexpr int kNewColumns = 5;
constexpr int kNewRows = 6;

// Walks the lines of a CSV text, each split with its number in front as field 0, so an empty
// line still gives its number and one empty field. A line of more than kMaxCsvColumns fields is
// split only so far as to show that it has too many.
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
        return &mSplitter.split(mNumbered, kMaxCsvColumns + 1);
    }
    int number() const noexcept { return mNumber; }

private:
    CsvLineCursor mCursor;
    CsvFieldSplitter mSplitter;
    QString mNumbered;
    int mNumber = 0;
};

QLocale japanese()
{
    return QLocale(QLocale::Japanese, QLocale::Japan);
}

QString fileMessage(const QString& format, const QString& path, const QString& reason)
{
    return format.arg(QDir::toNativeSeparators(path), reason);
}

QString outOfMemoryMessage(const QString& path)
{
    return QStringLiteral("メモリが足りないため、ファイル「%1」を読み込めませんでした。"
                          "表は元のままです。")
        .arg(QDir::toNativeSeparators(path));
}

// Builds the table of `text` and the amount column, or says why it would exceed the limits.
// The target changes only once everything is built.
bool openText(ContinuousTable& target, const QString& path, QStringView text,
              const QString& amountText, QString* error)
{
    // A first pass finds the row count and the width, so that the table is sized once and
    // every row is built whole, amount included; it costs nothing per line, so a file beyond
    // the limits is refused before the table takes any memory.
    int rows = 1;
    int width = 0;
    {
        NumberedLines counting(text);
        while (const auto* fields = counting.next()) {
            if (counting.number() > kMaxCsvRows) {
                if (error)
                    *error =
                        QStringLiteral("ファイル「%1」は行が多すぎるため読み込めません。\n"
                                       "連続印刷で開けるのは %2 行までです。")
                            .arg(QDir::toNativeSeparators(path), japanese().toString(kMaxCsvRows));
                return false;
            }
            ++rows;
            // The line's own fields follow its number.
            const int n = static_cast<int>(fields->size());
            if (n - 1 > kMaxCsvColumns) {
                if (error)
                    *error = QStringLiteral("ファイル「%1」の %2 行目は項目が多すぎるため"
                                            "読み込めません。\n連続印刷で開けるのは１行 %3 項目"
                                            "までです。")
                                 .arg(QDir::toNativeSeparators(path),
                                      japanese().toString(counting.number()),
                                      japanese().toString(kMaxCsvColumns));
                return false;
            }
            // A line wider than the widest so far leaves one spare column after it; a line
            // just one field wider than an earlier maximum fills that spare column.
            if (width < n)
                width = n + 1;
        }
    }
    // The amount column follows the last column and starts with the amount of the slip.
    const int amountColumn = std::max(width, 1);

    ContinuousTable fresh;
    fresh.table = StringTable(amountColumn + 1, rows);
    NumberedLines filling(text);
    while (const auto* fields = filling.next())
        fresh.table.setRow(filling.number(), *fields, amountText);
    fresh.mapping.fill(fresh.table.columnCount());
    fresh.numberHeadings();
    fresh.rangeUpperBound = rows - 1;
    target = std::move(fresh);
    return true;
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

bool ContinuousTable::openCsv(const QByteArray& bytes, const QString& amountText)
{
    try {
        return openText(*this, QString(), csvText(bytes), amountText, nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
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

std::optional<QString> readCsvFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileMessage(QStringLiteral("ファイル「%1」を開けません。\n%2"), path,
                                 file.errorString());
        return std::nullopt;
    }
    const auto tooLarge = [&] {
        if (error)
            *error = QStringLiteral("ファイル「%1」は大きすぎるため読み込めません。\n"
                                    "連続印刷で開けるのは %2 MB までのファイルです。")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(kMaxCsvFileBytes / (1024 * 1024));
        return std::nullopt;
    };
    // A file is refused by its size before it is read; a device or a pipe (/dev/zero never
    // ends) is read up to one byte beyond the limit.
    if (!file.isSequential() && file.size() > kMaxCsvFileBytes)
        return tooLarge();
    try {
        // The bytes go before the table is built: a large file is held once, as text.
        const QByteArray bytes =
            file.isSequential() ? file.read(kMaxCsvFileBytes + 1) : file.readAll();
        if (file.error() != QFileDevice::NoError) {
            if (error)
                *error = fileMessage(QStringLiteral("ファイル「%1」を読み込めません。\n%2"), path,
                                     file.errorString());
            return std::nullopt;
        }
        if (bytes.size() > kMaxCsvFileBytes)
            return tooLarge();
        return csvText(bytes);
    } catch (const std::bad_alloc&) {
        if (error)
            *error = outOfMemoryMessage(path);
        return std::nullopt;
    }
}

std::optional<QString> notTextMessage(const QString& path, QStringView text)
{
    const qsizetype strange = countNonTextCharacters(text);
    if (strange * 20 <= text.size())
        return std::nullopt;
    return QStringLiteral("ファイル「%1」はテキストファイルではないようです"
                          "（%2 文字のうち %3 文字が制御文字か読めない文字です）。")
        .arg(QDir::toNativeSeparators(path), japanese().toString(text.size()),
             japanese().toString(strange));
}

bool openCsvText(ContinuousTable& target, const QString& path, QStringView text,
                 const QString& amountText, QString* error)
{
    try {
        return openText(target, path, text, amountText, error);
    } catch (const std::bad_alloc&) {
        if (error)
            *error = outOfMemoryMessage(path);
        return false;
    }
}

bool openCsvFile(ContinuousTable& target, const QString& path, const QString& amountText,
                 QString* error)
{
    std::optional<QString> text = readCsvFile(path, error);
    if (!text)
        return false;
    if (const auto notText = notTextMessage(path, *text)) {
        if (error)
            *error = *notText;
        return false;
    }
    return openCsvText(target, path, *text, amountText, error);
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

std::optional<RowRange> printableRange(const RowRange& range, int dataRows, QString* why)
{
    const auto refuse = [why](const QString& message) -> std::optional<RowRange> {
        if (why)
            *why = message;
        return std::nullopt;
    };
    if (range.first == 0 && range.last == 0)
        return range; // the sample row
    if (range.count() == 0)
        return refuse(reversedRangeMessage(range));
    if (range.first > dataRows)
        return refuse(
            QStringLiteral("印刷範囲の始め（%1 行目）が表の最後の行（%2 行目）より後です。"
                           "何も印刷しませんでした。")
                .arg(range.first)
                .arg(dataRows));
    const RowRange rows{range.first, std::min(range.last, dataRows)};
    if (rows.count() > kMaxPagesPerJob)
        return refuse(
            QStringLiteral("%1 行目から %2 行目までは %3 枚です。一度に印刷できるのは"
                           " %4 枚までです。範囲を分けて印刷してください。")
                .arg(rows.first)
                .arg(rows.last)
                .arg(japanese().toString(rows.count()), japanese().toString(kMaxPagesPerJob)));
    return rows;
}

} // namespace nobrisa
