// The continuous-print page of the main window: its toolbar and lists, the table commands, the
// print range and the continuous print on a fake 600-dpi printer.

#include "tform1fixture.h"

#include "ui/clickablelabel.h"
#include "ui/numberbox.h"
#include "ui/stringgrid.h"
#include "ui/stringtablemodel.h"

#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolBar>

namespace nobrisa::test {
namespace {

class TForm1ContinuousTest : public TForm1Test {
protected:
    // Opens `text` as a CSV file through the page's open button.
    void openCsv(TForm1& form, const QByteArray& text)
    {
        prompts.openAnswers.push_back(writeFile(QStringLiteral("members.csv"), text));
        action(form, "ToolButton17")->trigger();
    }

    // A file of `rows` payers whose postal codes tell the rows apart: 100-0001, 100-0002, ….
    static QByteArray payers(int rows)
    {
        QByteArray text;
        for (int r = 1; r <= rows; ++r)
            text += QStringLiteral("100-%1,東京都%2番地,,会員%2,03-0000-0000\n")
                        .arg(r, 4, 10, QLatin1Char('0'))
                        .arg(r)
                        .toUtf8();
        return text;
    }

    // Shows the page, as the user would before printing from it.
    static void showContinuousPage(TForm1& form)
    {
        form.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentWidget(widget(form, "TabSheet6"));
    }

    static void setRange(TForm1& form, const QString& first, const QString& last)
    {
        widget<NumberBox>(form, "SEbegin")->setText(first);
        widget<NumberBox>(form, "SEend")->setText(last);
    }

    // A window on the continuous-print page with a file of `rows` payers open, all rows chosen.
    std::unique_ptr<TForm1> formReadyToPrint(int rows)
    {
        auto form = makeForm();
        openCsv(*form, payers(rows));
        showContinuousPage(*form);
        setRange(*form, QStringLiteral("1"), QString::number(rows));
        return form;
    }

    static StringTableModel* gridModel(TForm1& form)
    {
        return qobject_cast<StringTableModel*>(widget<StringGrid>(form, "StringGrid1")->model());
    }

    static QComboBox* list(TForm1& form, int number)
    {
        return widget<QComboBox>(form,
                                 QStringLiteral("ComboBox%1").arg(number).toLatin1().constData());
    }

    static bool drew(const std::vector<RecordingCanvas::Call>& page, const QString& text)
    {
        return std::any_of(page.begin(), page.end(),
                           [&](const RecordingCanvas::Call& c) { return c.text.contains(text); });
    }

