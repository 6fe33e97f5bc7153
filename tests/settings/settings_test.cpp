#include "settings/settings.h"

#include "settings/inifile.h"
#include "text/encoding.h"
#include "text/lines.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace nobrisa {
namespace {

const QString kDataDir = QStringLiteral(NOBRISA_TEST_DATA "/ini/");

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

void writeUtf8(const QString& path, const char* text)
{
    writeBytes(path, QByteArray(text));
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mEnv.appIniPath = path(QStringLiteral("nobrisa.ini"));
        mEnv.screenSize = QSize(1920, 1080);
        mEnv.now = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3), QTimeZone::utc());
        mEnv.locale = QLocale(QLocale::Japanese, QLocale::Japan);
    }

    QString path(const QString& name) const { return mDir.filePath(name); }

    SettingsState load(const QString& file)
    {
        SettingsState state;
        QString error;
        EXPECT_TRUE(LoadSettings(file, state, mEnv, &error)) << error.toStdString();
        return state;
    }

    SettingsState loadText(const char* utf8)
    {
        const QString file = path(QStringLiteral("in.dat"));
        writeUtf8(file, utf8);
        return load(file);
    }

    // Distinct values in every field, with the awkward cases: twelve subscriber lines (two-digit
    // and plain line keys), blanks at line ends, an empty middle line, an empty font, a size that
    // is no number, landscape, characters outside JIS X 0208.
    static SettingsState knownState()
    {
        SettingsState s;
        TSlipRecord& r = s.slip;
        r.CheckBox1 = true;
        r.Ekouza1 = QStringLiteral("00120");
        r.Ekouza2 = QStringLiteral("6");
        r.Ekouza3 = QStringLiteral("12345");
        r.CBfont1 = QStringLiteral("OCRB");
        QStringList names{QStringLiteral("株式会社　見本"), QStringLiteral("  two blanks  ")};
        for (int i = 2; i < 12; ++i)
            names.append(QStringLiteral("l%1").arg(i));
        r.Ekanyu = joinLines(names);
        r.CBfont5 = QStringLiteral("ＭＳ 明朝");
        r.SEfont5.setText(QStringLiteral("18"));
        r.SEfont51.setText(QStringLiteral("16"));
        r.CheckBoxfont5 = true;
        r.SpinEditFont1.setText(QStringLiteral("11"));
        r.CheckBox2 = true;
        r.SEkingaku.setText(QStringLiteral("12000"));
        r.CBfont2 = QStringLiteral("OCRB");
        r.SpinEditFont2.setText(QStringLiteral("10"));
        r.CheckBox3 = false;
        r.MemoTsuushin = QStringLiteral("会費（4月～6月分）\r\n①②");
        r.CBfont3 = QStringLiteral("ＭＳ Ｐ明朝");
        r.SEfont3.setText(QStringLiteral("9"));
        r.CheckBox4 = true;
        r.Etele1 = QStringLiteral("03");
        r.Etele2 = QStringLiteral("1234");
        r.Etele3 = QStringLiteral("5678");
        r.Ezip = QStringLiteral("123-4567");
        r.CBfont4 = QString();
        r.Maddres = QStringLiteral("東京都千代田区１－２－３\r\n\r\n髙橋　表子");
        r.SEfont4.setText(QStringLiteral("abc"));
        r.CheckBoxfont4 = false;
        r.CheckBox4R = true;
        r.MaddresR = QStringLiteral("髙橋　表子　様");
        r.SEfont41.setText(QStringLiteral("10"));
        r.SEleftright.setText(QStringLiteral("-15"));
        r.SEtopbottom.setText(QStringLiteral("20"));
        s.namingBySubscriber = false;
        s.saveDialogFileName = QStringLiteral("/home/user/書類/Kaigi.dat");
        s.saveDialogDir = QStringLiteral("/home/user/書類");
        s.openDialogFileName = QString();
        s.openDialogDir = QStringLiteral("/home/user");
        s.geometry = WindowGeometry{120, 80, 1024, 700};
        s.pixelsPerInch = 96;
        s.orientation = Orientation::Landscape;
        return s;
    }

    static TPrintPositions knownPositions()
    {
        TPrintPositions p;
        p.SEkouza2.setText(QStringLiteral("285"));
        return p;
    }

    QTemporaryDir mDir;
    SettingsEnvironment mEnv;
};

