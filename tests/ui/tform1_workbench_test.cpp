// The text workbench page: the transfer buttons, a clean-up as one undo step, and opening text
// files.

#include "tform1fixture.h"

#include "aids/workbench.h"
#include "text/encoding.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

namespace nobrisa::test {
namespace {

using TForm1WorkbenchTest = TForm1Test;

TEST_F(TForm1WorkbenchTest, TransferButtonsTickTheirBoxAndPutTheWholeSelectionInTheirField)
{
    // The button, its field and print box, the selection and what the field shows afterwards.
    const std::tuple<const char*, const char*, const char*, QString, QString> cases[] = {
        {"SpeedButton1", "Ekouza1", "CheckBox1", "12345", "12345"},
        {"SpeedButton1", "Ekouza1", "CheckBox1", "00120123", "00120123"}, // beyond 5: not cut
        {"SpeedButton2", "Ekouza2", "CheckBox1", "9", "9"},
        {"SpeedButton3", "Ekouza3", "CheckBox1", "1234567", "1234567"},
        {"SpeedButton4", "Ekanyu", "CheckBox1", "郵便　太郎", "郵便　太郎"},
        {"SpeedButton5", "SEkingaku", "CheckBox2", "１２３", "１２３"}, // unconverted
        {"SpeedButton6", "MemoTsuushin", "CheckBox3", "会費\n", "会費\n"},
        {"SpeedButton6", "MemoTsuushin", "CheckBox3", "", "会費\n"}, // nothing selected
        {"SpeedButton7", "Ezip", "CheckBox4", "123-4567", "123-4567"},
        {"SpeedButton8", "Maddres", "CheckBox4", "東京都\n山田 花子", "東京都\n山田 花子"},
        {"SpeedButton9", "Etele1", "CheckBox4", "03", "03"},
        {"SpeedButton10", "Etele2", "CheckBox4", "1234", "1234"},
        {"SpeedButton11", "Etele3", "CheckBox4", "5678", "5678"},
    };
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    for (const auto& [button, field, box, selected, shown] : cases) {
        SCOPED_TRACE(button + (" «" + selected.toStdString() + "»"));
        widget<QCheckBox>(*form, box)->setChecked(false);
        editor->setPlainText("前 " + selected + " 後");
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(2 + static_cast<int>(selected.size()), QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        widget<QToolButton>(*form, button)->click();
        EXPECT_TRUE(widget<QCheckBox>(*form, box)->isChecked());
        const QWidget* w = widget(*form, field);
        EXPECT_EQ(w->property(w->inherits("QPlainTextEdit") ? "plainText" : "text").toString(),
                  shown);
    }
    // The record holds the two lines as every multi-line field does.
    EXPECT_EQ(form->slip().Maddres, "東京都\r\n山田 花子");
    EXPECT_EQ(form->slip().Ekouza1, "00120123");
}

TEST_F(TForm1WorkbenchTest, EachCleanUpIsOneUndoStep)
{
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    editor->setPlainText("\t１,０００\n\n b");
    for (const char* button : {"SpeedButton12", "SpeedButton16", "SpeedButton15", "SpeedButton14"})
        widget<QToolButton>(*form, button)->click();
    EXPECT_EQ(editor->toPlainText(), "1000\nb");
    for (const char* previous :
         {"\t1000\n b", "\t1000\n\n b", "\t1,000\n\n b", "\t１,０００\n\n b"}) {
        editor->undo();
        EXPECT_EQ(editor->toPlainText(), previous);
    }
}

TEST_F(TForm1WorkbenchTest, OpenDecodesTheTextOrKeepsTheEditorsAndNamesTheFile)
{
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    const QString kept = "山田 花子\n";
    // The file chosen (none: cancelled), what the editor shows afterwards, whether it was refused.
    const std::tuple<QString, QString, bool> cases[] = {
        {writeFile("sjis.txt", encodeCp932("〒１２３－４５６７\r\n髙橋　様\r\n")),
         "〒１２３－４５６７\n髙橋　様\n", false},
        {writeFile("utf8.txt", kept.toUtf8()), kept, false},
        {QString(), kept, false},
        {writeFile("large.txt", QByteArray(kWorkbenchMaxFileBytes + 1, 'a')), kept, true},
        {writeFile("program.bin", QByteArray("MZ\x90\0\x03\0\0\0", 8)), kept, true},
        {dir.filePath("gone.txt"), kept, true},
    };
    for (const auto& [path, shown, refused] : cases) {
        SCOPED_TRACE(path.toStdString());
        prompts.errors.clear();
        prompts.openAnswers = {path};
        action(*form, "ToolButton5")->trigger();
        EXPECT_EQ(editor->toPlainText(), shown);
        ASSERT_EQ(prompts.errors.size(), refused ? 1 : 0);
        EXPECT_TRUE(!refused || prompts.errors[0].contains(QFileInfo(path).fileName()));
    }
    const Prompts::FileDialog& asked = prompts.openAsked.at(0);
    EXPECT_EQ(asked.title + '|' + asked.filter + '|' + asked.defaultSuffix,
              "テキストを読み込み|テキスト (*.txt);;すべて (*)|txt");
}

} // namespace
} // namespace nobrisa::test
