// The registered payers and subscribers dialogs, opened from the main window as a user does.

#include "tform1fixture.h"

#include "settings/inifile.h"
#include "text/encoding.h"
#include "ui/registereddialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace nobrisa::test {
namespace {

using RegisteredDialogTest = TForm1Test;

// A settings file with other sections and the payers `names`, each with its own postal code.
QByteArray iniWithPayers(const QStringList& names)
{
    QString s =
        "[Extra]\r\nKeep=そのまま\r\n\r\n[Touroku]\r\ncount=" + QString::number(names.size()) +
        "\r\n";
    for (int i = 0; i < names.size(); ++i)
        s += QString("Name_%1=%2\r\nZip_%1=%2-zip\r\n").arg(i).arg(names[i]);
    return encodeUtf16LeWithBom(s);
}

// Runs `script` in the dialog that the menu item or button `opener` opens, then closes it.
void inDialog(TForm1& form, const char* opener,
              const std::function<void(RegisteredDialog&)>& script)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<RegisteredDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        script(*dialog);
        ran = true;
        dialog->findChild<QPushButton*>("BitBtn1")->click();
    });
    if (auto* item = form.findChild<QAction*>(QLatin1String(opener)))
        item->trigger();
    else
        form.findChild<QPushButton*>(QLatin1String(opener))->click();
    EXPECT_TRUE(ran);
}

template <class W = QLineEdit> W* in(const QWidget& parent, const QString& name)
{
    // The dialog is a child of the window: the window's own field is the one in its window.
    for (W* w : parent.findChildren<W*>(name)) {
        if (w->window() == &parent)
            return w;
    }
    ADD_FAILURE() << name.toStdString();
    return nullptr;
}

QString text(const QWidget& parent, const QString& name)
{
    if (parent.findChild<QPlainTextEdit*>(name) != nullptr)
        return in<QPlainTextEdit>(parent, name)->toPlainText();
    return in(parent, name)->text();
}