    QString status(TForm1& form) { return widget<QLabel>(form, "HintPanel")->text(); }
};

TEST_F(TForm1ContinuousTest, PageSitsBetweenTheTextPageAndPrintSettingsWithItsToolbarInOrder)
{
    auto form = makeForm();
    auto* pages = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_EQ(pages->count(), 8);
    EXPECT_EQ(pages->tabText(4), QStringLiteral("テキスト読込"));
    EXPECT_EQ(pages->tabText(5), QStringLiteral("ご依頼人連続印刷"));
    EXPECT_EQ(pages->tabText(6), QStringLiteral("印刷設定"));
    QWidget* page = pages->widget(5);
    EXPECT_EQ(page->objectName(), QStringLiteral("TabSheet6"));
    EXPECT_EQ(page->property(kHelpContextProperty).toInt(), 22001);

    auto* tools = widget<QToolBar>(*form, "ToolBar2");
    ASSERT_EQ(tools->parentWidget(), page);
    QStringList order;
    for (const QAction* a : tools->actions())
        order << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    EXPECT_EQ(order.join(u' '), QStringLiteral("ToolButton16 ToolButton28 ToolButton29 | "
                                               "ToolButton22 ToolButton17 | ToolButton18 "
                                               "ToolButton19 ToolButton20 ToolButton21 | "
                                               "ToolButton25 ToolButton26"));
    const std::pair<const char*, const char*> hints[] = {
        {"ToolButton16", "連続印刷|払込人連続印刷をします。"},
        {"ToolButton28", "プレビュー|印刷プレビューを再表示します。"},
        {"ToolButton29", "印刷ﾌﾟﾚﾋﾞｭｰ|印刷ﾌﾟﾚﾋﾞｭｰをします。"},
        {"ToolButton22", "新規作成|新規に作成します。"},
        {"ToolButton17", "開く|CSVファィルを開きます。"},
        {"ToolButton18", "コピー|コピーします。"},
        {"ToolButton19", "切り取り|切り取ります。"},
        {"ToolButton20", "貼り付け|貼り付けます。"},
        {"ToolButton21", "削除|削除します。"},
        {"ToolButton25", "行の追加|行を追加します。"},
        {"ToolButton26", "列追加|列を追加します。"}};
    for (const auto& [name, hint] : hints) {
        const QAction* a = action(*form, name);
        EXPECT_EQ(a->toolTip() + u'|' + a->statusTip(), QString::fromUtf8(hint)) << name;
    }
    EXPECT_TRUE(action(*form, "ToolButton28")->isEnabled());
    EXPECT_TRUE(action(*form, "ToolButton29")->isEnabled());

    const char* const labels[] = {"〒",   "住所１",   "住所２",   "氏名",     "電話",
                                  "金額", "通信欄１", "通信欄２", "通信欄３", "通信欄４"};
    for (int i = 1; i <= 10; ++i) {
        QComboBox* box = list(*form, i);
        EXPECT_FALSE(box->isEditable()) << "pick-only";
        EXPECT_EQ(box->statusTip(), i <= 5
                                        ? QStringLiteral("印刷しない場合は、(なし)にして下さい。")
                                        : QStringLiteral("印刷しない場合空白の列を選んで下さい。"));
        // Each list sits beside its label.
        const auto* grid = static_cast<QGridLayout*>(box->parentWidget()->layout());
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(box), &row, &column, &rowSpan, &columnSpan);
        const auto* caption =
            qobject_cast<QLabel*>(grid->itemAtPosition(row, column - 1)->widget());
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text(), QString::fromUtf8(labels[i - 1])) << i;
    }
    EXPECT_EQ(widget<QGroupBox>(*form, "GroupBox2")->title(), QStringLiteral("項目指定"));
    EXPECT_EQ(widget<QGroupBox>(*form, "GroupBox3")->title(), QStringLiteral("印刷設定"));
    EXPECT_EQ(widget<QLabel>(*form, "Label53")->text(), QStringLiteral("始め"));
    EXPECT_EQ(widget<QLabel>(*form, "Label59")->text(), QStringLiteral("終わり"));
    EXPECT_EQ(widget<QPushButton>(*form, "SpeedButton13")->text(), QStringLiteral("全件印刷"));
    auto* grid = widget<StringGrid>(*form, "StringGrid1");
    EXPECT_EQ(grid->statusTip(), QStringLiteral("編集はＦ２キー"));
    EXPECT_EQ(grid->horizontalHeader()->defaultSectionSize(), 48);
    EXPECT_GE(grid->verticalHeader()->defaultSectionSize(), 18);
    EXPECT_GE(grid->verticalHeader()->defaultSectionSize(), grid->fontMetrics().height())
        << "a row shows a whole line of text";

    // At start: 5 × 5, headings 1 to 4, the lists on their defaults where they have them.
    EXPECT_EQ(gridModel(*form)->columnCount(), 4);
    EXPECT_EQ(gridModel(*form)->rowCount(), 4);
    EXPECT_EQ(list(*form, 4)->currentText(), QStringLiteral("4"));
    EXPECT_EQ(list(*form, 5)->currentText(), QStringLiteral("(なし)")) << "no column 5 yet";
}

