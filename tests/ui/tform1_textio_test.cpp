// The main window's text import and information export, and the text workbench page: the
// transfer buttons, a clean-up as one undo step, and opening text files.

#include "tform1fixture.h"

#include "aids/workbench.h"
#include "text/encoding.h"

#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

namespace nobrisa::test {
namespace {

using TForm1TextIoTest = TForm1Test;
using TForm1WorkbenchTest = TForm1Test;

const char* const kFields[] = {"Ekouza1", "Ekouza2",      "Ekouza3", "Ekanyu",
                               "Ezip",    "Maddres",      "Etele1",  "Etele2",
                               "Etele3",  "MemoTsuushin", "MaddresR"};

// What the field `name` shows, after setting it to `value` when one is given.
QString field(const TForm1& form, const char* name, const QString& value = {})
{
    QWidget* w = form.findChild<QWidget*>(QLatin1String(name));
    const char* property = w->inherits("QPlainTextEdit") ? "plainText" : "text";
    if (!value.isNull())
        w->setProperty(property, value);
    return w->property(property).toString();
}

// Every text field as the window shows it, "name=value" joined by "|".
QString shownFields(const TForm1& form)
{
    QStringList shown;
    for (const char* name : kFields)
        shown << QLatin1String(name) + u'=' + field(form, name);
    return shown.join(u'|');
}

TEST_F(TForm1TextIoTest, EachImportFillsAllItsFieldsOrNone)
{
    const QString kanyu =
        writeFile("kanyu.txt", encodeCp932("00120-6-12345\r\n日本語教育振興会\r\n"));
    const QString harai =
        writeFile("harai.txt", "〒１００－０００１\n東京都\n山田太郎\n（03）123-456\n");
    const QString big = writeFile("big.txt", QByteArray(2 << 20, '1'));
    // The command, the file chosen (none: cancelled), the fields afterwards (none: unchanged).
    std::vector<std::tuple<const char*, QString, QString>> cases = {
        {"Mtextkanyu", kanyu,
         "Ekouza1=00120|Ekouza2=6|Ekouza3=12345|Ekanyu=日本語教育振興会|Ezip=9|Maddres=9|"
         "Etele1=9|Etele2=9|Etele3=9|MemoTsuushin=9|MaddresR=9"},
        {"Mtextharai", harai,
         "Ekouza1=9|Ekouza2=9|Ekouza3=9|Ekanyu=9|Ezip=〒100-0001|Maddres=東京都\n山田太郎|"
         "Etele1=|Etele2=03|Etele3=123-456|MemoTsuushin=9|MaddresR=9"}};
    for (const char* command : {"Mtextkanyu", "Mtextharai"}) {
        for (const QString& file : {QString(), dir.filePath("none.txt"), big})
            cases.emplace_back(command, file, QString());
    }
    for (const auto& [command, file, expected] : cases) {
        SCOPED_TRACE(command + (' ' + file.toStdString()));
        auto form = makeForm();
        widget<QCheckBox>(*form, "CheckBox4")->setChecked(true);
        for (const char* name : kFields)
            field(*form, name, "9");
        const QString before = shownFields(*form);
        prompts.errors.clear();
        prompts.openAnswers = {file};
        action(*form, command)->trigger();
        EXPECT_EQ(shownFields(*form), expected.isNull() ? before : expected);
        EXPECT_EQ(form->slip().Etele2, field(*form, "Etele2"));
        EXPECT_TRUE(form->slip().CheckBox4 && !form->slip().CheckBox1);
        const bool refused = expected.isNull() && !file.isEmpty();
        ASSERT_EQ(prompts.errors.size(), refused ? 1 : 0);
        EXPECT_TRUE(!refused || prompts.errors[0].contains(QFileInfo(file).fileName()));
        const Prompts::FileDialog& asked = prompts.openAsked.back();
        EXPECT_EQ(asked.title + '|' + asked.fileName + '|' + asked.filter,
                  "加入者テキスト読み込み||テキスト (*.txt);;すべて (*)");
    }
}

// The import, the export and the workbench's open each propose their own file; the setting
// file's dialogs keep proposing the setting file.
TEST_F(TForm1TextIoTest, ImportAndExportLeaveTheSettingFileDialogsAsTheyWere)
{
    auto form = makeForm();
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText("山田商店\n本店");
    const QString saved = dir.filePath("slip.dat");
    prompts.saveAnswers = {saved};
    action(*form, "SaveAs1")->trigger();
    prompts.openAnswers = {writeFile("a.txt", "100-0001\n東京都\n03-1-2\n")};
    action(*form, "Mtextharai")->trigger();
    action(*form, "Msavetxtcsv")->trigger(); // cancelled
    const Prompts::FileDialog& exported = prompts.saveAsked.back();
    EXPECT_EQ(exported.title + '|' + exported.folder + '|' + exported.fileName,
              "情報をCSV形式で保存|" + dir.path() + "|山田商店.csv");
    action(*form, "ToolButton5")->trigger(); // the workbench's open, cancelled
    action(*form, "Open1")->trigger();
    const Prompts::FileDialog &text = prompts.openAsked.at(1), &settings = prompts.openAsked.at(2);
    EXPECT_EQ(settings.title + '|' + settings.fileName + '|' + settings.defaultSuffix,
              "設定ファイルの読み込み|" + saved + "|dat");
    EXPECT_EQ(text.folder + '|' + text.fileName, settings.folder + '|' + saved);

    // Never a hidden file, never a control character in a name.
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(QStringLiteral(".\tprofile"));
    action(*form, "Msavetxttxt")->trigger(); // cancelled
    EXPECT_EQ(prompts.saveAsked.back().fileName, QStringLiteral("profile.txt"));
}

TEST_F(TForm1TextIoTest, ExportIsWrittenWholeOrNotAtAll)
{
    auto form = makeForm();
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText("山田😀商店");
    const QString txt = dir.filePath("info.txt");
    prompts.saveAnswers = {txt};
    action(*form, "Msavetxttxt")->trigger();
    QFile file(txt);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = decodeCp932(file.readAll()).split("\r\n");
    ASSERT_EQ(lines.size(), 14); // thirteen values, each ending in CR LF
    EXPECT_EQ(lines[3], "山田?商店");
    EXPECT_EQ(prompts.warnings,
              QStringList{"CP932（Shift-JIS）で表せない文字 1 文字を「?」にして保存しました。"});

    // /proc takes no new file from anyone, root included.
    for (const QString& target : {QString("/proc/info.csv"), dir.filePath("no/such/info.csv")}) {
        SCOPED_TRACE(target.toStdString());
        prompts.errors.clear();
        prompts.saveAnswers = {target};
        action(*form, "Msavetxtcsv")->trigger();
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(target)));
        EXPECT_FALSE(QFile::exists(target));
    }
}

