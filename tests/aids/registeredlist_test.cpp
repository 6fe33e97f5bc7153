#include "aids/registeredlist.h"

#include "settings/inifile.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>

namespace nobrisa {
namespace {

const RegisteredList kPayers(RegisteredList::Kind::Payers);
const RegisteredList kSubscribers(RegisteredList::Kind::Subscribers);

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Written, stored in the file and read back: the values a reopened dialog shows (payers: zip,
// three telephone parts, address, right-hand name).
TEST(RegisteredListTest, ValuesComeBackThroughTheFile)
{
    // What, the values written, the values read back, "key=value" lines of the file.
    const std::tuple<const char*, QStringList, QStringList, QStringList> cases[] = {
        {"address with an empty middle line",
         {"1", "03", "1", "2", "東京都\r\n\r\n山田", ""},
         {"1", "03", "1", "2", "東京都\r\n\r\n山田", ""},
         {"Acount_0=3", "Line_0-1=##", "Bcount_0=0"}},
        {"blanks kept inside the wrapping only",
         {" 123", "03 ", "", "", "  x  \r\n y", "\t右 "},
         {"123", "03", "", "", "  x  \r\n y", "\t右 "},
         {"Zip_0= 123", "Line_0-0=#  x  #", "LineR_0-0=#\t右 #"}},
        {"an empty last line is counted, a final line break is not",
         {"", "", "", "", "a\r\n\r\n", "a\n"},
         {"", "", "", "", "a\r\n\r\n", "a"},
         {"Acount_0=2", "Bcount_0=1"}},
    };
    for (const auto& [what, values, expected, stored] : cases) {
        SCOPED_TRACE(what);
        IniFile ini;
        kPayers.write(ini, 0, 1, " A ", values);
        for (const QString& line : stored)
            EXPECT_TRUE(ini.toText().contains("\r\n" + line + "\r\n")) << line.toStdString();
        const IniFile back = IniFile::fromBytes(ini.toBytes());
        EXPECT_EQ(kPayers.names(back, kPayers.count(back)), QStringList{"A"});
        EXPECT_EQ(kPayers.values(back, 0), expected);
    }
}

// Hand-edited or damaged sections: no hang, no crash, missing keys read empty.
TEST(RegisteredListTest, DamagedSectionsReadSafely)
{
    // The section's keys, the count read, entry 0 (Kou1, Kou2, Kou3, Ekanyu).
    const std::tuple<const char*, int, QStringList> cases[] = {
        {"", 0, {}},
        {"count=100000", 0, {}},
        {"count=100000\nKou1_1=9", 2, {"", "", "", ""}},
        {"count=-3\nName_0=A", 0, {}},
        {"count=x\nName_0=A", 0, {}},
        {"count=1\nKAcount_0=3\nKLine_0-0=#a#", 1, {"", "", "", "a\r\n\r\n\r\n"}},
        {"count=1\nKou1_0=1\nKAcount_0=3\nKLine_0-0=abc\nKLine_0-1=x\nKLine_0-2=##",
         1,
         {"1", "", "", "b\r\n\r\n\r\n"}},
        {"count=2\nName_1=B\nKAcount_1=2000000000", 2, {"", "", "", ""}},
    };
    for (const auto& [keys, expectedCount, entry0] : cases) {
        SCOPED_TRACE(keys);
        const auto start = std::chrono::steady_clock::now();
        IniFile ini = IniFile::parse("[TourokuK]\n" + QString::fromUtf8(keys));
        const int count = kSubscribers.count(ini);
        EXPECT_EQ(count, expectedCount);
        if (count > 0) {
            EXPECT_EQ(kSubscribers.values(ini, 0), entry0);
            kSubscribers.remove(ini, 0, count); // copies entry 1's lines down
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

// Each subscriber as "name account-part-1 name".
QStringList entries(const IniFile& ini)
{
    QStringList shown = kSubscribers.names(ini, kSubscribers.count(ini));
    for (int i = 0; i < shown.size(); ++i)
        shown[i] += ' ' + kSubscribers.values(ini, i)[0] + ' ' + kSubscribers.values(ini, i)[3];
    return shown;
}

TEST(RegisteredListTest, DeleteCopiesLaterEntriesDownAndLeavesTheLastKeys)
{
    const QString a = "A 1 a", b = "B 2 b\r\nb\r\nb", c = "C 3 a";
    // The index deleted, the count before, the entries left.
    const std::tuple<int, int, QStringList> cases[] = {
        {1, 3, {a, c}}, {0, 3, {b, c}}, {2, 3, {a, b}}, {5, 3, {a, b, c}}, {0, 1, {}}};
    for (const auto& [removed, count, left] : cases) {
        SCOPED_TRACE(removed);
        IniFile ini;
        kSubscribers.write(ini, 0, 1, "A", {"1", "", "", "a"});
        kSubscribers.write(ini, 1, 2, "B", {"2", "", "", "b\r\nb\r\nb"});
        kSubscribers.write(ini, 2, 3, "C", {"3", "", "", "c"});
        ini.setValue("TourokuK", "KLine_2-0", "raw"); // copied as stored, read as "a"
        EXPECT_EQ(kSubscribers.remove(ini, removed, count), left.size());
        EXPECT_EQ(entries(ini), left);
        EXPECT_EQ(ini.value("TourokuK", "Name_2"), QString("C")) << "stale, unread";
    }

    IniFile many; // no limit on entries, and names need not be unique
    for (int i = 0; i < 51; ++i)
        kSubscribers.write(many, i, i + 1, "同名", {QString::number(i)});
    EXPECT_EQ(kSubscribers.names(many, kSubscribers.count(many)), QStringList(51, "同名"));
    EXPECT_EQ(kSubscribers.values(many, 50)[0], "50");
}

// Only the list's own section changes; every change writes UTF-16LE with byte-order mark, also
// over a file in the legacy code page, so that no character is lost to it.
TEST(RegisteredListFileTest, WriteKeepsOtherSectionsAndWritesUtf16)
{
    const QString data = QStringLiteral(NOBRISA_TEST_DATA "/ini/");
    QTemporaryDir dir;
    const QString file = dir.filePath("app.ini");
    ASSERT_TRUE(QFile::copy(data + "registered_before.ini", file));
    QString error;
    ASSERT_TRUE(kPayers.writeToFile(
        file, 1, 2, "実家",
        {"100-0001", "03", "1234", "5678", "東京都千代田区\r\n  山田　太郎  ", "山田"}, &error))
        << error.toStdString();
    EXPECT_EQ(readBytes(file), readBytes(data + "registered_after.ini"));

    QFile cp932(file);
    ASSERT_TRUE(cp932.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cp932.write(encodeCp932("[TourokuK]\r\ncount=2\r\nName_0=髙橋\r\nName_1=①\r\n"));
    cp932.close();
    ASSERT_TRUE(kSubscribers.removeFromFile(file, 1, 2, &error)) << error.toStdString();
    EXPECT_TRUE(readBytes(file).startsWith("\xFF\xFE"));
    EXPECT_TRUE(decodeSettingsText(readBytes(file)).contains("Name_0=髙橋"));
}

} // namespace
} // namespace nobrisa
