#include "aids/continuoustable.h"
#include "aids/csv.h"
#include "aids/infoexport.h"
#include "model/coords.h"
#include "model/devicecaps.h"
#include "pdfwords.h"
#include "platform/fonts.h"
#include "settings/settings.h"
#include "text/encoding.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs nobrisa-cli as a user would. With `noPrinters` the spooler is out of reach, as on a
// machine without CUPS.
CliRun runCli(const QStringList& args, bool noPrinters = false)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (noPrinters)
        env.insert("CUPS_SERVER", "127.0.0.1:1");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(NOBRISA_CLI), args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString sample()
{
    return QStringLiteral(NOBRISA_SAMPLES "/sample.dat");
}

TEST(Cli, SamplePdfHasEveryDigitAtItsDevicePixel)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    const CliRun run = runCli({"print", sample(), "--pdf", pdf, "--dpi", "600"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const test::PdfText text = test::readPdfText(pdf);
    ASSERT_TRUE(text.ok) << text.error.toStdString();
    EXPECT_EQ(text.pageCount, 1);
    EXPECT_EQ(text.title, "Nobrisa_日本語教育振興会");

    // The sample: account 00120-6-12345 and amount 35000 in the standard rows; the PDF output
    // has no hardware margins, so device pixels count from the paper's corner.
    FixedDevice pdf600;
    struct Digit {
        const char* text;
        int x;
        int y;
    };
    const Digit digits[] = {
        {"0", 55, 170},   {"0", 106, 170},  {"1", 157, 170},  {"2", 208, 170},  {"0", 259, 170},
        {"6", 335, 170},  {"1", 512, 170},  {"5", 716, 170},  {"3", 969, 170},  {"5", 1020, 170},
        {"0", 1173, 170}, {"0", 1377, 170}, {"6", 1658, 170}, {"1", 1530, 280}, {"5", 1734, 280},
        {"3", 1530, 490}, {"0", 1734, 490},
    };
    for (const Digit& d : digits) {
        const int px = mmx(d.x, 0, pdf600);
        const int py = mmy(d.y, 0, pdf600);
        bool found = false;
        for (const test::PdfWord& w : text.words) {
            if (w.text != QString::fromUtf8(d.text))
                continue;
            if (std::abs(test::pointsToPixels(w.xMin, 600) - px) <= 0.5 &&
                std::abs(test::pointsToPixels(w.yMin, 600) - py) <= 0.5)
                found = true;
        }
        EXPECT_TRUE(found) << d.text << " not at " << px << "," << py;
    }
}

TEST(Cli, CopiesAndRightHalfMakeOneJob)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("copies.pdf");
    CliRun run = runCli({"print", sample(), "--copies", "3", "--right", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const test::PdfText text = test::readPdfText(pdf);
    EXPECT_EQ(text.pageCount, 3);
    EXPECT_EQ(text.find("令和８年度"), nullptr) << "the right half has no message column";
}

// A continuous print: one page per CSV row in one PDF, each page with its own row's payer.
TEST(Cli, ContinuousPrintGivesOnePagePerRowWithThatRowsPayer)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("members.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("100-0001,東京都,一丁目,山田太郎,03-1111-2222\n"
                   "150-0002,大阪府,二丁目,佐藤花子,06-3333-4444\n"
                   "530-0003,京都府,三丁目,鈴木一郎,075-555-6666\n");
    }
    const QString names[] = {"山田太郎", "佐藤花子", "鈴木一郎"};
    const QString pdf = dir.filePath("rows.pdf");

    CliRun run = runCli({"print", sample(), "--csv", csv, "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    test::PdfText text = test::readPdfText(pdf);
    ASSERT_EQ(text.pageCount, 3);
    for (int page = 0; page < 3; ++page) {
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(text.find(names[row], page) != nullptr, row == page)
                << names[row].toStdString() << " on page " << page;
    }

    run = runCli({"print", sample(), "--csv", csv, "--rows", "2-3", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    text = test::readPdfText(pdf);
    ASSERT_EQ(text.pageCount, 2);
    EXPECT_NE(text.find("佐藤花子", 0), nullptr);

    // A bound of 0: the single trial slip of sample texts.
    run = runCli({"print", sample(), "--csv", csv, "--rows", "0-3", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    text = test::readPdfText(pdf);
    ASSERT_EQ(text.pageCount, 1);
    EXPECT_NE(text.find("000-0000", 0), nullptr);

    // The name's column mapped to none: no name from the table anywhere.
    run = runCli({"print", sample(), "--csv", csv, "--map", "name=0", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    text = test::readPdfText(pdf);
    ASSERT_EQ(text.pageCount, 3);
    EXPECT_EQ(text.find("山田太郎"), nullptr);
    EXPECT_NE(text.find("100-0001", 0), nullptr);

    const struct {
        QStringList args;
        int exitCode;
        const char* inMessage;
    } bad[] = {
        {{"print", sample(), "--csv", dir.filePath("none.csv"), "--pdf", pdf}, 2, "none.csv"},
        {{"print", sample(), "--csv", csv, "--rows", "x", "--pdf", pdf}, 1, "--rows"},
        {{"print", sample(), "--csv", csv, "--map", "shoe=1", "--pdf", pdf}, 1, "--map"},
        {{"print", sample(), "--csv", csv, "--map", "name=99", "--pdf", pdf}, 1, "99"},
        {{"print", sample(), "--csv", csv, "--copies", "2", "--pdf", pdf}, 1, "--copies"},
        {{"print", sample(), "--rows", "1-2", "--pdf", pdf}, 1, "--csv"},
        // The end before the beginning: no job, not even an empty one.
        {{"print", sample(), "--csv", csv, "--rows", "3-1", "--pdf", pdf}, 1, "より前"},
    };
    QFile::remove(pdf);
    for (const auto& c : bad) {
        run = runCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.inMessage)))
            << c.args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

// Hostile CSV files and ranges: an end beyond the table stops at its last row (instead of
// printing blank slips until the disk is full), a file that is no text is refused unless
// --binary says it is meant, a line beyond the limits refuses the file; no PDF where nothing
// was printed.
TEST(Cli, HostileCsvFilesAndRangesCostBoundedWork)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString rows = write("rows.csv", "100-0001,東京都,,山田太郎\n150-0002,大阪府,,佐藤花子\n"
                                           "530-0003,京都府,,鈴木一郎\n");
    const QString binary =
        write("binary.csv", QByteArray("\x01\x02\x03\x1b\x7f\x0e\xff\n").repeated(50));
    const QString wide = write("wide.csv", QByteArray("a,").repeated(kMaxCsvColumns) + "a\n");
    const QString pdf = dir.filePath("out.pdf");
    const QString png = dir.filePath("out.png");
    const struct {
        QStringList args;
        int exitCode;
        int pages; // of the PDF; -1: none written
        const char* inMessage;
    } cases[] = {
        {{"print", sample(), "--csv", rows, "--rows", "2-2147483647", "--pdf", pdf}, 0, 2, ""},
        {{"print", sample(), "--csv", rows, "--rows", "5-9", "--pdf", pdf}, 1, -1, "より後"},
        {{"print", sample(), "--csv", binary, "--pdf", pdf}, 2, -1, "--binary"},
        {{"print", sample(), "--csv", binary, "--rows", "1-1", "--binary", "--pdf", pdf}, 0, 1, ""},
        {{"print", sample(), "--csv", wide, "--pdf", pdf}, 2, -1, "1 行目は項目が多すぎる"},
        {{"print", sample(), "--binary", "--pdf", pdf}, 1, -1, "--csv"},
        {{"facsimile", sample(), png, "--csv", binary, "--row", "1"},
         2,
         -1,
         "テキストファイルではないようです"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove(pdf);
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.inMessage))) << run.err.toStdString();
        EXPECT_EQ(QFile::exists(pdf) || QFile::exists(png), c.pages >= 0);
        if (c.pages >= 0) {
            EXPECT_EQ(test::readPdfText(pdf).pageCount, c.pages);
        }
    }
}

// The words of a page inside a box given in 0.1 mm (left, top, right, bottom), in the order
// pdftotext reads them, measured in the device pixels of the 600-dpi PDF.
QStringList wordsIn(const test::PdfText& text, int page, int left, int top, int right, int bottom)
{
    const FixedDevice pdf600;
    const auto px = [](double points) { return test::pointsToPixels(points, 600); };
    QStringList words;
    for (const test::PdfWord& w : text.words) {
        if (w.page == page && px(w.xMin) >= mmx(left, 0, pdf600) &&
            px(w.xMax) <= mmx(right, 0, pdf600) && px(w.yMin) >= mmy(top, 0, pdf600) &&
            px(w.yMax) <= mmy(bottom, 0, pdf600))
            words << w.text;
    }
    return words;
}

// Payer lists as they come: Shift-JIS half-width katakana that is valid UTF-8 by accident, UTF-8
// without a mark, a spreadsheet's export with «山田 太郎» unquoted. Each name prints whole as the
// last line of the left payer box and alone in the right one, where a misread encoding or a
// split field (the address in the name's place) would show.
TEST(Cli, CsvPayerListsPrintEachNameWholeInItsBoxes)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"halfwidth_names_cp932.csv", {"ﾅｶﾐｷ", "ﾆｼ", "ﾐｷ"}},
        {"kanji_names_utf8.csv", {"髙橋一郎", "山田花子"}},
        {"spreadsheet_export_cp932.csv", {"山田 太郎", "佐藤 花子", "鈴木 一郎"}},
    };
    QTemporaryDir dir;
    const QString pdf = dir.filePath("rows.pdf");
    for (const auto& [file, names] : cases) {
        SCOPED_TRACE(file);
        const CliRun run =
            runCli({"print", sample(), "--csv", QStringLiteral(NOBRISA_TEST_DATA "/csv/") + file,
                    "--all", "--pdf", pdf});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const test::PdfText text = test::readPdfText(pdf);
        ASSERT_EQ(text.pageCount, names.size()) << text.error.toStdString();
        for (int page = 0; page < text.pageCount; ++page) {
            const QStringList name = names[page].split(u' ');
            // The sample's payer boxes: left 130-800 × 730-860, right 1390-1760 × 560-770.
            const QStringList left = wordsIn(text, page, 130, 730, 800, 860);
            EXPECT_EQ(left.mid(left.size() - name.size()), name) << "page " << page;
            EXPECT_EQ(wordsIn(text, page, 1390, 560, 1760, 770), name) << "page " << page;
        }
    }
}

TEST(Cli, BadArgumentsAndFilesFailClearlyAndLeaveNoPdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("x.pdf");
    struct Case {
        QStringList args;
        int exitCode;
        const char* inMessage;
    };
    const Case cases[] = {
        {{"print", dir.filePath("missing.dat"), "--pdf", pdf}, 2, "missing.dat"},
        {{"print", dir.path(), "--pdf", pdf}, 2, "読み込めません"},
        {{"print", sample(), "--copies", "abc", "--pdf", pdf}, 1, "--copies"},
        {{"print", sample(), "--copies", "0", "--pdf", pdf}, 1, "--copies"},
        {{"print", sample(), "--printer", "a", "--pdf", pdf}, 1, "同時に"},
        {{"print", sample(), "--dpi"}, 1, "--dpi"},
        {{"print"}, 1, "設定ファイル"},
        {{"frobnicate"}, 1, "frobnicate"},
        {{"print", sample(), "--pdf", dir.filePath("no/such/folder/x.pdf")}, 4, "x.pdf"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.inMessage)))
            << c.args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0)
        << "a failed print left a file behind";
}