TEST_F(TForm1ContinuousTest, OpeningACsvFileFillsTableAmountColumnListsAndBound)
{
    auto form = makeForm();
    widget<NumberBox>(*form, "SEkingaku")->setText("2500");
    openCsv(*form, "a,b,c\nd,e,f\ng,h,i\n");

    ASSERT_EQ(prompts.openAsked.size(), 1u);
    const Prompts::FileDialog& asked = prompts.openAsked[0];
    EXPECT_EQ(asked.title, QStringLiteral("加入者連続データの読み込み"));
    EXPECT_EQ(asked.folder, context.executableFolder);
    EXPECT_TRUE(asked.fileName.isEmpty());
    EXPECT_EQ(asked.filter, QStringLiteral("ｶﾝﾏ区切りﾌｧｲﾙ (*.csv);;すべて (*)"));
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("csv"));
    EXPECT_TRUE(prompts.errors.isEmpty());

    // Three data rows; the three fields, the spare column and the amount column.
    StringTableModel* model = gridModel(*form);
    ASSERT_EQ(model->rowCount(), 3);
    ASSERT_EQ(model->columnCount(), 5);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("a"));
    EXPECT_EQ(model->index(2, 2).data().toString(), QStringLiteral("i"));
    EXPECT_EQ(model->index(1, 3).data().toString(), QString()) << "the spare column";
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(model->index(r, 4).data().toString(), QStringLiteral("2500")) << r;
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), QString::number(c + 1));
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(model->headerData(r, Qt::Vertical).toString(), QString::number(r + 1));

    for (int i = 1; i <= 10; ++i) {
        QComboBox* box = list(*form, i);
        ASSERT_EQ(box->count(), 6) << i;
        EXPECT_EQ(box->itemText(5), QStringLiteral("5"));
        EXPECT_EQ(box->currentIndex(), i <= 5 ? i : 0) << i;
    }
    EXPECT_EQ(list(*form, 6)->itemText(0), QStringLiteral("(金額欄)"));
    EXPECT_EQ(list(*form, 9)->itemText(0), QStringLiteral("(通信欄)"));
    EXPECT_EQ(widget<NumberBox>(*form, "SEbegin")->maximum(), 3);
    EXPECT_EQ(widget<NumberBox>(*form, "SEend")->maximum(), 3);
}

// After an open the columns are as wide as the text of the first rows, up to a limit, every cell
// shows its whole text as a tooltip, and the status bar counts the rows.
TEST_F(TForm1ContinuousTest, OpeningFitsColumnsToTheFirstRowsAndCountsThem)
{
    const QString medium = QStringLiteral("東京都千代田区大手町");
    const QString longText = QStringLiteral("北海道札幌市中央区北一条西").repeated(5);
    QByteArray file = (QStringLiteral("k,") + medium + u',' + longText + u'\n').toUtf8();
    // Row 1000 lies beyond the rows measured.
    file += QByteArray("k,,\n").repeated(998) + (longText + QStringLiteral(",,\n")).toUtf8();
    auto form = makeForm();
    openCsv(*form, file);

    EXPECT_EQ(status(*form), QStringLiteral("「members.csv」から 1,000 行を読み込みました。"));
    const auto* grid = widget<StringGrid>(*form, "StringGrid1");
    const int longWidth = grid->fontMetrics().horizontalAdvance(longText);
    EXPECT_LT(grid->columnWidth(0), longWidth / 4);
    EXPECT_GE(grid->columnWidth(1), grid->fontMetrics().horizontalAdvance(medium));
    EXPECT_GT(grid->columnWidth(2), grid->columnWidth(1));
    EXPECT_LT(grid->columnWidth(2), longWidth) << "up to a limit";
    EXPECT_EQ(gridModel(*form)->index(999, 0).data(Qt::ToolTipRole).toString(), longText);
    EXPECT_FALSE(gridModel(*form)->index(999, 2).data(Qt::ToolTipRole).isValid());
}

TEST_F(TForm1ContinuousTest, CancelledOrFailedOpenLeavesTableListsAndBoundAlone)
{
    auto form = makeForm();
    openCsv(*form, "a,b,c\nd,e,f\n");
    list(*form, 2)->setCurrentIndex(4);
    const ContinuousTable before = form->continuousTable();

    action(*form, "ToolButton17")->trigger(); // cancelled: no answer
    EXPECT_EQ(form->continuousTable().table, before.table);
    EXPECT_EQ(form->continuousTable().mapping, before.mapping);
    EXPECT_EQ(list(*form, 2)->currentIndex(), 4);
    EXPECT_TRUE(prompts.errors.isEmpty());

    const QString missing = dir.filePath(QStringLiteral("gone.csv"));
    prompts.openAnswers.push_back(missing);
    action(*form, "ToolButton17")->trigger();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("gone.csv")));
    EXPECT_EQ(form->continuousTable().table, before.table);
    EXPECT_EQ(form->continuousTable().mapping, before.mapping);
    EXPECT_EQ(form->continuousTable().rangeUpperBound, 2);
    EXPECT_EQ(gridModel(*form)->rowCount(), 2);
}

