#include "aids/continuoustable.h"
#include "fakeprompts.h"
#include "model/digitcells.h"
#include "preview/pagerecording.h"
#include "render/printerdevice.h"
#include "settings/settings.h"
#include "support/recordingcanvas.h"
#include "tform1fixture.h"
#include "ui/slipprinting.h"
#include "ui/tform5.h"
#include "ui/tform6.h"
#include "ui/tprevx.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace nobrisa::test {
namespace {

// A 600-dpi A4 printer whose pages are recorded as the previews record theirs, measuring texts
// on a RecordingCanvas: a page printed and a page previewed can be compared call by call.
class PagePrinter final : public PrinterDevice {
public:
    FixedDevice caps = FakePrinter::a4At600Dpi();
    int paper = 9;
    QString name = QStringLiteral("Office");
    int jobs = 0;
    std::vector<PageRecording> pages;
    RecordingCanvas metrics;

    int deviceCaps(DeviceCap cap) const override { return caps.deviceCaps(cap); }
    QStringList printerNames() const override { return {name}; }
    int printerIndex() const override { return 0; }
    QString printerName() const override { return name; }
    bool isPdfOutput() const override { return false; }
    void setOutputFile(const QString&) override {}
    int paperCode() const override { return paper; }
    Orientation orientation() const override { return Orientation::Portrait; }
    void setOrientation(Orientation) override {}
    QString title() const override { return mTitle; }
    void setTitle(const QString& title) override { mTitle = title; }
    bool beginDoc() override
    {
        ++jobs;
        startPage();
        return true;
    }
    bool newPage() override
    {
        startPage();
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
    void startPage()
    {
        mRecorder.reset();
        pages.emplace_back();
        mRecorder = std::make_unique<PageRecorder>(metrics, pages.back());
    }
    QString mTitle;
    std::unique_ptr<PageRecorder> mRecorder;
};

class PaperPreviewTest : public ::testing::Test {
protected:
    PaperPreviewTest()
    {
        SettingsState state;
        QString error;
        EXPECT_TRUE(
            LoadSettings(QStringLiteral(NOBRISA_SAMPLES "/sample.dat"), state, env(), &error))
            << error.toStdString();
        slip = state.slip;
    }

    SettingsEnvironment env() const
    {
        SettingsEnvironment e;
        e.appIniPath = dir.filePath(QStringLiteral("app.ini"));
        e.now = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
        return e;
    }

    // The whole record as its settings file holds it.
    QByteArray saved(TSlipRecord& record, const QString& name)
    {
        SettingsState state;
        state.slip = record;
        const QString file = dir.filePath(name);
        EXPECT_TRUE(SaveSettings(file, state, positions, env(), nullptr));
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

    // The print commands, with every character taken as drawable so that nothing is asked.
    SlipPrinting printing()
    {
        return {printer, prompts, [](char32_t) { return true; }};
    }

    QTemporaryDir dir;
    TSlipRecord slip;
    TPrintPositions positions;
    DigitCells cells;
    PagePrinter printer;
    FakePrompts prompts;
    RecordingCanvas previewMetrics;
};

std::vector<DrawCall> callsOf(const TPrevX& prevx, int page = 0)
{
    return prevx.pages().at(static_cast<std::size_t>(page)).recording.calls;
}

// The slip preview draws the page a print draws, and leaves the record as a print leaves it:
// the fitted sizes written back, nothing else (no left address in the right payer box).
TEST_F(PaperPreviewTest, SlipPreviewIsThePrintedPageAndChangesOnlyWhatAPrintChanges)
{
    TSlipRecord previewed = slip;
    TSlipRecord printed = slip;
    const QByteArray before = saved(slip, QStringLiteral("before.dat"));

    auto form = slipPreview(previewed);
    ASSERT_TRUE(form->Button1Click());
    printing().printSlip(nullptr, {printed, positions, printer, cells});

    ASSERT_EQ(printer.pages.size(), 1u);
    ASSERT_EQ(form->page().pages().size(), 1u);
    EXPECT_GT(callsOf(form->page()).size(), 20u);
    EXPECT_EQ(callsOf(form->page()), printer.pages[0].calls);
    const QByteArray afterPrint = saved(printed, QStringLiteral("printed.dat"));
    EXPECT_NE(afterPrint, before) << "the sample's automatic sizes are fitted by a print";
    EXPECT_EQ(saved(previewed, QStringLiteral("previewed.dat")), afterPrint);
    EXPECT_TRUE(prompts.errors.isEmpty());
}

// The row preview draws the continuous print's page of the table's current row, writes nothing
// into the record and names the row in its title.
TEST_F(PaperPreviewTest, RowPreviewIsThePrintedRowAndSaysWhichRow)
{
    ContinuousTable rows;
    rows.table = StringTable(6, 4);
    rows.mapping.fill(5);
    const char* const cells2[] = {"150-0001", "東京都渋谷区神宮前１", "２階", "佐藤　花子",
                                  "03-1111-2222"};
    for (int c = 1; c <= 5; ++c)
        rows.table.setCell(c, 2, QString::fromUtf8(cells2[c - 1]));
    TSlipRecord previewed = slip;
    TSlipRecord printed = slip;
    const QByteArray before = saved(slip, QStringLiteral("before.dat"));

    TForm6 form({previewed, positions, printer, cells}, rows, [] { return 2; }, printer, prompts,
                {});
    form.page().setTextMetrics(&previewMetrics);
    ASSERT_TRUE(form.Button1Click());
    printing().printRows(nullptr, {printed, positions, printer, cells}, rows, {2, 2});

    ASSERT_EQ(printer.pages.size(), 1u);
    EXPECT_EQ(callsOf(form.page()), printer.pages[0].calls);
    EXPECT_EQ(saved(previewed, QStringLiteral("previewed.dat")), before);
    EXPECT_TRUE(form.windowTitle().contains(QStringLiteral("2 行目：佐藤　花子")))
        << form.windowTitle().toStdString();
}

// The zoom box (25 to 200 taken, other numbers ignored, no number 50), the sheet's size at the
// zoom, and the printer button and status texts before and after a printer setup.
TEST_F(PaperPreviewTest, ZoomBoxAndPrinterTexts)
{
    auto form = slipPreview(slip, [this] {
        printer.name = QStringLiteral("B5 & Co");
        printer.caps.physicalWidth = 4299; // 182 mm
        printer.caps.physicalHeight = 6071;
    });
    auto* zoom = form->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("50"));
    EXPECT_EQ(form->page().state().zoomScale(), 50);
    const int halfWidth = form->page().width() - 20;