TEST_F(TForm1WorkbenchTest, TransferButtonsTickTheirBoxAndPutTheWholeSelectionInTheirField)
{
    // The button, its field and print box, and the selection; nothing selected leaves the field.
    const std::tuple<const char*, const char*, const char*, QString> cases[] = {
        {"SpeedButton1", "Ekouza1", "CheckBox1", "12345"},
        {"SpeedButton1", "Ekouza1", "CheckBox1", "00120123"}, // beyond 5: not cut
        {"SpeedButton2", "Ekouza2", "CheckBox1", "9"},
        {"SpeedButton3", "Ekouza3", "CheckBox1", "1234567"},
        {"SpeedButton4", "Ekanyu", "CheckBox1", "郵便　太郎"},
        {"SpeedButton5", "SEkingaku", "CheckBox2", "１２３"}, // unconverted
        {"SpeedButton6", "MemoTsuushin", "CheckBox3", "会費\n"},
        {"SpeedButton6", "MemoTsuushin", "CheckBox3", ""},
        {"SpeedButton7", "Ezip", "CheckBox4", "123-4567"},
        {"SpeedButton8", "Maddres", "CheckBox4", "東京都\n山田 花子"},
        {"SpeedButton9", "Etele1", "CheckBox4", "03"},
        {"SpeedButton10", "Etele2", "CheckBox4", "1234"},
        {"SpeedButton11", "Etele3", "CheckBox4", "5678"},
    };
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    for (const auto& [button, name, box, selected] : cases) {
        SCOPED_TRACE(button + (" «" + selected.toStdString() + "»"));
        widget<QCheckBox>(*form, box)->setChecked(false);
        editor->setPlainText("前 " + selected + " 後");
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(2 + static_cast<int>(selected.size()), QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        const QString before = field(*form, name);
        widget<QToolButton>(*form, button)->click();
        EXPECT_TRUE(widget<QCheckBox>(*form, box)->isChecked());
        EXPECT_EQ(field(*form, name), selected.isEmpty() ? before : selected);
    }
    // The record holds the two lines as every multi-line field does.
    EXPECT_EQ(form->slip().Maddres, "東京都\r\n山田 花子");
}

TEST_F(TForm1WorkbenchTest, EachCleanUpIsOneUndoStep)
{
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "RichEdit1");
    editor->setPlainText("\t１,０００\n\n b");
    for (const char* button : {"SpeedButton12", "SpeedButton16", "SpeedButton15", "SpeedButton14"})
        widget<QToolButton>(*form, button)->click();
    EXPECT_EQ(editor->toPlainText(), "1000\nb");
    for (const QString& previous :
         QStringList{"\t1000\n b", "\t1000\n\n b", "\t1,000\n\n b", "\t１,０００\n\n b"}) {
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