// A file that is no text asks before it fills the table, and the default answer keeps the table;
// a range whose end lies beyond the table prints up to its last row only, and one that begins
// beyond it prints nothing.
TEST_F(TForm1ContinuousTest, FilesThatAreNoTextAskFirstAndRangesStopAtTheLastRow)
{
    auto form = makeForm();
    openCsv(*form, payers(3));
    const StringTable before = form->continuousTable().table;
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        prompts.confirmsAsked.clear();
        prompts.confirmAnswers = {accept};
        openCsv(*form, QByteArray("\x01\x02\x03\x04\x05\x06,\x07\n").repeated(10));
        ASSERT_EQ(prompts.confirmsAsked.size(), 1);
        EXPECT_TRUE(
            prompts.confirmsAsked[0].contains(QStringLiteral("テキストファイルではないようです")));
        EXPECT_EQ(gridModel(*form)->rowCount(), accept ? 10 : 3);
        EXPECT_EQ(form->continuousTable().table == before, !accept);
    }
    EXPECT_TRUE(prompts.errors.isEmpty());

    openCsv(*form, payers(3));
    showContinuousPage(*form);
    setRange(*form, QStringLiteral("2"), QStringLiteral("50"));
    action(*form, "ToolButton16")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    ASSERT_EQ(printer.jobs[0].pages.size(), 2u);
    EXPECT_TRUE(drew(printer.jobs[0].pages[1], QStringLiteral("100-0003")));

    setRange(*form, QStringLiteral("7"), QStringLiteral("9"));
    action(*form, "ToolButton16")->trigger();
    EXPECT_EQ(printer.jobs.size(), 1u) << "no job";
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("より後")))
        << prompts.errors[0].toStdString();
}

TEST_F(TForm1ContinuousTest, AfterNewTheListsAreEmptyAndAPrintTakesNoPayerFromTheTable)
{
    auto form = makeForm();
    openCsv(*form, payers(3));
    widget<QPlainTextEdit>(*form, "MemoTsuushin")->setPlainText("年会費");
    action(*form, "ToolButton22")->trigger();
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(list(*form, i)->count(), 0) << i;
        EXPECT_EQ(form->continuousTable().mapping.selected(static_cast<MapField>(i - 1)), -1);
    }
    StringTableModel* model = gridModel(*form);
    ASSERT_EQ(model->rowCount(), 5);
    ASSERT_EQ(model->columnCount(), 4);
    EXPECT_EQ(model->index(0, 0).data().toString(), QString()) << "data cells emptied";
    // Rows 4 and 5 are new to the table of three rows: numbered as well.
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(model->headerData(r, Qt::Vertical).toString(), QString::number(r + 1)) << r;

    // Typed into the emptied table, the row is still not printed: no list selects a column.
    model->setData(model->index(0, 0), QStringLiteral("999-9999"));
    model->setData(model->index(0, 3), QStringLiteral("山田"));
    showContinuousPage(*form);
    setRange(*form, "1", "1");
    action(*form, "Print1")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    ASSERT_EQ(printer.jobs[0].pages.size(), 1u);
    const auto& page = printer.jobs[0].pages[0];
    EXPECT_FALSE(drew(page, QStringLiteral("999-9999")));
    EXPECT_FALSE(drew(page, QStringLiteral("山田")));
    EXPECT_TRUE(drew(page, QStringLiteral("年会費"))) << "the message of the main window";

    // The new-slip command starts a new table as well.
    openCsv(*form, payers(2));
    action(*form, "New1")->trigger();
    EXPECT_EQ(list(*form, 1)->count(), 0);
    EXPECT_EQ(form->continuousTable().table.rowCount(), 6);
}