TEST_F(SettingsTest, FirstStartWithoutFileGivesReadDefaults)
{
    SettingsState s = knownState(); // whatever the record held before is replaced
    ASSERT_TRUE(LoadSettings(path(QStringLiteral("missing.ini")), s, mEnv, nullptr));
    const TSlipRecord& r = s.slip;
    const QString gothic = QStringLiteral("ＭＳ ゴシック");
    EXPECT_FALSE(r.CheckBox1 || r.CheckBox2 || r.CheckBox3 || r.CheckBox4);
    EXPECT_FALSE(r.CheckBox4R) << "no version: the right payer copies the left one";
    EXPECT_FALSE(r.CheckBoxfont5);
    EXPECT_TRUE(r.CheckBoxfont4);
    for (const QString* t : {&r.Ekouza1, &r.Ekouza2, &r.Ekouza3, &r.Ekanyu, &r.MemoTsuushin,
                             &r.Ezip, &r.Maddres, &r.MaddresR, &r.Etele1, &r.Etele2, &r.Etele3})
        EXPECT_TRUE(t->isEmpty());
    EXPECT_EQ(r.SEkingaku.text(), QStringLiteral("1000"));
    for (const QString* f : {&r.CBfont1, &r.CBfont2, &r.CBfont4, &r.CBfont5})
        EXPECT_EQ(*f, gothic);
    EXPECT_EQ(r.CBfont3, QStringLiteral("ＭＳ 明朝"));
    const std::pair<const NumberText*, const char*> sizes[] = {
        {&r.SpinEditFont1, "12"}, {&r.SEfont5, "10"},    {&r.SEfont51, "10"},
        {&r.SpinEditFont2, "12"}, {&r.SEfont3, "10"},    {&r.SEfont4, "11"},
        {&r.SEfont41, "11"},      {&r.SEleftright, "0"}, {&r.SEtopbottom, "0"}};
    for (const auto& [number, text] : sizes)
        EXPECT_EQ(number->text(), QLatin1String(text));
    EXPECT_EQ(s.orientation, Orientation::Portrait);
    EXPECT_TRUE(s.namingBySubscriber);

    TPrintPositions positions;
    for (const auto& e : TPrintPositions::entries())
        (positions.*e.field).setText(QStringLiteral("1"));
    QString error;
    ASSERT_TRUE(LoadPrintPositions(path(QStringLiteral("missing.ini")), positions, &error));
    for (const auto& e : TPrintPositions::entries())
        EXPECT_EQ((positions.*e.field).text(), QString::number(e.standard)) << e.key;
}