QStringList items(const QComboBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

TEST_F(RegisteredDialogTest, RegisterDeleteExitAndStartAgain)
{
    writeFile("nobrisa.ini", iniWithPayers({"実家", "旧"}));
    auto form = makeForm();
    form->show();
    in(*form, "Ezip")->setText("100-0001");
    in<QPlainTextEdit>(*form, "Maddres")->setPlainText("東京都\n\n  山田 太郎");
    in<QPlainTextEdit>(*form, "MaddresR")->setPlainText("山田");
    inDialog(*form, "Mharaikominin", [&](RegisteredDialog& d) {
        EXPECT_EQ(d.property(kHelpContextProperty).toInt(), 23001);
        EXPECT_EQ(text(d, "Ezip"), "実家-zip") << "entry 0 is shown";
        in<QPushButton>(d, "Button5")->click(); // 取得
        prompts.inputAnswers = {"自宅"};
        in<QPushButton>(d, "Button2")->click(); // 新規登録
        EXPECT_EQ(prompts.inputsAsked,
                  QStringList{"登録払込人－新規登録|登録名を入力して下さい。"});
        auto* names = in<QComboBox>(d, "ComboBox1");
        EXPECT_EQ(items(names), (QStringList{"実家", "旧", "自宅"}));
        EXPECT_EQ(d.entryCount(), 3);
        names->setCurrentIndex(1);
        EXPECT_EQ(text(d, "Ezip"), "旧-zip");
        in<QPushButton>(d, "Button4")->click(); // 削除, without a question
        EXPECT_TRUE(prompts.confirmsAsked.isEmpty());
        EXPECT_EQ(items(names), (QStringList{"実家", "自宅"}));
        EXPECT_EQ(text(d, "Ezip"), "実家-zip") << "entry 0 is shown again";
    });
    ASSERT_TRUE(form->close()); // the exit save
    form.reset();

    auto again = makeForm();
    inDialog(*again, "BtnTouroku", [&](RegisteredDialog& d) {
        EXPECT_EQ(items(in<QComboBox>(d, "ComboBox1")), (QStringList{"実家", "自宅"}));
        in<QComboBox>(d, "ComboBox1")->setCurrentIndex(1);
        EXPECT_EQ(text(d, "Ezip"), "100-0001");
        EXPECT_EQ(text(d, "Maddres"), "東京都\n\n  山田 太郎");
        EXPECT_EQ(text(d, "MaddresR"), "山田");
    });
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    QFile file(context.appIniPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const IniFile ini = IniFile::fromBytes(file.readAll());
    EXPECT_EQ(ini.value("Extra", "Keep"), QString("そのまま"));
    EXPECT_EQ(ini.value("Touroku", "Name_2"), QString("自宅")) << "stale keys stay";
}

TEST_F(RegisteredDialogTest, SubscriberNamePromptCancelledOrEmptyRegistersNothing)
{
    for (const QString& answer : {QString(), QString("")}) {
        auto form = makeForm();
        inDialog(*form, "BtnTourokuK", [&](RegisteredDialog& d) {
            EXPECT_EQ(d.property(kHelpContextProperty).toInt(), 23002);
            // Enter moves on from the list through the account fields; the name takes it.
            QApplication::setActiveWindow(&d);
            in<QComboBox>(d, "ComboBox1")->setFocus();
            for (const char* next : {"Ekouza1", "Ekouza2", "Ekouza3", "Ekanyu"}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
            }
            in<QPlainTextEdit>(d, "Ekanyu")->setPlainText("株式会社\n営業部");
            prompts.inputAnswers = {answer};
            in<QPushButton>(d, "Button2")->click();
            EXPECT_EQ(d.entryCount(), 0);
            EXPECT_EQ(in<QComboBox>(d, "ComboBox1")->count(), 0);
        });
        EXPECT_FALSE(QFile::exists(context.appIniPath)) << "nothing was written";
    }
}

TEST_F(RegisteredDialogTest, FailedWriteIsReportedAndTheListReadAgain)
{
    writeFile("nobrisa.ini", iniWithPayers({"A", "B"}));
    auto form = makeForm();
    inDialog(*form, "Mharaikominin", [&](RegisteredDialog& d) {
        in(d, "Ezip")->setText("999-9999");
        // A full disk (a read-only file cannot be had as root): only a few bytes can be written.
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 100;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        prompts.inputAnswers = {"C"};
        in<QPushButton>(d, "Button2")->click(); // 新規登録
        const qsizetype afterNew = prompts.errors.size();
        const int countAfterNew = d.entryCount();
        in<QPushButton>(d, "Button4")->click(); // 削除
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_EQ(afterNew, 1);
        EXPECT_EQ(countAfterNew, 2);
        ASSERT_EQ(prompts.errors.size(), 2);
        EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(context.appIniPath)));
        EXPECT_EQ(items(in<QComboBox>(d, "ComboBox1")), (QStringList{"A", "B"}));
        EXPECT_EQ(text(d, "Ezip"), "999-9999") << "what was typed stays";
    });
}

TEST_F(RegisteredDialogTest, CopyAndTakeMoveTheListsFieldsOnly)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"Mharaikominin", {"Ezip", "Maddres", "Etele1", "Etele2", "Etele3", "MaddresR"}},
        {"Mkanyusha", {"Ekouza1", "Ekouza2", "Ekouza3", "Ekanyu"}}};
    const QStringList all = cases[0].second + cases[1].second + QStringList{"MemoTsuushin"};
    auto fill = [](const QWidget& parent, const QString& name, const QString& digit) {
        if (parent.findChild<QPlainTextEdit*>(name) != nullptr)
            in<QPlainTextEdit>(parent, name)->setPlainText(digit + "\n2");
        else
            in(parent, name)->setText(digit);
    };
    for (const auto& [opener, fields] : cases) {
        auto form = makeForm();
        for (const QString& name : all)
            fill(*form, name, "7");
        inDialog(*form, opener, [&](RegisteredDialog& d) {
            for (const QString& name : fields)
                fill(d, name, "3");
            in<QPushButton>(d, "Button1")->click(); // 払込書にコピー
            for (const QString& name : fields)
                fill(d, name, "1");
            in<QPushButton>(d, "Button5")->click(); // 取得
            for (const QString& name : fields)
                EXPECT_EQ(text(d, name).left(1), "3") << name.toStdString();
        });
        for (const QString& name : all)
            EXPECT_EQ(text(*form, name).left(1), fields.contains(name) ? "3" : "7") << opener;
        EXPECT_EQ(form->slip().Ekanyu.left(1), fields.contains("Ekanyu") ? "3" : "7");
    }
}

} // namespace
} // namespace nobrisa::test