TEST(Cli, NoPrinterWithoutPdfIsAnErrorAndHelpExplains)
{
    CliRun run = runCli({"print", sample()}, true);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("--pdf")) << run.err.toStdString();

    run = runCli({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("--copies"));
}

// Setting files that are damaged or strange: never a crash or a hang, the defaults apply.
TEST(Cli, DamagedSettingFilesStillPrint)
{
    QTemporaryDir dir;
    QString hundredThousand;
    for (int i = 0; i < 100000; ++i)
        hundredThousand += QStringLiteral("Line%1=#行%2#\r\n").arg(i, 2, 10, QChar('0')).arg(i);
    const QByteArray bodies[] = {
        // Unknown fonts, sizes and positions that are no numbers, all groups on.
        QStringLiteral("[TabSheet1]\r\nCheckBox1=1\r\nEkouza1=12345\r\nCBfont1=NoSuchFace\r\n"
                       "SpinEditFont1=big\r\nEkanyucount=1\r\nLine00=#加入者#\r\n"
                       "CheckBoxfont5=1\r\n[TabSheet2]\r\nCheckBox2=1\r\nSEkingaku=x\r\n"
                       "[TabSheet4]\r\nCheckBox4=1\r\nCheckBoxfont4=1\r\n[TabSheet99]\r\n"
                       "SEkouza1=-\r\nSEharaiLright=abc\r\n")
            .toUtf8(),
        // A huge line count with no line keys, and truncated UTF-16.
        QByteArray("\xff\xfe", 2) +
            QByteArray(reinterpret_cast<const char*>(
                           u"[TabSheet3]\r\nCheckBox3=1\r\nMemoTsuushincount=2000000000\r\n"),
                       2 * 52) +
            QByteArray("\x41", 1),
        // Invalid Shift-JIS bytes.
        QByteArray("[TabSheet1]\r\nCheckBox1=1\r\nEkanyucount=1\r\nLine00=#\x82\xff\x81#\r\n"),
        // 100,000 address lines, fitted to the box.
        (QStringLiteral("[System]\r\nVersion=4.3\r\n[TabSheet4]\r\nCheckBox4=1\r\n"
                        "CheckBoxfont4=1\r\nMaddres=100000\r\n") +
         hundredThousand)
            .toUtf8(),
    };
    int n = 0;
    for (const QByteArray& body : bodies) {
        const QString file = dir.filePath(QStringLiteral("bad%1.dat").arg(++n));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body);
        f.close();
        const QString pdf = dir.filePath(QStringLiteral("bad%1.pdf").arg(n));
        const CliRun run = runCli({"print", file, "--pdf", pdf});
        EXPECT_EQ(run.exitCode, 0) << "file " << n << ": " << run.err.toStdString();
        EXPECT_EQ(test::readPdfText(pdf).pageCount, 1) << "file " << n;
    }
}