TEST_F(TForm1ContinuousTest, CellCommandsActOnTheCurrentCellOnly)
{
    auto form = makeForm();
    openCsv(*form, "a,b,c\nd,e,f\n");
    auto* grid = widget<StringGrid>(*form, "StringGrid1");
    StringTableModel* model = gridModel(*form);
    QClipboard* clipboard = QApplication::clipboard();
    // A selected range does not matter; the current cell does.
    grid->selectAll();
    grid->selectionModel()->setCurrentIndex(model->index(0, 1), QItemSelectionModel::NoUpdate);

    action(*form, "ToolButton19")->trigger(); // cut
    EXPECT_EQ(clipboard->text(), QStringLiteral("b"));
    EXPECT_EQ(model->index(0, 1).data().toString(), QString()) << "the cut cell is emptied";
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("a"));

    grid->selectionModel()->setCurrentIndex(model->index(1, 2), QItemSelectionModel::NoUpdate);
    action(*form, "ToolButton20")->trigger(); // paste
    EXPECT_EQ(form->continuousTable().table.cell(3, 2), QStringLiteral("b"));

    grid->selectionModel()->setCurrentIndex(model->index(1, 0), QItemSelectionModel::NoUpdate);
    action(*form, "ToolButton18")->trigger(); // copy
    EXPECT_EQ(clipboard->text(), QStringLiteral("d"));
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("d"));
    action(*form, "ToolButton21")->trigger(); // delete
    EXPECT_EQ(model->index(1, 0).data().toString(), QString());
    EXPECT_EQ(clipboard->text(), QStringLiteral("d")) << "delete leaves the clipboard alone";

    // Headings stay as they were whatever the commands did.
    EXPECT_EQ(form->continuousTable().table.cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(form->continuousTable().table.cell(1, 0), QStringLiteral("1"));
}

TEST_F(TForm1ContinuousTest, TextTypedIntoAnOpenCellEditorIsWhatTheCommandsSee)
{
    auto form = makeActiveForm();
    showContinuousPage(*form);
    auto* grid = widget<StringGrid>(*form, "StringGrid1");
    grid->setFocus();
    grid->setCurrentIndex(gridModel(*form)->index(0, 0));
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_NE(grid->indexWidget(grid->currentIndex()), nullptr) << "the cell editor is open";
    type(QApplication::focusWidget(), QStringLiteral("東京"));
    action(*form, "ToolButton18")->trigger(); // copy
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("東京"));
    EXPECT_EQ(form->continuousTable().table.cell(1, 1), QStringLiteral("東京"));
    EXPECT_EQ(grid->indexWidget(grid->currentIndex()), nullptr) << "and closed";
}

TEST_F(TForm1ContinuousTest, AddingRowsOrAColumnKeepsTheUsersChoicesAndRenumbers)
{
    auto form = makeForm();
    openCsv(*form, "a,b,c\nd,e,f\n");
    list(*form, 4)->setCurrentIndex(2);
    list(*form, 6)->setCurrentIndex(5);
    EXPECT_EQ(form->continuousTable().mapping.selected(MapField::Name), 2) << "the choice is kept";
    auto* grid = widget<StringGrid>(*form, "StringGrid1");
    StringTableModel* model = gridModel(*form);
    grid->setCurrentIndex(model->index(1, 1));

    action(*form, "ToolButton25")->trigger();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->headerData(3, Qt::Vertical).toString(), QStringLiteral("4"));
    EXPECT_EQ(model->index(3, 0).data().toString(), QString());
    EXPECT_EQ(list(*form, 4)->currentIndex(), 2);
    EXPECT_EQ(list(*form, 6)->currentIndex(), 5);
    EXPECT_EQ(grid->currentIndex(), model->index(1, 1)) << "the user stays on the same cell";

    action(*form, "ToolButton26")->trigger();
    ASSERT_EQ(model->columnCount(), 6);
    EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), QStringLiteral("6"));
    EXPECT_EQ(list(*form, 4)->count(), 7);
    EXPECT_EQ(list(*form, 4)->currentIndex(), 2);
    EXPECT_EQ(form->continuousTable().rangeUpperBound, 2) << "only an open sets the bound";
}

