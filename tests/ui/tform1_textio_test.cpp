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

// Every text field as the window shows it, "name=value" joined by "|".
QString shownFields(const TForm1& form)
{
    QStringList shown;
    for (const char* name : kFields) {
        const QObject* w = form.findChild<QObject*>(QLatin1String(name));
        const auto* lines = qobject_cast<const QPlainTextEdit*>(w);
        shown << QLatin1String(name) + u'=' +
                     (lines ? lines->toPlainText() : qobject_cast<const QLineEdit*>(w)->text());
    }
    return shown.join(u'|');
}

void fillEveryField(TForm1& form)
{
    for (const char* name : kFields) {
        QObject* w = form.findChild<QObject*>(QLatin1String(name));
        if (auto* lines = qobject_cast<QPlainTextEdit*>(w))
            lines->setPlainText(QStringLiteral("前"));
        else
            qobject_cast<QLineEdit*>(w)->setText(QStringLiteral("9"));
    }
    for (const char* box : {"CheckBox1", "CheckBox4"})
        form.findChild<QCheckBox*>(QLatin1String(box))->setChecked(true);
}

TEST_F(TForm1TextIoTest, EachImportFillsItsFieldsAndNothingElse)
{
    struct Case {
        const char* command;
        QByteArray file;
        const char* expected;
    };
    const Case cases[] = {
        {"Mtextkanyu", encodeCp932(QStringLiteral("00120-6-12345\r\n日本語教育振興会\r\n")),
         "Ekouza1=00120|Ekouza2=6|Ekouza3=12345|Ekanyu=日本語教育振興会|Ezip=9|Maddres=前|"
         "Etele1=9|Etele2=9|Etele3=9|MemoTsuushin=前|MaddresR=前"},
        {"Mtextharai", "〒１００－０００１\n東京都\n山田太郎\n（03）123-456\n",
         "Ekouza1=9|Ekouza2=9|Ekouza3=9|Ekanyu=前|Ezip=〒100-0001|Maddres=東京都\n山田太郎|"
         "Etele1=|Etele2=03|Etele3=123-456|MemoTsuushin=前|MaddresR=前"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        auto form = makeForm();
        fillEveryField(*form);
        prompts.openAnswers = {writeFile(QStringLiteral("import.txt"), c.file)};
        action(*form, c.command)->trigger();
        EXPECT_EQ(shownFields(*form), QString::fromUtf8(c.expected));
        EXPECT_EQ(form->slip().Maddres, c.command == QLatin1String("Mtextharai")
                                            ? QStringLiteral("東京都\r\n山田太郎")
                                            : QStringLiteral("前"))
            << "the record follows the fields";
        EXPECT_TRUE(form->slip().CheckBox1 && form->slip().CheckBox4 && !form->slip().CheckBox4R);
        const Prompts::FileDialog& asked = prompts.openAsked.back();
        EXPECT_EQ(asked.title, QStringLiteral("加入者テキスト読み込み"));
        EXPECT_EQ(asked.fileName, QString());
        EXPECT_EQ(asked.filter, QStringLiteral("テキスト (*.txt);;すべて (*)"));
        EXPECT_EQ(asked.defaultSuffix, QStringLiteral("txt"));
        EXPECT_TRUE(prompts.errors.isEmpty());
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
            fillEveryField(*form);
            const QString before = shownFields(*form);
            prompts.errors.clear();
            prompts.openAnswers = {answer};
            action(*form, command)->trigger();
            EXPECT_EQ(shownFields(*form), before);
            EXPECT_EQ(prompts.errors.size(), answer.isEmpty() ? 0 : 1);
            if (!answer.isEmpty()) {
                EXPECT_TRUE(prompts.errors.value(0).contains(QFileInfo(answer).fileName()));
            }
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
    prompts.saveAnswers = {dir.filePath(QStringLiteral("info.csv"))};
    action(*form, "Msavetxtcsv")->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("info.csv"))));
    EXPECT_EQ(prompts.saveAsked.back().fileName, QStringLiteral("山田商店.csv"));
    EXPECT_EQ(prompts.saveAsked.back().title, QStringLiteral("情報をCSV形式で保存"));
    EXPECT_EQ(prompts.saveAsked.back().folder, dir.path());

    action(*form, "Open1")->trigger();
    EXPECT_EQ(prompts.openAsked.back().fileName, saved);
    EXPECT_EQ(prompts.openAsked.back().title, QStringLiteral("設定ファイルの読み込み"));
    prompts.saveAnswers.clear();
    action(*form, "SaveAs1")->trigger();
    EXPECT_EQ(prompts.saveAsked.back().filter, QStringLiteral("設定ファイル (*.dat);;すべて (*)"));
}

TEST_F(TForm1TextIoTest, ExportWritesTheFileAndTellsOfReplacedCharacters)
{
    auto form = makeForm();
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(QStringLiteral("山田😀商店"));
    const QString txt = dir.filePath(QStringLiteral("info.txt"));
    prompts.saveAnswers = {txt};
    action(*form, "Msavetxttxt")->trigger();
    EXPECT_EQ(prompts.saveAsked.back().fileName, QStringLiteral("山田😀商店.txt"));
    EXPECT_EQ(prompts.saveAsked.back().defaultSuffix, QStringLiteral("txt"));
    QFile file(txt);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = decodeCp932(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 14); // thirteen values, each ending in CR LF
    EXPECT_EQ(lines[3], QStringLiteral("山田?商店"));
    EXPECT_EQ(prompts.warnings,
              QStringList{QStringLiteral(
                  "CP932（Shift-JIS）で表せない文字 1 文字を「?」にして保存しました。")});
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(TForm1TextIoTest, ExportThatCannotBeWrittenSaysWhyAndLeavesNothing)
{
    // Root writes into any folder; /proc takes no new file from anyone.
    const QString readOnly = geteuid() == 0 ? QStringLiteral("/proc") : dir.filePath("locked");
    if (geteuid() != 0) {
        QDir().mkpath(readOnly);
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    }
    auto form = makeForm();
    for (const QString& target : {readOnly + QStringLiteral("/info.csv"),
                                  dir.filePath(QStringLiteral("no/such/info.csv"))}) {
        SCOPED_TRACE(target.toStdString());
        prompts.errors.clear();
        prompts.saveAnswers = {target};
        action(*form, "Msavetxtcsv")->trigger();
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(target)))
            << prompts.errors[0].toStdString();
        EXPECT_FALSE(QFile::exists(target));
    }
    if (geteuid() != 0) {
        EXPECT_TRUE(QDir(readOnly).isEmpty());
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

} // namespace
} // namespace nobrisa::test