// Catches: a file with every switch off (a first start's) or a right-half print of left-half
// groups only feeding a form through blank, and characters no font has (U+10FFFD) printing as
// boxes without a word on standard error, in a slip field or a CSV row.
TEST(Cli, BlankSlipIsRefusedAndCharactersNoFontHasAreNamed)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const auto settings = [&](const QString& name, const QString& text) {
        QByteArray bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char*>(text.utf16()), 2 * text.size());
        return write(name, bytes);
    };
    const QString missing = QStringLiteral("\U0010FFFD");
    const QString off = settings("off.dat", "[TabSheet1]\r\nCheckBox1=0\r\nEkouza1=12345\r\n");
    const QString left = settings("left.dat", "[TabSheet3]\r\nCheckBox3=1\r\n");
    const QString name = QStringLiteral("吉") + missing + QStringLiteral("𠮷");
    const QString boxes = settings(
        "boxes.dat", "[TabSheet1]\r\nCheckBox1=1\r\nEkanyucount=1\r\nLine00=#" + name + "#\r\n");
    const QByteArray bom("\xEF\xBB\xBF");
    const QString csv =
        write("rows.csv", bom + "100-0001,東京都,,山田\n100-0002,大阪府,," + name.toUtf8() + "\n");
    const QString pdf = dir.filePath("out.pdf");
    const struct {
        QStringList args;
        int exitCode;
        QString inError;
    } cases[] = {
        {{"print", off, "--pdf", pdf}, 1, "--blank"},
        {{"print", left, "--right", "--pdf", pdf}, 1, "--blank"},
        {{"print", off, "--blank", "--pdf", pdf}, 0, ""},
        {{"print", left, "--pdf", pdf}, 0, ""},
        {{"print", boxes, "--pdf", pdf}, 0, "加入者名: " + missing + " (U+10FFFD)"},
        {{"print", sample(), "--csv", csv, "--pdf", pdf}, 0, "行 2 の氏名: " + missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove(pdf);
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.inError)) << run.err.toStdString();
        EXPECT_EQ(QFile::exists(pdf), c.exitCode == 0) << "refused: no page, no file";
        if (c.inError.isEmpty()) {
            EXPECT_FALSE(run.err.contains("U+")) << run.err.toStdString();
        }
        // 𠮷 is named only on a machine without a font that has it.
        const bool printsName = c.args.contains(boxes) || c.args.contains(csv);
        EXPECT_EQ(run.err.contains("U+20BB7"), printsName && !installedFontsHave(0x20BB7));
    }
}