TEST_F(TForm1ContinuousTest, RangeLabelsAndAllRowsButtonSetTheRangeWithoutPrinting)
{
    auto form = makeForm();
    auto* first = widget<NumberBox>(*form, "SEbegin");
    auto* last = widget<NumberBox>(*form, "SEend");
    // Without a file the boxes take any value.
    last->setText("250");
    last->setNumber(250);
    EXPECT_EQ(last->value(), QStringLiteral("250"));

    openCsv(*form, payers(3));
    EXPECT_EQ(last->value(), QStringLiteral("3")) << "held within the new bound";
    first->setText("0");
    last->setText("0");
    QTest::mouseClick(widget<ClickableLabel>(*form, "Label53"), Qt::LeftButton);
    EXPECT_EQ(first->value(), QStringLiteral("1"));
    EXPECT_EQ(last->value(), QStringLiteral("0"));
    QTest::mouseClick(widget<ClickableLabel>(*form, "Label59"), Qt::LeftButton);
    EXPECT_EQ(last->value(), QStringLiteral("3"));

    first->setText("2");
    last->setText("2");
    widget<QPushButton>(*form, "SpeedButton13")->click();
    EXPECT_EQ(first->value(), QStringLiteral("1"));
    EXPECT_EQ(last->value(), QStringLiteral("3"));
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(TForm1ContinuousTest, EnterInTheListsAndRangeBoxesMovesOn)
{
    auto form = makeActiveForm();
    showContinuousPage(*form);
    list(*form, 1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), list(*form, 2));
    list(*form, 10)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QWidget* focused = QApplication::focusWidget();
    auto* first = widget<NumberBox>(*form, "SEbegin");
    EXPECT_TRUE(focused == first || focused->parentWidget() == first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    focused = QApplication::focusWidget();
    auto* last = widget<NumberBox>(*form, "SEend");
    EXPECT_TRUE(focused == last || focused->parentWidget() == last);
}

TEST_F(TForm1ContinuousTest, PrintOnThePageIsOneJobOfTheRangeKeepingThePrintersTitle)
{
    auto form = makeForm();
    openCsv(*form, payers(5));
    printer.setTitle(QStringLiteral("Nobrisa_前回の払込書"));
    showContinuousPage(*form);
    setRange(*form, "2", "4");
    action(*form, "Print1")->trigger();

    ASSERT_EQ(printer.jobs.size(), 1u);
    const FakePrinter::Job& job = printer.jobs[0];
    EXPECT_EQ(job.title, QStringLiteral("Nobrisa_前回の払込書"));
    EXPECT_TRUE(job.ended);
    ASSERT_EQ(job.pages.size(), 3u);
    for (int page = 0; page < 3; ++page) {
        const QString zip = QStringLiteral("100-%1").arg(page + 2, 4, 10, QLatin1Char('0'));
        EXPECT_TRUE(drew(job.pages[page], zip)) << "page " << page << " is row " << page + 2;
        EXPECT_TRUE(drew(job.pages[page], QStringLiteral("会員%1").arg(page + 2)));
    }
    EXPECT_TRUE(prompts.progressShown.isEmpty()) << "three pages need no progress display";
    EXPECT_TRUE(status(*form).contains(QStringLiteral("3 枚"))) << status(*form).toStdString();

    // The page's own print button does the same.
    action(*form, "ToolButton16")->trigger();
    EXPECT_EQ(printer.jobs.size(), 2u);
}

TEST_F(TForm1ContinuousTest, ThePrintsResultStaysUntilTheMouseMoves)
{
    auto form = formReadyToPrint(3);
    // The mouse goes from the open button to the print button and rests there; when the print
    // ends it enters the button again.
    QCursor::setPos(QCursor::pos() + QPoint(0, 40));
    const QString buttonHint = action(*form, "ToolButton16")->statusTip();
    QStatusTipEvent onButton(buttonHint);
    QApplication::sendEvent(form.get(), &onButton);
    EXPECT_EQ(status(*form), buttonHint);
    action(*form, "ToolButton16")->trigger();
    const QString result = status(*form);
    EXPECT_TRUE(result.contains(QStringLiteral("3 枚"))) << result.toStdString();
    // The progress display closing: the button is left and entered again, the mouse unmoved.
    QStatusTipEvent left{QString()};
    QApplication::sendEvent(form.get(), &left);
    QStatusTipEvent again(buttonHint);
    QApplication::sendEvent(form.get(), &again);
    EXPECT_EQ(status(*form), result);

    QCursor::setPos(QCursor::pos() + QPoint(40, 0));
    QStatusTipEvent elsewhere(QStringLiteral("別のヒント"));
    QApplication::sendEvent(form.get(), &elsewhere);
    EXPECT_EQ(status(*form), QStringLiteral("別のヒント"));
}

TEST_F(TForm1ContinuousTest, EitherBoundZeroPrintsOneTrialSlipAndEndBeforeBeginNoJob)
{
    auto form = makeForm();
    openCsv(*form, payers(5));
    showContinuousPage(*form);
    for (const auto& [first, last] : {std::pair{"0", "4"}, std::pair{"3", "0"}}) {
        setRange(*form, first, last);
        action(*form, "Print1")->trigger();
        const auto& job = printer.jobs.back();
        ASSERT_EQ(job.pages.size(), 1u) << first << "-" << last;
        EXPECT_TRUE(drew(job.pages[0], QStringLiteral("000-0000"))) << "the sample row";
        EXPECT_FALSE(drew(job.pages[0], QStringLiteral("100-0003")));
    }

    // An empty job would feed a blank form through the printer: none is sent, and the message
    // names both rows, in a box and in the status bar.
    setRange(*form, "4", "2");
    action(*form, "Print1")->trigger();
    EXPECT_EQ(printer.jobs.size(), 2u);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("終わり（2 行目）が始め（4 行目）")))
        << prompts.errors[0].toStdString();
    EXPECT_EQ(status(*form), prompts.errors[0]);
}