    const struct {
        const char* text;
        int zoom;
    } zooms[] = {{"100", 100}, {"10", 100}, {"300", 100}, {"25", 25},
                 {"200", 200}, {"abc", 50}, {"", 50},     {"75", 75}};
    for (const auto& z : zooms) {
        SCOPED_TRACE(z.text);
        zoom->setCurrentText(QString::fromUtf8(z.text));
        EXPECT_EQ(form->page().state().zoomScale(), z.zoom);
    }
    zoom->setCurrentText(QStringLiteral("100"));
    EXPECT_NEAR(form->page().width() - 20, 2 * halfWidth, 1);

    const auto text = [&](const char* name) {
        return form->findChild<QWidget*>(QLatin1String(name))->property("text").toString();
    };
    EXPECT_EQ(text("Button2"), QStringLiteral("Office"));
    EXPECT_EQ(text("Panel0"), QStringLiteral("A4 210x297"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("210x297"));
    const int a4Width = form->page().width();

    printer.paper = 13;
    form->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(text("Button2"), QStringLiteral("B5 && Co"));
    EXPECT_EQ(text("Panel0"), QStringLiteral("B5 182x257"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("182x257"));
    EXPECT_LT(form->page().width(), a4Width);

    printer.paper = 256; // a driver's own paper: its measured size in both panels
    form->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(text("Panel0"), QStringLiteral("182x257"));
}

// A printer that answers no resolution: the user is told, and the window is not shown.
TEST_F(PaperPreviewTest, NoPrinterSaysSoAndShowsNoWindow)
{
    printer.caps.logPixelsX = printer.caps.logPixelsY = 0;
    auto form = slipPreview(slip);
    EXPECT_FALSE(form->run());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("プリンタが登録されていません")});
}

// Print sends FromPage..ToPage (FromPage also when ToPage is below it), and with no recorded
// page to start from prints nothing and says why.
TEST_F(PaperPreviewTest, PrintSendsTheRangeOrNothing)
{
    const struct {
        int recorded;
        int from;
        int to;
        std::vector<int> printed; // 1-based
    } cases[] = {{0, 1, 9999, {}}, {5, 3, 2, {3}}, {3, 1, 9999, {1, 2, 3}}, {3, 2, 2, {2}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recorded);
        PagePrinter target;
        TPrevX prevx(target);
        if (c.recorded > 0) {
            ASSERT_EQ(prevx.BeginDoc(), PrevError::None);
            for (int p = 1; p <= c.recorded; ++p) {
                if (p > 1)
                    prevx.NewPage();
                prevx.canvas()->textOut(p, p, QString::number(p));
            }
            prevx.EndDoc();
        }
        prevx.setFromPage(c.from);
        prevx.setToPage(c.to);
        prevx.setTitle(QStringLiteral("頁"));
        const PrintOutcome outcome = prevx.Print();
        EXPECT_EQ(outcome.ok, !c.printed.empty());
        EXPECT_EQ(target.jobs, c.printed.empty() ? 0 : 1);
        if (c.printed.empty())
            EXPECT_EQ(outcome.error, QStringLiteral("印刷するページがありません。"));
        else
            EXPECT_EQ(target.title(), QStringLiteral("頁"));
        ASSERT_EQ(target.pages.size(), c.printed.size());
        for (std::size_t i = 0; i < c.printed.size(); ++i)
            EXPECT_EQ(target.pages[i].calls, callsOf(prevx, c.printed[i] - 1));
    }
}

// The file menu's item opens the slip's preview, the continuous page's button the row's.
class PaperPreviewOpenTest : public TForm1Test {};

TEST_F(PaperPreviewOpenTest, MenuItemAndRowButtonOpenTheirWindows)
{
    const struct {
        const char* action;
        const char* window;
    } openers[] = {{"Mprintpaperrev", "Form5"}, {"ToolButton29", "Form6"}};
    auto form = makeForm();
    for (const auto& o : openers) {
        SCOPED_TRACE(o.action);
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                opened = w->objectName();
                w->close();
            }
        });
        action(*form, o.action)->trigger();
        EXPECT_EQ(opened, QLatin1String(o.window));
    }
}

} // namespace
} // namespace nobrisa::test
