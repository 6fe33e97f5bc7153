#include "settings/inifile.h"

#include "text/encoding.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace nobrisa {
namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    std::optional<QString> expected;
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsValue)
{
    const ReadCase& c = GetParam();
    const IniFile ini = IniFile::parse(text(c.file));
    EXPECT_EQ(ini.value(text(c.section), text(c.key)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    ::testing::Values(
        ReadCase{"plain", "[S]\r\nk=v\r\n", "S", "k", QStringLiteral("v")},
        ReadCase{"blanks_and_controls_trimmed", "  [ S ]\t\r\n\t k \x01= v \x1F\r\n", "S", "k",
                 QStringLiteral("v")},
        ReadCase{"split_at_first_equals", "[S]\nk=a=b\n", "S", "k", QStringLiteral("a=b")},
        ReadCase{"empty_value", "[S]\nk=\n", "S", "k", QString()},
        ReadCase{"section_name_case", "[tabsheet1]\nk=v\n", "TabSheet1", "k", QStringLiteral("v")},
        ReadCase{"key_name_case", "[S]\nEKOUZA1=v\n", "S", "ekouza1", QStringLiteral("v")},
        ReadCase{"comment_ignored", "[S]\n;k=v\n", "S", ";k", std::nullopt},
        ReadCase{"indented_comment_ignored", "[S]\n   ;k=v\n", "S", ";k", std::nullopt},
        ReadCase{"outside_section_ignored", "k=v\n[S]\n", "S", "k", std::nullopt},
        ReadCase{"lf_and_cr_line_ends", "[S]\ra=1\nb=2\r\n", "S", "b", QStringLiteral("2")},
        ReadCase{"first_of_duplicate_keys", "[S]\nk=1\nk=2\n", "S", "k", QStringLiteral("1")},
        ReadCase{"repeated_section_continues", "[S]\na=1\n[T]\n[s]\nb=2\n", "S", "b",
                 QStringLiteral("2")},
        ReadCase{"bracket_without_close_is_a_key", "[S]\n[x=1\n", "S", "[x", QStringLiteral("1")},
        ReadCase{"japanese", "[S]\n名前＝=髙橋\n", "S", "名前＝", QStringLiteral("髙橋")},
        ReadCase{"missing_section", "[S]\nk=v\n", "T", "k", std::nullopt}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(IniFileTest, WritesSectionsWithEmptyLineAndCrLf)
{
    IniFile ini;
    ini.setValue(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1"));
    ini.setValue(QStringLiteral("B"), QStringLiteral("y"), QString());
    ini.setValue(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("表"));
    EXPECT_EQ(ini.toText(), QStringLiteral("[A]\r\nx=1\r\nz=表\r\n\r\n[B]\r\ny=\r\n\r\n"));
    const QByteArray bytes = ini.toBytes();
    EXPECT_TRUE(bytes.startsWith(QByteArray("\xFF\xFE[\0A\0]\0\r\0\n\0", 12)));
    EXPECT_EQ(bytes.size(), 2 + 2 * ini.toText().size());
    EXPECT_EQ(decodeText(bytes), ini.toText());
}

TEST(IniFileTest, MergeReplacesInPlaceAndAppendsNewKeysAndSections)
{
    IniFile ini = IniFile::parse(text("; header comment\n"
                                      "stray=outside\n"
                                      "[one]\n"
                                      "KEY=old\n"
                                      "free text line\n"
                                      "\n"
                                      "; comment\n"
                                      "other = 2\n"
                                      "[two]\n"
                                      "k=v\n"));
    ini.setValue(QStringLiteral("One"), QStringLiteral("Key"), QStringLiteral("new"));
    ini.setValue(QStringLiteral("One"), QStringLiteral("Added"), QStringLiteral("3"));
    ini.setValue(QStringLiteral("Three"), QStringLiteral("n"), QStringLiteral("4"));
    // Names found in another case take the writer's spelling where they stand; names not
    // written ("other", "two") keep theirs; the line without "=" stays where it was.
    EXPECT_EQ(ini.toText(), text("[One]\r\nKey=new\r\nfree text line\r\nother=2\r\nAdded=3\r\n"
                                 "\r\n[two]\r\nk=v\r\n\r\n[Three]\r\nn=4\r\n\r\n"));
}

TEST(IniFileTest, LineBreakInValueCannotStartANewLine)
{
    IniFile ini;
    ini.setValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a\r\n[T]\nb=c"));
    const IniFile back = IniFile::parse(ini.toText());
    EXPECT_EQ(back.sectionNames(), QStringList{QStringLiteral("S")});
    EXPECT_EQ(back.value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("a  [T] b=c"));
}

TEST(IniFileTest, TypedReadersFallBackOnBadValues)
{
    const IniFile ini = IniFile::parse(text("[S]\nn= -12 \nbad=12a\nbig=99999999999\n"
                                            "f0=0\nf2=2\nfx=yes\n"));
    const QString s = QStringLiteral("S");
    EXPECT_EQ(ini.readInteger(s, QStringLiteral("n"), 7), -12);
    EXPECT_EQ(ini.readInteger(s, QStringLiteral("bad"), 7), 7);
    EXPECT_EQ(ini.readInteger(s, QStringLiteral("big"), 7), 7);
    EXPECT_EQ(ini.readInteger(s, QStringLiteral("missing"), 7), 7);
    EXPECT_FALSE(ini.readBool(s, QStringLiteral("f0"), true));
    EXPECT_TRUE(ini.readBool(s, QStringLiteral("f2"), false));
    EXPECT_TRUE(ini.readBool(s, QStringLiteral("fx"), true));
    EXPECT_FALSE(ini.readBool(s, QStringLiteral("fx"), false));
    EXPECT_EQ(ini.readString(s, QStringLiteral("missing"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST(IniFileTest, KeysAndKeyCountSkipLinesWithoutEquals)
{
    const IniFile ini = IniFile::parse(text("[S]\na=1\nnote\nb=2\n"));
    EXPECT_EQ(ini.keys(QStringLiteral("s")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(ini.keyCount(QStringLiteral("s")), 2);
    EXPECT_EQ(ini.keyCount(QStringLiteral("none")), 0);
}

// 100,000 keys in one section must parse, look up and rewrite without quadratic cost (which
// would take minutes here, not milliseconds).
TEST(IniFileTest, HundredThousandKeys)
{
    constexpr int n = 100000;
    QString file = QStringLiteral("[Big]\r\n");
    for (int i = 0; i < n; ++i)
        file += QStringLiteral("K%1=%2\r\n").arg(i).arg(i * 2);
    QElapsedTimer timer;
    timer.start();
    IniFile ini = IniFile::parse(file);
    for (int i = 0; i < n; ++i)
        ini.setValue(QStringLiteral("big"), QStringLiteral("k%1").arg(i), QString::number(i));
    ASSERT_EQ(ini.keyCount(QStringLiteral("Big")), n);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Big"), QStringLiteral("K99999"), -1), 99999);
    EXPECT_EQ(IniFile::parse(ini.toText()).keyCount(QStringLiteral("Big")), n);
    RecordProperty("elapsed_ms", static_cast<int>(timer.elapsed()));
}

} // namespace
} // namespace nobrisa
