// The text workbench page: the transfer buttons, a clean-up as one undo step, and opening text
// files.

#include "tform1fixture.h"

#include "aids/workbench.h"
#include "text/encoding.h"
#include "ui/numberbox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

namespace nobrisa::test {
namespace {

class TForm1WorkbenchTest : public TForm1Test {
protected:
    // Puts `before` + `selected` + `after` into the editor with `selected` selected.
    static QPlainTextEdit* select(TForm1& form, const QString& before, const QString& selected,
                                  const QString& after)
    {
        auto* editor = widget<QPlainTextEdit>(form, "RichEdit1");
        editor->setPlainText(before + selected + after);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(static_cast<int>(before.size()));
        cursor.setPosition(static_cast<int>((before + selected).size()), QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        return editor;
    }

    // What the field's widget shows.
    static QString fieldText(const TForm1& form, const char* name)
    {
        QWidget* w = widget(form, name);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* lines = qobject_cast<QPlainTextEdit*>(w))
            return lines->toPlainText();
        return qobject_cast<NumberBox*>(w)->value();
    }

    void openText(TForm1& form, const QString& path)
    {
        prompts.openAnswers.push_back(path);
        action(form, "ToolButton5")->trigger();
    }
};

TEST_F(TForm1WorkbenchTest, TransferButtonsTickTheirBoxAndPutTheWholeSelectionInTheirField)
{
    struct Case {
        const char* button;
        QString selected;
        const char* field;
        QString shown; // what the field shows afterwards
        const char* box;
    };
    const Case cases[] = {
        {"SpeedButton1", "12345", "Ekouza1", "12345", "CheckBox1"},
        {"SpeedButton1", "00120123", "Ekouza1", "00120123", "CheckBox1"}, // beyond 5: not cut
        {"SpeedButton2", "9", "Ekouza2", "9", "CheckBox1"},
        {"SpeedButton3", "1234567", "Ekouza3", "1234567", "CheckBox1"},
        {"SpeedButton4", "郵便　太郎", "Ekanyu", "郵便　太郎", "CheckBox1"},
        {"SpeedButton5", "１２３", "SEkingaku", "１２３", "CheckBox2"}, // unconverted
        {"SpeedButton6", "会費\n", "MemoTsuushin", "会費\n", "CheckBox3"},
        {"SpeedButton6", "", "MemoTsuushin", "会費\n", "CheckBox3"}, // nothing selected
        {"SpeedButton7", "123-4567", "Ezip", "123-4567", "CheckBox4"},
        {"SpeedButton8", "東京都千代田区\n山田 花子", "Maddres", "東京都千代田区\n山田 花子",
         "CheckBox4"},
        {"SpeedButton9", "03", "Etele1", "03", "CheckBox4"},
        {"SpeedButton10", "1234", "Etele2", "1234", "CheckBox4"},
        {"SpeedButton11", "5678", "Etele3", "5678", "CheckBox4"},
    };
    auto form = makeForm();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button + (" «" + c.selected.toStdString() + "»"));
        widget<QCheckBox>(*form, c.box)->setChecked(false);
        select(*form, "前 ", c.selected, " 後");
        widget<QToolButton>(*form, c.button)->click();
        EXPECT_TRUE(widget<QCheckBox>(*form, c.box)->isChecked());
        EXPECT_EQ(fieldText(*form, c.field), c.shown);
    }
    // The record holds the two lines as every multi-line field does.
    EXPECT_EQ(form->slip().Maddres, QStringLiteral("東京都千代田区\r\n山田 花子"));
    EXPECT_EQ(form->slip().Ekouza1, QStringLiteral("00120123"));
}

TEST_F(TForm1WorkbenchTest, EachCleanUpIsOneUndoStep)
{
    auto form = makeForm();
    auto* editor = select(*form, "\t１,０００\n\n", "", " b");
    widget<QToolButton>(*form, "SpeedButton12")->click();
    widget<QToolButton>(*form, "SpeedButton16")->click();
    widget<QToolButton>(*form, "SpeedButton15")->click();
    widget<QToolButton>(*form, "SpeedButton14")->click();
    EXPECT_EQ(editor->toPlainText(), "1000\nb");
    const QStringList steps{"\t1000\n b", "\t1000\n\n b", "\t1,000\n\n b", "\t１,０００\n\n b"};
    for (const QString& previous : steps) {
        editor->undo();
        EXPECT_EQ(editor->toPlainText(), previous);
    }
}

TEST_F(TForm1WorkbenchTest, OpenDecodesCp932AndUtf8AndLeavesTheSettingFilesDialogAsItWas)
{
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    openText(*form, writeFile("sjis.txt", encodeCp932("〒１２３－４５６７\r\n髙橋　様\r\n")));
    EXPECT_EQ(editor->toPlainText(), "〒１２３－４５６７\n髙橋　様\n");
    openText(*form, writeFile("utf8.txt", "山田 花子\n"));
    EXPECT_EQ(editor->toPlainText(), "山田 花子\n");
    // Cancelled: nothing changes.
    action(*form, "ToolButton5")->trigger();
    EXPECT_EQ(editor->toPlainText(), "山田 花子\n");

    ASSERT_EQ(prompts.openAsked.size(), 3u);
    EXPECT_EQ(prompts.openAsked[0].title, "テキストを読み込み");
    EXPECT_EQ(prompts.openAsked[0].filter, "テキスト (*.txt);;すべて (*)");
    EXPECT_EQ(prompts.openAsked[0].defaultSuffix, "txt");
    action(*form, "Open1")->trigger();
    EXPECT_EQ(prompts.openAsked[3].title, "設定ファイルの読み込み");
    EXPECT_EQ(prompts.openAsked[3].defaultSuffix, "dat");
    EXPECT_EQ(prompts.openAsked[3].folder, prompts.openAsked[0].folder);
    EXPECT_EQ(prompts.openAsked[3].fileName, prompts.openAsked[0].fileName);
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(TForm1WorkbenchTest, AFileThatCannotBeShownKeepsTheTextAndIsNamed)
{
    const QString tooLarge = writeFile("large.txt", QByteArray(kWorkbenchMaxFileBytes + 1, 'a'));
    const QString binary = writeFile("program.bin", QByteArray("MZ\x90\0\x03\0\0\0", 8));
    const QString missing = dir.filePath("gone.txt");
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    editor->setPlainText("元のテキスト");
    for (const QString& path : {tooLarge, binary, missing}) {
        SCOPED_TRACE(path.toStdString());
        const qsizetype before = prompts.errors.size();
        openText(*form, path);
        EXPECT_EQ(editor->toPlainText(), "元のテキスト");
        ASSERT_EQ(prompts.errors.size(), before + 1);
        EXPECT_TRUE(prompts.errors.back().contains(QFileInfo(path).fileName()));
    }
}

} // namespace
} // namespace nobrisa::test
