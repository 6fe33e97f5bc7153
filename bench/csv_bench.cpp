// Times opening a continuous-print CSV file: reading, decoding, splitting and filling the table,
// as the open command of the continuous-print tab does. Prints seconds and the peak resident
// memory, which shows what a large table costs beyond its text.
//
//   csv_bench [ROWS] [--utf8] ROWS generated rows (default 100000) of ten Japanese fields,
//                             written as CP932 (or UTF-8 without a mark, which the reader must
//                             first recognise as Japanese text) to a temporary file first
//   csv_bench --file FILE     an existing CSV file
//   csv_bench --empty ROWS    ROWS empty lines (LF): what a row costs beyond its text
//   csv_bench --breaks MB     MB megabytes of line breaks, a hostile file the open must refuse
//                             within bounded time and memory

#include "benchutil.h"

#include "aids/continuoustable.h"
#include "aids/csv.h"
#include "text/encoding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace {

using namespace nobrisa;
using bench::peakRssKiB;
using bench::residentKiB;

// Deterministic rows: the same file for every run of a given size.
class RowMaker final {
public:
    QString row(int i)
    {
        static constexpr std::array kCities{
            u"東京都千代田区大手町", u"大阪府大阪市北区梅田", u"北海道札幌市中央区北一条西",
            u"福岡県福岡市博多区博多駅前", u"愛知県名古屋市中村区名駅"};
        static constexpr std::array kBuildings{u"さくらハイツ", u"グリーンコーポ", u"リバーテラス",
                                               u"ひまわり荘"};
        static constexpr std::array kFamily{u"佐藤", u"鈴木", u"高橋", u"田中", u"渡辺", u"髙橋"};
        static constexpr std::array kGiven{u"太郎", u"花子", u"陽菜", u"悠斗", u"結衣"};
        const QChar zero(u'0');
        QStringList f;
        f << QStringLiteral("%1-%2").arg(next(1000), 3, 10, zero).arg(next(10000), 4, 10, zero);
        f << pick(kCities) + QStringLiteral("%1丁目%2番%3号")
                                 .arg(next(9) + 1)
                                 .arg(next(30) + 1)
                                 .arg(next(20) + 1);
        f << pick(kBuildings) + QStringLiteral("　%1号室").arg(next(900) + 100);
        f << pick(kFamily) + u'　' + pick(kGiven);
        f << QStringLiteral("0%1-%2-%3")
                 .arg(next(90) + 10)
                 .arg(next(9000) + 1000)
                 .arg(next(9000) + 1000);
        f << QString::number((next(100) + 1) * 100);
        // Quoted fields, one with a comma and one with doubled quotes.
        f << QStringLiteral("\"会費, %1年度分\"").arg(2020 + next(10));
        f << QStringLiteral("会員番号%1").arg(i);
        f << QStringLiteral("\"「ご協力」\"\"ありがとう\"\"\"");
        f << QStringLiteral("領収書不要");
        return f.join(u',');
    }

private:
    int next(int bound)
    {
        mState = mState * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((mState >> 33) % static_cast<std::uint64_t>(bound));
    }
    template <std::size_t N> QString pick(const std::array<const char16_t*, N>& a)
    {
        return QString::fromUtf16(a[static_cast<std::size_t>(next(static_cast<int>(N)))]);
    }

    std::uint64_t mState = 20260101;
};

bool writeRows(const QString& path, int rows, bool utf8)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    RowMaker maker;
    QString chunk;
    for (int i = 1; i <= rows; ++i) {
        chunk += maker.row(i) + QStringLiteral("\r\n");
        if (i % 1000 == 0 || i == rows) {
            file.write(utf8 ? chunk.toUtf8() : encodeCp932(chunk));
            chunk.clear();
        }
    }
    return file.error() == QFileDevice::NoError;
}

// `bytes` line feeds.
bool writeBreaks(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(1024 * 1024, '\n');
    for (qint64 left = bytes; left > 0; left -= block.size())
        file.write(block.constData(), std::min<qint64>(left, block.size()));
    return file.error() == QFileDevice::NoError;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rows = 100000;
    bool utf8 = false;
    qint64 breaks = -1; // line breaks instead of rows
    QString path;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--utf8"))
            utf8 = true;
        else if (args[i] == QLatin1String("--file") && i + 1 < args.size())
            path = args[++i];
        else if (args[i] == QLatin1String("--empty") && i + 1 < args.size())
            breaks = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--breaks") && i + 1 < args.size())
            breaks = args[++i].toLongLong() * 1024 * 1024;
        else if (args[i].toInt() > 0)
            rows = args[i].toInt();
        else {
            std::fprintf(stderr, "usage: csv_bench [ROWS] [--utf8] | --file FILE.csv | "
                                 "--empty ROWS | --breaks MB\n");
            return 2;
        }
    }

    QTemporaryDir temp;
    if (path.isEmpty()) {
        path = temp.filePath(QStringLiteral("rows.csv"));
        if (breaks >= 0 ? !writeBreaks(path, breaks) : !writeRows(path, rows, utf8)) {
            std::fprintf(stderr, "csv_bench: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const long rssBefore = peakRssKiB();

    // The decoding alone, for comparison with the whole open (which decodes again).
    qint64 decodeNs = 0;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            QElapsedTimer timer;
            timer.start();
            const QString text = csvText(bytes);
            decodeNs = timer.nsecsElapsed();
        }
    }

    ContinuousTable table;
    QString error;
    const long heldBefore = residentKiB();
    QElapsedTimer timer;
    timer.start();
    const bool opened = openCsvFile(table, path, QStringLiteral("1000"), &error);
    const qint64 ns = timer.nsecsElapsed();
    if (!opened) {
        // A refusal is a result too: how long it took and what it cost.
        std::printf("refused         %.3f s, peak RSS %ld KiB (%ld KiB before opening): %s\n",
                    ns / 1e9, peakRssKiB(), rssBefore, qPrintable(error.replace(u'\n', u' ')));
        return breaks >= 0 ? 0 : 1;
    }

    std::printf("file            %lld bytes  %s\n", static_cast<long long>(QFileInfo(path).size()),
                qPrintable(path));
    std::printf("table           %d rows x %d columns\n", table.table.rowCount(),
                table.table.columnCount());
    std::printf("open            %.3f s  (of which decoding about %.3f s)\n", ns / 1e9,
                decodeNs / 1e9);
    const long heldAfter = residentKiB();
    std::printf("peak RSS        %ld KiB (%ld KiB before opening, %ld KiB held after)\n",
                peakRssKiB(), rssBefore, heldAfter);
    std::printf("held a row      %.1f bytes\n",
                (heldAfter - heldBefore) * 1024.0 / std::max(1, table.table.rowCount() - 1));
    return 0;
}
