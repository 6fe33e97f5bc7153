// The main window's text import and information export.

#include "tform1fixture.h"

#include "text/encoding.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <unistd.h>

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

TEST_F(TForm1TextIoTest, EachImportFillsItsFieldsAndNothingElse)
{
    const std::tuple<const char*, QByteArray, const char*> cases[] = {
        {"Mtextkanyu", encodeCp932(QStringLiteral("00120-6-12345\r\n日本語教育振興会\r\n")),
         "Ekouza1=00120|Ekouza2=6|Ekouza3=12345|Ekanyu=日本語教育振興会|Ezip=9|Maddres=前|"
         "Etele1=9|Etele2=9|Etele3=9|MemoTsuushin=前|MaddresR=前"},
        {"Mtextharai", "〒１００－０００１\n東京都\n山田太郎\n（03）123-456\n",
         "Ekouza1=9|Ekouza2=9|Ekouza3=9|Ekanyu=前|Ezip=〒100-0001|Maddres=東京都\n山田太郎|"
         "Etele1=|Etele2=03|Etele3=123-456|MemoTsuushin=前|MaddresR=前"},
    };
    for (const auto& [command, file, expected] : cases) {
        SCOPED_TRACE(command);
        auto form = makeForm();
        shownFields(*form, true);
        prompts.openAnswers = {writeFile(QStringLiteral("import.txt"), file)};
        action(*form, command)->trigger();
        EXPECT_EQ(shownFields(*form), QString::fromUtf8(expected));
        EXPECT_EQ(form->slip().Etele2, widget<QLineEdit>(*form, "Etele2")->text());
        EXPECT_TRUE(form->slip().CheckBox4 && !form->slip().CheckBox1);
        EXPECT_EQ(prompts.openAsked.back().title, QStringLiteral("加入者テキスト読み込み"));
        EXPECT_EQ(prompts.openAsked.back().fileName, QString());
        EXPECT_EQ(prompts.openAsked.back().filter, QStringLiteral("テキスト (*.txt);;すべて (*)"));
    }
}

TEST_F(TForm1TextIoTest, CancelOrAnUnreadableFileChangesNothing)
{
    const QString big = writeFile(QStringLiteral("big.txt"), QByteArray(2 << 20, '1'));
    const QString none = dir.filePath(QStringLiteral("none.txt"));
    for (const char* command : {"Mtextkanyu", "Mtextharai"}) {
        for (const QString& answer : {QString(), none, big}) {
            SCOPED_TRACE(std::string(command) + " " + answer.toStdString());
            auto form = makeForm();
            const QString before = shownFields(*form, true);
            prompts.errors.clear();
            prompts.openAnswers = {answer};
            action(*form, command)->trigger();
            EXPECT_EQ(shownFields(*form), before);
            EXPECT_EQ(prompts.errors.size(), answer.isEmpty() ? 0 : 1);
            EXPECT_TRUE(prompts.errors.join(u' ').contains(QFileInfo(answer).fileName()));
        }
    }
}

TEST_F(TForm1TextIoTest, ImportAndExportLeaveTheSettingFileDialogsAsTheyWere)
{
    auto form = makeForm();
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(QStringLiteral("山田商店\n本店"));
    const QString saved = dir.filePath(QStringLiteral("slip.dat"));
    prompts.saveAnswers = {saved};
    action(*form, "SaveAs1")->trigger();
    prompts.openAnswers = {writeFile(QStringLiteral("a.txt"), "100-0001\n東京都\n03-1-2\n")};
    action(*form, "Mtextharai")->trigger();
    action(*form, "Msavetxtcsv")->trigger(); // cancelled
    EXPECT_EQ(prompts.saveAsked.back().fileName, QStringLiteral("山田商店.csv"));
    EXPECT_EQ(prompts.saveAsked.back().title, QStringLiteral("情報をCSV形式で保存"));
    EXPECT_EQ(prompts.saveAsked.back().folder, dir.path());
    action(*form, "Open1")->trigger();
    EXPECT_EQ(prompts.openAsked.back().fileName, saved);

    // Never a hidden file, never a control character in a name.
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(QStringLiteral(".\tprofile"));
    action(*form, "Msavetxttxt")->trigger(); // cancelled
    EXPECT_EQ(prompts.saveAsked.back().fileName, QStringLiteral("profile.txt"));
}

TEST_F(TForm1TextIoTest, ExportIsWrittenWholeOrNotAtAll)
{
    auto form = makeForm();
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(QStringLiteral("山田😀商店"));
    const QString txt = dir.filePath(QStringLiteral("info.txt"));
    prompts.saveAnswers = {txt};
    action(*form, "Msavetxttxt")->trigger();
    EXPECT_EQ(prompts.saveAsked.back().fileName, QStringLiteral("山田😀商店.txt"));
    QFile file(txt);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = decodeCp932(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 14); // thirteen values, each ending in CR LF
    EXPECT_EQ(lines[3], QStringLiteral("山田?商店"));
    EXPECT_EQ(prompts.warnings,
              QStringList{QStringLiteral(
                  "CP932（Shift-JIS）で表せない文字 1 文字を「?」にして保存しました。")});

    // Root writes into any folder; /proc takes no new file from anyone.
    const QString locked = geteuid() == 0 ? QStringLiteral("/proc") : dir.filePath("locked");
    QDir().mkpath(dir.filePath("locked"));
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    for (const QString& target :
         {locked + QStringLiteral("/info.csv"), dir.filePath(QStringLiteral("no/such/info.csv"))}) {
        SCOPED_TRACE(target.toStdString());
        prompts.errors.clear();
        prompts.saveAnswers = {target};
        action(*form, "Msavetxtcsv")->trigger();
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(target)));
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_TRUE(QDir(dir.filePath("locked")).isEmpty());
    QFile::setPermissions(dir.filePath("locked"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
} // namespace nobrisa::test
