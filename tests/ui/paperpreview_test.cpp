#include "aids/continuoustable.h"
#include "model/digitcells.h"
#include "platform/qtprinterdevice.h"
#include "settings/settings.h"
#include "tform1fixture.h"
#include "ui/slipprinting.h"
#include "ui/tform6.h"
#include "ui/tprevx.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace nobrisa::test {
namespace {

// A 600-dpi A4 printer whose pages are recorded as the previews record theirs, texts measured
// on a RecordingCanvas: a printed and a previewed page compare call by call.
class PagePrinter final : public PrinterDevice {
public:
    FixedDevice caps = FakePrinter::a4At600Dpi();
    int paper = 9;
    QString name = QStringLiteral("Office");
    int jobs = 0;
    std::vector<PageRecording> pages;

    int deviceCaps(DeviceCap cap) const override { return caps.deviceCaps(cap); }
    QStringList printerNames() const override { return {name}; }
    int printerIndex() const override { return 0; }
    QString printerName() const override { return name; }
    bool isPdfOutput() const override { return false; }
    void setOutputFile(const QString&) override {}
    int paperCode() const override { return paper; }
    Orientation orientation() const override { return Orientation::Portrait; }
    void setOrientation(Orientation) override {}
    QString title() const override { return {}; }
    void setTitle(const QString&) override {}
    bool beginDoc() override
    {
        ++jobs;
        return newPage();
    }
    bool newPage() override
    {
        mRecorder.reset(); // before the list may move the page it writes to
        mRecorder = std::make_unique<PageRecorder>(mMetrics, pages.emplace_back());
        return true;
    }
    bool endDoc() override
    {
        mRecorder.reset();
        return true;
    }
    Canvas& canvas() override { return *mRecorder; }
    QString errorString() const override { return {}; }

private:
    RecordingCanvas mMetrics;
    std::unique_ptr<PageRecorder> mRecorder;
};

std::vector<DrawCall> callsOf(const TPrevX& prevx, int page = 0)
{
    return prevx.pages().at(static_cast<std::size_t>(page)).recording.calls;
}

class PaperPreviewTest : public ::testing::Test {
protected:
    PaperPreviewTest()
    {
        SettingsState state;
        EXPECT_TRUE(
            LoadSettings(QStringLiteral(NOBRISA_SAMPLES "/sample.dat"), state, {}, nullptr));
        slip = state.slip;
    }

    QByteArray saved(const TSlipRecord& record)
    {
        SettingsState state;
        state.slip = record;
        const QString file = dir.filePath(QStringLiteral("record.dat"));
        EXPECT_TRUE(SaveSettings(file, state, positions, {}, nullptr));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    std::unique_ptr<TForm5> slipPreview(TSlipRecord& record, std::function<void()> setup = {})
    {
        auto form = std::make_unique<TForm5>(SlipSource{record, positions, printer, cells}, printer,
                                             prompts, std::move(setup));
        form->page().setTextMetrics(&previewMetrics);
        return form;
    }

    QTemporaryDir dir;
    TSlipRecord slip;
    TPrintPositions positions;
    DigitCells cells;
    PagePrinter printer;
    FakePrompts prompts;
    RecordingCanvas previewMetrics;
    // Every character taken as drawable, so that a print asks nothing.
    SlipPrinting printing{printer, prompts, [](char32_t) { return true; }};
};

// Each paper preview draws the page its print draws and changes the record only as the print
// does (the slip's fitted sizes; the row's nothing). The row preview's title names its row.
TEST_F(PaperPreviewTest, PreviewIsThePrintedPageAndChangesOnlyWhatThePrintChanges)
{
    ContinuousTable rows;
    rows.table = StringTable(6, 4);
    rows.mapping.fill(5);
    rows.table.setCell(2, 2, QStringLiteral("東京都渋谷区神宮前１"));
    rows.table.setCell(4, 2, QStringLiteral("佐藤　花子"));
    for (const bool row : {false, true}) {
        SCOPED_TRACE(row ? "row" : "slip");
        TSlipRecord previewed = slip;
        TSlipRecord printed = slip;
        printer.pages.clear();
        const SlipSource toPrint{printed, positions, printer, cells};
        std::unique_ptr<PaperPreview> form;
        if (row) {
            form = std::make_unique<TForm6>(
                SlipSource{previewed, positions, printer, cells}, rows, [] { return 2; }, printer,
                prompts, nullptr);
            printing.printRows(nullptr, toPrint, rows, {2, 2});
        } else {
            form = slipPreview(previewed);
            printing.printSlip(nullptr, toPrint);
        }
        form->page().setTextMetrics(&previewMetrics);
        ASSERT_TRUE(form->Button1Click());
        ASSERT_EQ(printer.pages.size(), 1u);
        EXPECT_GT(callsOf(form->page()).size(), 20u);
        EXPECT_EQ(callsOf(form->page()), printer.pages[0].calls);
        EXPECT_EQ(saved(previewed), saved(printed));
        EXPECT_EQ(saved(printed) == saved(slip), row) << "a slip print fits the sample's sizes";
        EXPECT_EQ(form->windowTitle().endsWith(QStringLiteral("（2 行目：佐藤　花子）")), row);
    }
}

TEST_F(PaperPreviewTest, ZoomBoxAndPrinterTexts)
{
    auto form = slipPreview(slip, [this] {
        printer.name = QStringLiteral("B5 & Co");
        printer.caps.physicalWidth = 4299; // 182 mm
        printer.caps.physicalHeight = 6071;
    });
    auto* zoom = form->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    EXPECT_EQ(zoom->currentText(), QStringLiteral("50"));
    const int halfSheet = form->page().width() - 20;
    const std::pair<const char*, int> zooms[] = {
        {"50", 50},   {"100", 100}, {"10", 100},        {"300", 100}, {"25", 25},
        {"200", 200}, {"abc", 50},  {"75", 75},         {"", 50},     {"75", 75},
        {"7.5", 50},  {"200", 200}, {"99999999999", 50}};
    for (const auto& [text, expected] : zooms) {
        zoom->setCurrentText(QString::fromUtf8(text));
        EXPECT_EQ(form->page().state().zoomScale(), expected) << text;
    }
    zoom->setCurrentText(QStringLiteral("100"));
    EXPECT_NEAR(form->page().width() - 20, 2 * halfSheet, 1);

    const auto texts = [&] {
        QStringList t;
        for (const char* name : {"Button2", "Panel0", "Panel1"})
            t << form->findChild<QWidget*>(QLatin1String(name))->property("text").toString();
        return t.join(u'|');
    };
    EXPECT_EQ(texts(), QStringLiteral("Office|A4 210x297|210x297"));
    const int a4Width = form->page().width();
    printer.paper = 13;
    form->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(texts(), QStringLiteral("B5 && Co|B5 182x257|182x257"));
    EXPECT_LT(form->page().width(), a4Width);

    printer.caps.logPixelsY = 0; // no printer: said, and the window is not shown
    EXPECT_FALSE(form->run());
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("プリンタが登録されていません")});
}