TEST_F(SettingsTest, NewFileMatchesGolden)
{
    SettingsState state = knownState();
    const QString file = path(QStringLiteral("Kaigi.dat"));
    QString error;
    ASSERT_TRUE(SaveSettings(file, state, knownPositions(), mEnv, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(file),
              readBytes(kDataDir + QStringLiteral("new_file_from_known_state.ini")));
    EXPECT_EQ(state.caption, QStringLiteral("Nobrisa　－　Kaigi"));
}

// Merging keeps registered lists, unknown keys, lines without "=" and stale line keys; drops
// comments and lines outside sections; replaces keys in place, also those spelled in another case,
// giving them and their sections the spelling of the settings table (ekouza1, [tabsheet99],
// SEKANYULLEFT); appends new keys and sections.
TEST_F(SettingsTest, MergeIntoExistingFileMatchesGolden)
{
    const QString file = path(QStringLiteral("nobrisa.ini"));
    writeBytes(file, readBytes(kDataDir + QStringLiteral("merge_existing_before_cp932.ini")));
    SettingsState state = knownState();
    state.slip.Ekanyu = QStringLiteral("new1\r\nnew2");
    state.caption = QStringLiteral("Nobrisa　－　Old");
    QString error;
    ASSERT_TRUE(SaveSettings(file, state, knownPositions(), mEnv, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(file), readBytes(kDataDir + QStringLiteral("merge_existing_after.ini")));
    EXPECT_EQ(state.caption, QStringLiteral("Nobrisa")) << "saving the application INI file";

    // The field shrank from five lines to two: the stale keys stay, the count hides them.
    const SettingsState back = load(file);
    EXPECT_EQ(back.slip.Ekanyu, QStringLiteral("new1\r\nnew2"));
}

TEST_F(SettingsTest, SaveThenLoadRestoresEveryField)
{
    SettingsState saved = knownState();
    const QString file = path(QStringLiteral("round.dat"));
    QString error;
    ASSERT_TRUE(SaveSettings(file, saved, knownPositions(), mEnv, &error));
    SettingsState loaded;
    ASSERT_TRUE(LoadSettings(file, loaded, mEnv, &error));
    const TSlipRecord& a = saved.slip;
    const TSlipRecord& b = loaded.slip;
    EXPECT_EQ(b.Ekanyu, a.Ekanyu);
    EXPECT_EQ(b.MemoTsuushin, a.MemoTsuushin);
    EXPECT_EQ(b.Maddres, a.Maddres);
    EXPECT_EQ(b.MaddresR, a.MaddresR);
    EXPECT_EQ(b.CBfont4, QString()) << "an empty face stays empty, not the default";
    EXPECT_EQ(b.SEfont4.text(), QStringLiteral("abc"));
    EXPECT_EQ(b.SEleftright.text(), QStringLiteral("-15"));
    EXPECT_EQ(std::tie(b.CheckBox1, b.CheckBox2, b.CheckBox3, b.CheckBox4, b.CheckBox4R,
                       b.CheckBoxfont4, b.CheckBoxfont5),
              std::tie(a.CheckBox1, a.CheckBox2, a.CheckBox3, a.CheckBox4, a.CheckBox4R,
                       a.CheckBoxfont4, a.CheckBoxfont5));
    EXPECT_EQ(loaded.geometry, saved.geometry);
    EXPECT_EQ(loaded.orientation, Orientation::Landscape);
    EXPECT_FALSE(loaded.namingBySubscriber);
    EXPECT_EQ(loaded.saveDialogDir, saved.saveDialogDir);
    EXPECT_EQ(loaded.openDialogDir, saved.openDialogDir);
    EXPECT_TRUE(loaded.saveDialogFileName.isEmpty());
}

class SettingsEncodingTest : public SettingsTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(SettingsEncodingTest, ReadsJapaneseText)
{
    const SettingsState s = load(kDataDir + QLatin1String(GetParam()));
    EXPECT_EQ(s.slip.Ekouza1, QStringLiteral("00120"));
    EXPECT_EQ(s.slip.Ekanyu, QStringLiteral("髙橋　表\r\n ①～－ソ "));
    EXPECT_EQ(s.saveDialogDir, QStringLiteral("C:\\Users\\表\\書類"));
    EXPECT_EQ(s.slip.MaddresR, QStringLiteral("表"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsEncodingTest,
    ::testing::Values("read_utf8_bom.ini", "read_utf16be.ini", "read_cp932.ini"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        return QString::fromLatin1(info.param).section(u'.', 0, 0).toStdString();
    });

// Only files in the legacy ANSI form carry no mark, so such a file is CP932 also where its bytes
// happen to be valid UTF-8: half-width ﾅｶﾐｷ (C5 B6 D0 B7) must not become «Ŷз».
TEST_F(SettingsTest, FileWithoutMarkIsCp932EvenWhenItIsValidUtf8)
{
    const SettingsState legacy =
        loadText("[TabSheet1]\r\nEkanyucount=2\r\nLine00=#\xC5\xB6\xD0\xB7#\r\n"
                 "Line01=#\xC6\xBC \xC5\xB6#\r\n");
    EXPECT_EQ(legacy.slip.Ekanyu, QStringLiteral("ﾅｶﾐｷ\r\nﾆｼ ﾅｶ"));
    const SettingsState utf8 = load(kDataDir + QStringLiteral("read_utf8_without_bom.ini"));
    EXPECT_EQ(utf8.slip.Ekouza1, QStringLiteral("00120"));
    EXPECT_EQ(utf8.slip.MaddresR, decodeCp932(QStringLiteral("表").toUtf8()));
}

TEST(FormatVersionTest, ParsesDecimalTimesTenTruncated)
{
    const std::pair<const char*, int> cases[] = {
        {"4.3", 43}, {"4,3", 43},   {"4.0", 40},    {"4", 40},     {"3.99", 39},
        {"3.9", 39}, {" 4.3 ", 43}, {"10.25", 102}, {"", 0},       {"abc", 0},
        {"4.3a", 0}, {"4..3", 0},   {".", 0},       {"-1.5", -15}, {"99999999999.9", 2147483647}};
    for (const auto& [text, version] : cases)
        EXPECT_EQ(formatVersion(QString::fromLatin1(text)), version) << text;
}

struct VersionCase {
    const char* name;
    const char* versionLine;
    bool rightPayerRead;
};

class RightPayerVersionTest : public SettingsTest,
                              public ::testing::WithParamInterface<VersionCase> {};

TEST_P(RightPayerVersionTest, OldFilesCopyTheLeftPayer)
{
    const QByteArray file = QByteArray("[System]\n") + GetParam().versionLine +
                            "\n[TabSheet4]\nCheckBox4=0\nMaddres=1\nLine00=#left#\n"
                            "[TabSheet7]\nCheckBox4R=1\nMaddresR=1\nLine00=#right#\n";
    const SettingsState s = loadText(file.constData());
    if (GetParam().rightPayerRead) {
        EXPECT_TRUE(s.slip.CheckBox4R);
        EXPECT_EQ(s.slip.MaddresR, QStringLiteral("right"));
    } else {
        EXPECT_FALSE(s.slip.CheckBox4R);
        EXPECT_EQ(s.slip.MaddresR, QStringLiteral("left"));
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, RightPayerVersionTest,
                         ::testing::Values(VersionCase{"missing", "", false},
                                           VersionCase{"v3_9", "Version=3.9", false},
                                           VersionCase{"unparsable", "Version=four", false},
                                           VersionCase{"v4_0", "Version=4.0", true},
                                           VersionCase{"v4_3_comma", "Version=4,3", true},
                                           VersionCase{"v5", "Version=5", true}),
                         [](const ::testing::TestParamInfo<VersionCase>& info) {
                             return info.param.name;
                         });

TEST_F(SettingsTest, LandScapeKeyMeansPortrait)
{
    EXPECT_EQ(loadText("[Printer]\nLandScape=1\n").orientation, Orientation::Portrait);
    EXPECT_EQ(loadText("[Printer]\nLandScape=0\n").orientation, Orientation::Landscape);
    EXPECT_EQ(loadText("[Printer]\nLandScape=x\n").orientation, Orientation::Portrait);

    SettingsState state;
    state.orientation = Orientation::Landscape;
    const QString file = path(QStringLiteral("o.dat"));
    ASSERT_TRUE(SaveSettings(file, state, TPrintPositions(), mEnv, nullptr));
    IniFile ini = IniFile::fromBytes(readBytes(file));
    EXPECT_EQ(ini.value(QStringLiteral("Printer"), QStringLiteral("LandScape")),
              QStringLiteral("0"));
}

struct GeometryCase {
    const char* name;
    const char* form;
    WindowGeometry expected;
};

class GeometryTest : public SettingsTest, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(GeometryTest, ClampsToTheScreen)
{
    const QString file = path(QStringLiteral("g.dat"));
    writeBytes(file, QByteArray("[Form]\n") + GetParam().form);
    SettingsState state;
    state.geometry = WindowGeometry{10, 20, 300, 400}; // the window as it is now
    ASSERT_TRUE(LoadSettings(file, state, mEnv, nullptr));
    EXPECT_EQ(state.geometry, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Form, GeometryTest,
    ::testing::Values(
        GeometryCase{"missing_keys_keep_current", "", {10, 20, 300, 400}},
        GeometryCase{"inside", "Left=5\nTop=6\nWidth=700\nHeight=500\n", {5, 6, 700, 500}},
        GeometryCase{"negative_left", "Left=-5\n", {0, 20, 300, 400}},
        GeometryCase{"left_beyond_screen", "Left=1921\nTop=1081\n", {0, 0, 300, 400}},
        GeometryCase{"edges_on_screen_border", "Left=1920\nTop=1080\n", {1920, 1080, 300, 400}},
        GeometryCase{"too_wide", "Width=5000\n", {10, 20, 1920, 400}},
        GeometryCase{"negative_width", "Width=-1\n", {10, 20, 1920, 400}},
        GeometryCase{"negative_height", "Height=-1\n", {10, 20, 300, 480}},
        GeometryCase{"too_high", "Height=2000\n", {10, 20, 300, 480}},
        GeometryCase{"not_numbers", "Left=x\nWidth=1e3\n", {10, 20, 300, 400}},
        GeometryCase{"maximised", "Left=5\nState=3\n", {5, 20, 300, 400, true}},
        GeometryCase{"other_state_is_normal", "State=2\n", {10, 20, 300, 400, false}}),
    [](const ::testing::TestParamInfo<GeometryCase>& info) { return info.param.name; });

// Catches: the date written in the desktop's language ("9 Dec 2026", "12/9/26") although the
// program speaks Japanese everywhere else.
TEST_F(SettingsTest, DateIsWrittenInTheJapaneseShortFormatWhateverTheDesktopLanguage)
{
    SettingsEnvironment env; // as the window passes it: no locale of its own choosing
    env.now = QDateTime(QDate(2026, 12, 9), QTime(7, 5, 3));
    SettingsState state;
    const QString file = path(QStringLiteral("d.dat"));
    ASSERT_TRUE(SaveSettings(file, state, TPrintPositions(), env, nullptr));
    EXPECT_EQ(
        IniFile::fromBytes(readBytes(file)).value(QStringLiteral("System"), QStringLiteral("Date")),
        QStringLiteral("2026/12/09"));
}

TEST_F(SettingsTest, LoadSettingsReadsOnlyTheAdjustmentOfTabSheet99)
{
    const QString file = path(QStringLiteral("pos.dat"));
    writeUtf8(file, "[TabSheet99]\nSEleftright=-30\nSEtopbottom=abc\nSEzipleft=999\n"
                    "sekanyullEFT=12\n");
    const SettingsState s = load(file);
    EXPECT_EQ(s.slip.SEleftright.text(), QStringLiteral("-30"));
    EXPECT_EQ(s.slip.SEtopbottom.text(), QStringLiteral("abc")) << "stored as text, unchanged";
    EXPECT_EQ(s.slip.ox(), -30);

    TPrintPositions positions;
    ASSERT_TRUE(LoadPrintPositions(file, positions, nullptr));
    EXPECT_EQ(positions.SEzipleft.text(), QStringLiteral("999"));
    EXPECT_EQ(positions.SEkanyuLleft.text(), QStringLiteral("12")) << "key SEkanyuLLeft";
    EXPECT_EQ(positions.SEziptop.text(), QStringLiteral("700"));
}

TEST_F(SettingsTest, CaptionRule)
{
    QDir().mkpath(path(QStringLiteral("sub/dir")));
    const QString kaigi = path(QStringLiteral("sub/dir/Kaigi.dat"));
    writeUtf8(kaigi, "");
    SettingsState state;
    state.caption = QStringLiteral("before");
    ASSERT_TRUE(LoadSettings(kaigi, state, mEnv, nullptr));
    EXPECT_EQ(state.caption, QStringLiteral("Nobrisa　－　Kaigi"));

    state.caption = QStringLiteral("before");
    ASSERT_TRUE(LoadSettings(mEnv.appIniPath, state, mEnv, nullptr));
    EXPECT_EQ(state.caption, QStringLiteral("before")) << "loading the application INI file";

    EXPECT_EQ(captionFor(QStringLiteral("/a/b.c/x.y.dat"), mEnv.appIniPath),
              QStringLiteral("Nobrisa　－　x.y"));
    // Exact string comparison: another spelling of the same file is a setting file.
    EXPECT_EQ(captionFor(mEnv.appIniPath, mEnv.appIniPath), QStringLiteral("Nobrisa"));
    EXPECT_EQ(captionFor(path(QStringLiteral("./nobrisa.ini")), mEnv.appIniPath),
              QStringLiteral("Nobrisa　－　nobrisa"));
}

TEST_F(SettingsTest, BrokenFilesNeverFail)
{
    const std::pair<const char*, QByteArray> files[] = {
        {"odd_utf16", QByteArray("\xFF\xFE[\0S\0]\0\n", 9)},
        {"invalid_sjis", QByteArray("[TabSheet1]\nEkouza1=\x81\x20\xFF\x85\n")},
        {"huge_count", QByteArray("[TabSheet1]\nEkanyucount=2000000000\n"
                                  "[TabSheet3]\nMemoTsuushincount=99999999999\n")},
        {"sizes_not_numbers", QByteArray("[TabSheet1]\nSEfont5=big\n[Form]\nWidth=\n")},
        {"nul_bytes", QByteArray("[Tab\0Sheet1]\n\0=\0\n", 17)}};
    for (const auto& [name, bytes] : files) {
        const QString file = path(QLatin1String(name));
        writeBytes(file, bytes);
        SettingsState state;
        EXPECT_TRUE(LoadSettings(file, state, mEnv, nullptr)) << name;
        EXPECT_LT(state.slip.Ekanyu.size(), 100000) << name;
    }
}

TEST_F(SettingsTest, UnreadableFileIsAnErrorNamingTheFile)
{
    const QString folder = path(QStringLiteral("folder.dat"));
    QDir().mkpath(folder);
    SettingsState state = knownState();
    QString error;
    EXPECT_FALSE(LoadSettings(folder, state, mEnv, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(folder))) << error.toStdString();
    EXPECT_EQ(state.slip.Ekouza1, QStringLiteral("00120")) << "state untouched";
}

// Tests run as root, so permissions cannot make a write fail; a path below a regular file and
// a folder in the file's place can.
TEST_F(SettingsTest, WriteFailureKeepsOldFileAndNamesIt)
{
    const QString blocker = path(QStringLiteral("blocker"));
    writeUtf8(blocker, "old content");
    const QString folder = path(QStringLiteral("folder.ini"));
    QDir().mkpath(folder);
    for (const QString& target : {blocker + QStringLiteral("/x.ini"), folder}) {
        SettingsState state;
        state.caption = QStringLiteral("unchanged");
        QString error;
        EXPECT_FALSE(SaveSettings(target, state, TPrintPositions(), mEnv, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("保存できません"))) << error.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(target))) << error.toStdString();
        EXPECT_EQ(state.caption, QStringLiteral("unchanged"));
    }
    EXPECT_EQ(readBytes(blocker), QByteArray("old content"));
    EXPECT_TRUE(QDir(folder).isEmpty());
}

#ifdef Q_OS_LINUX
// A write that fails half-way (here: a file size limit, like a full disk) must leave the
// previous settings file exactly as it was.
TEST_F(SettingsTest, FailedWriteHalfWayLeavesOldFileIntact)
{
    const QString file = path(QStringLiteral("nobrisa.ini"));
    const QByteArray old = readBytes(kDataDir + QStringLiteral("merge_existing_before_cp932.ini"));
    writeBytes(file, old);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    SettingsState state = knownState();
    QString error;
    const bool ok = SaveSettings(file, state, knownPositions(), mEnv, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(file))) << error.toStdString();
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("nobrisa.ini")})
        << "no temporary file left behind";
}
#endif

TEST_F(SettingsTest, HundredThousandLineFieldRoundTrips)
{
    QStringList lines;
    for (int i = 0; i < 100000; ++i)
        lines.append(QStringLiteral("行 %1").arg(i));
    SettingsState state;
    state.slip.MemoTsuushin = joinLines(lines);
    const QString file = path(QStringLiteral("big.dat"));
    ASSERT_TRUE(SaveSettings(file, state, TPrintPositions(), mEnv, nullptr));
    const SettingsState back = load(file);
    EXPECT_EQ(back.slip.MemoTsuushin, state.slip.MemoTsuushin);
}

} // namespace
} // namespace nobrisa