// Catches: a facsimile written in another format than its name says, a PNG not scaled from the
// printer's pixels to --dpi, a PDF whose page is not the picture (the subscriber elsewhere than
// its box), a row facsimile that does not draw the row's payer, and bad arguments (an unknown
// extension, a row beyond the table) that write something instead of saying what is wrong.
TEST(Cli, FacsimileWritesEachFormatAndRefusesBadArguments)
{
    QTemporaryDir dir;
    QFile csvFile(dir.filePath("rows.csv"));
    ASSERT_TRUE(csvFile.open(QIODevice::WriteOnly));
    csvFile.write("100-0001,東京都,,山田花子\n100-0002,大阪府,,川口次郎\n");
    csvFile.close();
    const QString csv = csvFile.fileName();
    // The PDF output at 600 dpi has no margins: the picture is the slip from the paper's corner.
    const FixedDevice pdf600;
    const Coords coords(pdf600, 0, 0);
    struct Case {
        QStringList args;
        int status;
        QByteArray magic; // at `magicAt`
        int magicAt;
        QString word; // in the PDF
    };
    const Case cases[] = {
        {{"out.wmf"}, 0, "\xD7\xCD\xC6\x9A", 0, {}},
        {{"OUT.EMF"}, 0, " EMF", 40, {}},
        {{"out.png", "--dpi", "150"}, 0, "\x89PNG", 0, {}},
        {{"out.pdf"}, 0, "%PDF", 0, "日本語教育振興会"},
        {{"row.pdf", "--csv", csv, "--row", "2", "--map", "name=4"}, 0, "%PDF", 0, "川口次郎"},
        {{"out.txt"}, 1, {}, 0, {}},
        {{"row.png", "--csv", csv, "--row", "3"}, 1, {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const QString out = dir.filePath(c.args.first());
        const CliRun run = runCli(QStringList{"facsimile", sample(), out} + c.args.mid(1));
        ASSERT_EQ(run.exitCode, c.status) << run.err.toStdString();
        QFile file(out);
        if (c.status != 0) {
            EXPECT_FALSE(file.exists());
            EXPECT_TRUE(run.err.contains(c.args.first().endsWith(".txt") ? ".wmf" : "--row 3"))
                << run.err.toStdString();
            continue;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(c.magicAt + c.magic.size()).mid(c.magicAt), c.magic);
        if (out.endsWith(".png")) {
            const QImage image(out);
            EXPECT_EQ(image.size(),
                      QSize(qRound(coords.mmx(1800) / 4.0), qRound(coords.mmy(1140) / 4.0)));
        }
        if (c.word.isEmpty())
            continue;
        const test::PdfText text = test::readPdfText(out);
        ASSERT_TRUE(text.ok) << text.error.toStdString();
        EXPECT_NEAR(test::pointsToPixels(text.pageWidth, 600), coords.mmx(1800), 1);
        const test::PdfWord* word = text.find(c.word);
        ASSERT_NE(word, nullptr);
        // The subscriber's box spans x 11.0 to 74.0 mm, the payer's address area lies below it.
        const double x = test::pointsToPixels(word->xMin, 600);
        EXPECT_GT(x, coords.mmx(110));
        EXPECT_LT(x, coords.mmx(740));
    }
}

// The export writes what the window's information export writes: the same core, the same day.
// Its CSV record must split into the nine fields for this program's reader and for a
// spreadsheet's (Python's csv module reads as spreadsheets do).
TEST(Cli, ExportWritesTheWindowsBytesAndARecordReadersSplitIntoNineFields)
{
    QTemporaryDir dir;
    SettingsState state;
    ASSERT_TRUE(LoadSettings(sample(), state, {}, nullptr));
    for (const ExportFormat format : {ExportFormat::Text, ExportFormat::Csv}) {
        const bool csv = format == ExportFormat::Csv;
        const QString out = dir.filePath(csv ? "out.csv" : "out.txt");
        const CliRun run = runCli({"export", sample(), csv ? "--csv" : "--txt", out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes,
                  exportBytes(format, state.slip, exportDateText(QDate::currentDate())).bytes);
        if (!csv)
            continue;
        const QString line = decodeCp932(bytes);
        ASSERT_TRUE(line.endsWith("\r\n"));
        const QStringList fields = splitCsvFields(QStringView(line).chopped(2));
        ASSERT_EQ(fields.size(), 9) << line.toStdString();
        EXPECT_EQ(fields[0], "00120-6-12345");
        EXPECT_EQ(fields[1], "日本語教育振興会");
        QProcess python;
        python.start("python3", {"-c",
                                 "import csv,sys\n"
                                 "rows=list(csv.reader(open(sys.argv[1],encoding='cp932',"
                                 "newline='')))\n"
                                 "print(len(rows),len(rows[0]),rows[0][1]==sys.argv[2])",
                                 out, fields[1]});
        ASSERT_TRUE(python.waitForFinished(30000));
        EXPECT_EQ(python.readAllStandardOutput().trimmed(), "1 9 True")
            << python.readAllStandardError().toStdString();
    }
}

TEST(Cli, ExportRefusesBadArgumentsAndSaysWhatCouldNotBeWritten)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.csv");
    struct Case {
        QStringList args;
        int exitCode;
        const char* inMessage;
    };
    const Case cases[] = {
        {{"export", sample()}, 1, "--csv"},
        {{"export", "--csv", out}, 1, "設定ファイル"},
        {{"export", sample(), "--txt"}, 1, "--txt"},
        {{"export", sample(), "--txt", out, "--csv", out}, 1, "どちらか"},
        {{"export", sample(), "--xls", out}, 1, "--xls"},
        {{"export", dir.filePath("missing.dat"), "--csv", out}, 2, "missing.dat"},
        {{"export", sample(), "--csv", dir.filePath("no/such/out.csv")}, 4, "out.csv"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.inMessage)))
            << c.args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "a refused export left a file behind";
}

} // namespace
} // namespace nobrisa
