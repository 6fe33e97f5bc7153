// The registered payers and subscribers dialogs, opened from the main window as a user does.

#include "tform1fixture.h"

#include "settings/inifile.h"
#include "text/encoding.h"
#include "ui/registereddialog.h"

#include <QComboBox>
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
        QString("[Extra]\r\nKeep=そのまま\r\n\r\n[Touroku]\r\ncount=%1\r\n").arg(names.size());
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

// The widget `name` in the window `parent`: the dialog's fields share the window's names.
template <class W = QWidget> W* in(const QWidget& parent, const QString& name)
{
    for (W* w : parent.findChildren<W*>(name)) {
        if (w->window() == &parent)
            return w;
    }
    ADD_FAILURE() << name.toStdString();
    return nullptr;
}

// The text of the field `name`, after setting it to `value` when one is given.
QString text(const QWidget& parent, const QString& name, const QString& value = {})
{
    QWidget* field = in(parent, name);
    const char* property = field->inherits("QPlainTextEdit") ? "plainText" : "text";
    if (!value.isNull())
        field->setProperty(property, value);
    return field->property(property).toString();
}

QStringList items(const QWidget& dialog)
{
    QStringList names;
    const auto* list = in<QComboBox>(dialog, "ComboBox1");
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

TEST_F(RegisteredDialogTest, RegisterUpdateDeleteExitAndStartAgain)
{
    writeFile("nobrisa.ini", iniWithPayers({"実家", "旧"}));
    auto form = makeForm();
    form->show();
    text(*form, "Ezip", "100-0001");
    text(*form, "Maddres", "東京都\n\n  山田 太郎");
    text(*form, "MaddresR", "山田");
    inDialog(*form, "Mharaikominin", [&](RegisteredDialog& d) {
        EXPECT_EQ(text(d, "Ezip"), "実家-zip") << "entry 0 is shown";
        text(d, "Etele1", "03");
        in<QPushButton>(d, "Button3")->click(); // 更新
        in<QPushButton>(d, "Button5")->click(); // 取得
        prompts.inputAnswers = {"自宅"};
        in<QPushButton>(d, "Button2")->click(); // 新規登録
        EXPECT_EQ(items(d), (QStringList{"実家", "旧", "自宅"}));
        EXPECT_EQ(d.entryCount(), 3);
        in<QComboBox>(d, "ComboBox1")->setCurrentIndex(1);
        EXPECT_EQ(text(d, "Ezip"), "旧-zip");
        in<QPushButton>(d, "Button4")->click(); // 削除, without a question
        EXPECT_TRUE(prompts.confirmsAsked.isEmpty());
        EXPECT_EQ(items(d), (QStringList{"実家", "自宅"}));
        EXPECT_EQ(text(d, "Ezip"), "実家-zip") << "entry 0 is shown again";
        EXPECT_EQ(text(d, "Etele1"), "03");
    });
    ASSERT_TRUE(form->close()); // the exit save
    form.reset();

    auto again = makeForm();
    inDialog(*again, "BtnTouroku", [&](RegisteredDialog& d) {
        EXPECT_EQ(items(d), (QStringList{"実家", "自宅"}));
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

TEST_F(RegisteredDialogTest, FailedWriteIsReportedAndTheListReadAgain)
{
    writeFile("nobrisa.ini", iniWithPayers({"A", "B"}));
    auto form = makeForm();
    inDialog(*form, "Mharaikominin", [&](RegisteredDialog& d) {
        text(d, "Ezip", "999-9999");
        // A full disk (a read-only file cannot be had as root): only a few bytes can be written.
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit limited{100, saved.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        prompts.inputAnswers = {"C"};
        in<QPushButton>(d, "Button2")->click(); // 新規登録
        const int countAfterNew = d.entryCount();
        in<QPushButton>(d, "Button4")->click(); // 削除
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_EQ(countAfterNew, 2);
        ASSERT_EQ(prompts.errors.size(), 2);
        EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(context.appIniPath)));
        EXPECT_EQ(items(d), (QStringList{"A", "B"}));
        EXPECT_EQ(text(d, "Ezip"), "999-9999") << "what was typed stays";
    });
}

// In each dialog: Enter moves on until a field that takes it; Cancel or an empty name in the name
// prompt registers nothing; Copy puts the list's fields into the slip and Take the slip's into the
// dialog, no other field.
TEST_F(RegisteredDialogTest, EnterCancelCopyAndTakeInEachDialog)
{
    const std::tuple<const char*, int, QStringList> cases[] = {
        {"Mharaikominin", 23001, {"Ezip", "Maddres", "Etele1", "Etele2", "Etele3", "MaddresR"}},
        {"BtnTourokuK", 23002, {"Ekouza1", "Ekouza2", "Ekouza3", "Ekanyu"}}};
    const QStringList all =
        std::get<2>(cases[0]) + std::get<2>(cases[1]) + QStringList{"MemoTsuushin"};
    for (const auto& [opener, help, fields] : cases) {
        auto form = makeForm();
        for (const QString& name : all)
            text(*form, name, "7");
        inDialog(*form, opener, [&](RegisteredDialog& d) {
            EXPECT_EQ(d.property(kHelpContextProperty).toInt(), help);
            QApplication::setActiveWindow(&d);
            in(d, "ComboBox1")->setFocus();
            for (const QString& name : fields) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
                if (QApplication::focusWidget()->inherits("QPlainTextEdit"))
                    break;
            }
            for (const QString& name : fields)
                text(d, name, "3");
            prompts.inputAnswers = {QString(), ""}; // Cancel, then an empty name
            in<QPushButton>(d, "Button2")->click();
            in<QPushButton>(d, "Button2")->click();
            EXPECT_EQ(d.entryCount(), 0);
            EXPECT_EQ(items(d), QStringList());
            in<QPushButton>(d, "Button1")->click(); // 払込書にコピー
            for (const QString& name : fields)
                text(d, name, "1");
            in<QPushButton>(d, "Button5")->click(); // 取得
            for (const QString& name : fields)
                EXPECT_EQ(text(d, name), "3") << name.toStdString();
        });
        EXPECT_FALSE(QFile::exists(context.appIniPath)) << "nothing was written";
        for (const QString& name : all)
            EXPECT_EQ(text(*form, name), fields.contains(name) ? "3" : "7") << opener;
        EXPECT_EQ(form->slip().Ekanyu, fields.contains("Ekanyu") ? "3" : "7");
    }
}

} // namespace
} // namespace nobrisa::test
