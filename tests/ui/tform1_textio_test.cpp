// The main window's text import and information export.

#include "tform1fixture.h"

#include "text/encoding.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace nobrisa::test {
namespace {

using TForm1TextIoTest = TForm1Test;

const char* const kFields[] = {"Ekouza1", "Ekouza2",      "Ekouza3", "Ekanyu",
                               "Ezip",    "Maddres",      "Etele1",  "Etele2",
                               "Etele3",  "MemoTsuushin", "MaddresR"};

// Every text field as the window shows it, "name=value" joined by "|"; with `fill`, first sets
// each to a value of its own and ticks CheckBox4.
QString shownFields(const TForm1& form, bool fill = false)
{
    if (fill)
        form.findChild<QCheckBox*>(QStringLiteral("CheckBox4"))->setChecked(true);
    QStringList shown;
    for (const char* name : kFields) {
        auto* lines = form.findChild<QPlainTextEdit*>(QLatin1String(name));
        auto* line = form.findChild<QLineEdit*>(QLatin1String(name));
        if (fill && lines)
            lines->setPlainText(QStringLiteral("前"));
        else if (fill)
            line->setText(QStringLiteral("9"));
        shown << QLatin1String(name) + u'=' + (lines ? lines->toPlainText() : line->text());
    }
    return shown.join(u'|');
}

TEST_F(TForm1TextIoTest, EachImportFillsAllItsFieldsOrNone)
{
    const QString kanyu =
        writeFile("kanyu.txt", encodeCp932("00120-6-12345\r\n日本語教育振興会\r\n"));
    const QString harai =
        writeFile("harai.txt", "〒１００－０００１\n東京都\n山田太郎\n（03）123-456\n");
    const QString big = writeFile("big.txt", QByteArray(2 << 20, '1'));
    const QString none = dir.filePath("none.txt");
    // The command, the file chosen (none: cancelled), the fields afterwards (null: unchanged).
    const std::tuple<const char*, QString, const char*> cases[] = {
        {"Mtextkanyu", kanyu,
         "Ekouza1=00120|Ekouza2=6|Ekouza3=12345|Ekanyu=日本語教育振興会|Ezip=9|Maddres=前|"
         "Etele1=9|Etele2=9|Etele3=9|MemoTsuushin=前|MaddresR=前"},
        {"Mtextharai", harai,
         "Ekouza1=9|Ekouza2=9|Ekouza3=9|Ekanyu=前|Ezip=〒100-0001|Maddres=東京都\n山田太郎|"
         "Etele1=|Etele2=03|Etele3=123-456|MemoTsuushin=前|MaddresR=前"},
        {"Mtextkanyu", {}, nullptr},
        {"Mtextkanyu", none, nullptr},
        {"Mtextkanyu", big, nullptr},
        {"Mtextharai", {}, nullptr},
        {"Mtextharai", none, nullptr},
        {"Mtextharai", big, nullptr},
    };
    for (const auto& [command, file, expected] : cases) {
        SCOPED_TRACE(command + (' ' + file.toStdString()));
        auto form = makeForm();
        const QString before = shownFields(*form, true);
        prompts.errors.clear();
        prompts.openAnswers = {file};
        action(*form, command)->trigger();
        EXPECT_EQ(shownFields(*form), expected ? QString::fromUtf8(expected) : before);
        EXPECT_EQ(form->slip().Etele2, widget<QLineEdit>(*form, "Etele2")->text());
        EXPECT_TRUE(form->slip().CheckBox4 && !form->slip().CheckBox1);
        EXPECT_EQ(prompts.errors.size(), expected || file.isEmpty() ? 0 : 1);
        EXPECT_TRUE(expected || prompts.errors.join(u' ').contains(QFileInfo(file).fileName()));
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
}

TEST_F(TForm1TextIoTest, ExportIsWrittenWholeOrNotAtAll)
{
    auto form = makeForm();
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText("山田😀商店");
    const QString txt = dir.filePath("info.txt");
    prompts.saveAnswers = {txt};
    action(*form, "Msavetxttxt")->trigger();
    EXPECT_EQ(prompts.saveAsked.back().fileName, "山田😀商店.txt");
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

} // namespace
} // namespace nobrisa::test