TEST_F(TForm1ContinuousTest, FileMenuOnThePagePrintsTheRowsAndNotTheRightHalf)
{
    auto form = formReadyToPrint(3);
    action(*form, "Printall")->trigger();
    EXPECT_TRUE(prompts.inputsAsked.isEmpty()) << "no copy count asked";
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].pages.size(), 3u);

    action(*form, "PrintRight")->trigger();
    EXPECT_EQ(printer.jobs.size(), 1u) << "the right half prints nothing here";

    // Elsewhere the commands are the slip's own again (every switch is off, so the blank half
    // is asked about first).
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(0);
    prompts.confirmAnswers.push_back(true);
    action(*form, "PrintRight")->trigger();
    EXPECT_EQ(printer.jobs.size(), 2u);
}

TEST_F(TForm1ContinuousTest, CancellingALongPrintEndsTheJobAfterThePagesDrawn)
{
    auto form = formReadyToPrint(10);
    prompts.cancelAfterPages = 2;
    action(*form, "ToolButton16")->trigger();

    ASSERT_EQ(prompts.progressShown.size(), 1);
    EXPECT_TRUE(prompts.progressShown[0].endsWith(QStringLiteral("|10")));
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_TRUE(printer.jobs[0].ended);
    ASSERT_EQ(printer.jobs[0].pages.size(), 2u);
    EXPECT_TRUE(drew(printer.jobs[0].pages[1], QStringLiteral("100-0002")));
    const QString said = status(*form);
    EXPECT_TRUE(said.contains(QStringLiteral("2 枚")) && said.contains(QStringLiteral("中止")))
        << said.toStdString();

    // Not cancelled, every page is drawn and the display follows them.
    prompts.cancelAfterPages = -1;
    prompts.progressSteps.clear();
    action(*form, "ToolButton16")->trigger();
    EXPECT_EQ(printer.jobs[1].pages.size(), 10u);
    EXPECT_EQ(prompts.progressSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(status(*form).contains(QStringLiteral("中止")));
}

} // namespace
} // namespace nobrisa::test