// Print sends FromPage..ToPage (FromPage alone when ToPage is below it) in one job; with no
// page to start from it starts none and says why. SaveToFile writes the page shown, or nothing.
TEST_F(PaperPreviewTest, PrintSendsTheRangeOrNothing)
{
    const struct {
        int recorded, from, to;
        std::vector<int> printed;
    } cases[] = {{0, 1, 9999, {}}, {5, 3, 2, {3}}, {3, 1, 9999, {1, 2, 3}}, {3, 2, 2, {2}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recorded);
        PagePrinter target;
        TPrevX prevx(target);
        for (int p = 1; p <= c.recorded; ++p) {
            ASSERT_EQ(p == 1 ? prevx.BeginDoc() : prevx.NewPage(), PrevError::None);
            prevx.canvas()->textOut(p, p, QString::number(p));
        }
        prevx.EndDoc();
        prevx.setFromPage(c.from);
        prevx.setToPage(c.to);
        const PrintOutcome outcome = prevx.Print();
        EXPECT_EQ(outcome.error,
                  c.printed.empty() ? QStringLiteral("印刷するページがありません。") : QString());
        EXPECT_EQ(target.jobs, c.printed.empty() ? 0 : 1);
        ASSERT_EQ(target.pages.size(), c.printed.size());
        for (std::size_t i = 0; i < c.printed.size(); ++i)
            EXPECT_EQ(target.pages[i].calls, callsOf(prevx, c.printed[i] - 1));

        const QByteArray wmf("\xD7\xCD\xC6\x9A"), emf("\x01\0\0\0", 4);
        for (const auto& [name, magic] :
             {std::pair{"p.WMF", wmf}, {"p.emf", emf}, {"p.wmf.png", emf}, {"wmf", emf}}) {
            const QString path = dir.filePath(QLatin1String(name));
            QString error;
            EXPECT_TRUE(prevx.SaveToFile(path, &error)) << error.toStdString();
            QFile file(path);
            EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray(),
                      c.recorded > 0 ? magic : QByteArray())
                << name;
            file.remove();
        }
    }
}

TEST_F(PaperPreviewTest, SetPrinterModeChangesPaperAndSheet)
{
    QtPrinterDevice pdf;
    pdf.setPdfOutput(dir.filePath(QStringLiteral("out.pdf")), 300);
    TPrevX prevx(pdf);
    ASSERT_EQ(prevx.SetPrinterMode(11, Orientation::Landscape), PrevError::None); // A5
    EXPECT_EQ(pdf.paperCode(), 11);
    EXPECT_EQ(pdf.orientation(), Orientation::Landscape);
    EXPECT_GT(prevx.width(), prevx.height());
}

class PaperPreviewOpenTest : public TForm1Test {};

TEST_F(PaperPreviewOpenTest, MenuItemAndRowButtonOpenTheirWindows)
{
    auto form = makeForm();
    for (const auto& [item, window] :
         {std::pair{"Mprintpaperrev", "Form5"}, std::pair{"ToolButton29", "Form6"}}) {
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                opened = w->objectName();
                w->close();
            }
        });
        action(*form, item)->trigger();
        EXPECT_EQ(opened, QLatin1String(window)) << item;
    }
}

} // namespace
} // namespace nobrisa::test
