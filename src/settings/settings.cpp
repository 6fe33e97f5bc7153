#include "settings/settings.h"

#include "settings/inifile.h"
#include "settings/linelist.h"
#include "settings/settingsfile.h"

#include <QFileInfo>

#include <array>
#include <limits>
#include <variant>

namespace nobrisa {
namespace {

const QString kSystem = QStringLiteral("System");
const QString kFile = QStringLiteral("File");
const QString kForm = QStringLiteral("Form");
const QString kPrinter = QStringLiteral("Printer");
const QString kTabSheet7 = QStringLiteral("TabSheet7");
const QString kTabSheet99 = QStringLiteral("TabSheet99");

// What System/Program always holds: the format's identifier, which no reader checks.
const QString kProgramId = QStringLiteral("ZENTORA");
// The format version written; readers compare it with kRightPayerFormatVersion.
const QString kWrittenVersion = QStringLiteral("4.3");

// The height a window gets when the stored one does not fit the screen.
constexpr int kFallbackHeight = 480;

// Form/State: 1 for a window shown normally (what every older file holds), 3 for a maximised
// one, as Windows numbers its show commands.
constexpr int kStateNormal = 1;
constexpr int kStateMaximized = 3;

using R = TSlipRecord;

// A slip field in the settings file. A QString member is a one-line text, or with `lines` set a
// multi-line field stored as a line list under the count key `key`.
struct SlipKey {
    const char* section;
    const char* key;
    std::variant<bool R::*, QString R::*, NumberText R::*> field;
    const char* readDefault; // UTF-8; for flags "0" or "1"
    bool lines = false;
};

// In the order of writing. Reading defaults differ from the record's initial values on purpose:
// a first start shows these.
const std::array<SlipKey, 33> kSlipKeys{{
    {"TabSheet1", "CheckBox1", &R::CheckBox1, "0"},
    {"TabSheet1", "Ekouza1", &R::Ekouza1, ""},
    {"TabSheet1", "Ekouza2", &R::Ekouza2, ""},
    {"TabSheet1", "Ekouza3", &R::Ekouza3, ""},
    {"TabSheet1", "CBfont1", &R::CBfont1, "ＭＳ ゴシック"},
    {"TabSheet1", "Ekanyucount", &R::Ekanyu, "", true},
    {"TabSheet1", "CBfont5", &R::CBfont5, "ＭＳ ゴシック"},
    {"TabSheet1", "SEfont5", &R::SEfont5, "10"},
    {"TabSheet1", "SEfont51", &R::SEfont51, "10"},
    {"TabSheet1", "CheckBoxfont5", &R::CheckBoxfont5, "0"},
    {"TabSheet1", "SpinEditFont1", &R::SpinEditFont1, "12"},
    {"TabSheet2", "CheckBox2", &R::CheckBox2, "0"},
    {"TabSheet2", "SEkingaku", &R::SEkingaku, "1000"},
    {"TabSheet2", "CBfont2", &R::CBfont2, "ＭＳ ゴシック"},
    {"TabSheet2", "SpinEditFont2", &R::SpinEditFont2, "12"},
    {"TabSheet3", "CheckBox3", &R::CheckBox3, "0"},
    {"TabSheet3", "MemoTsuushincount", &R::MemoTsuushin, "", true},
    {"TabSheet3", "CBfont3", &R::CBfont3, "ＭＳ 明朝"},
    {"TabSheet3", "SEfont3", &R::SEfont3, "10"},
    {"TabSheet4", "CheckBox4", &R::CheckBox4, "0"},
    {"TabSheet4", "Etele1", &R::Etele1, ""},
    {"TabSheet4", "Etele2", &R::Etele2, ""},
    {"TabSheet4", "Etele3", &R::Etele3, ""},
    {"TabSheet4", "Ezip", &R::Ezip, ""},
    {"TabSheet4", "CBfont4", &R::CBfont4, "ＭＳ ゴシック"},
    {"TabSheet4", "Maddres", &R::Maddres, "", true},
    {"TabSheet4", "SEfont4", &R::SEfont4, "11"},
    {"TabSheet4", "CheckBoxfont4", &R::CheckBoxfont4, "1"},
    {"TabSheet7", "CheckBox4R", &R::CheckBox4R, "1"},
    {"TabSheet7", "MaddresR", &R::MaddresR, "", true},
    // Written after the right-hand payer, yet part of the left-hand payer's section.
    {"TabSheet4", "SEfont41", &R::SEfont41, "11"},
    {"TabSheet99", "SEleftright", &R::SEleftright, "0"},
    {"TabSheet99", "SEtopbottom", &R::SEtopbottom, "0"},
}};

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

void readSlipKey(const IniFile& ini, const SlipKey& k, TSlipRecord& slip)
{
    const QString section = QString::fromLatin1(k.section);
    const QString key = QString::fromLatin1(k.key);
    const QString def = QString::fromUtf8(k.readDefault);
    std::visit(Overloaded{
                   [&](bool R::*f) { slip.*f = ini.readBool(section, key, def == u"1"); },
                   [&](QString R::*f) {
                       slip.*f = k.lines ? readLineList(ini, section, key)
                                         : ini.readString(section, key, def);
                   },
                   [&](NumberText R::*f) { (slip.*f).setText(ini.readString(section, key, def)); },
               },
               k.field);
}

void writeSlipKey(IniFile& ini, const SlipKey& k, const TSlipRecord& slip)
{
    const QString section = QString::fromLatin1(k.section);
    const QString key = QString::fromLatin1(k.key);
    std::visit(Overloaded{
                   [&](bool R::*f) { ini.writeBool(section, key, slip.*f); },
                   [&](QString R::*f) {
                       if (k.lines)
                           writeLineList(ini, section, key, slip.*f);
                       else
                           ini.setValue(section, key, slip.*f);
                   },
                   [&](NumberText R::*f) { ini.setValue(section, key, (slip.*f).text()); },
               },
               k.field);
}

// A stored edge or size that does not fit the screen is replaced, so that a file made on a
// larger screen cannot put the window out of reach.
WindowGeometry readGeometry(const IniFile& ini, const WindowGeometry& current, QSize screen)
{
    WindowGeometry g;
    g.left = ini.readInteger(kForm, QStringLiteral("Left"), current.left);
    if (g.left < 0 || g.left > screen.width())
        g.left = 0;
    g.top = ini.readInteger(kForm, QStringLiteral("Top"), current.top);
    if (g.top < 0 || g.top > screen.height())
        g.top = 0;
    g.width = ini.readInteger(kForm, QStringLiteral("Width"), current.width);
    if (g.width < 0 || g.width > screen.width())
        g.width = screen.width();
    g.height = ini.readInteger(kForm, QStringLiteral("Height"), current.height);
    if (g.height < 0 || g.height > screen.height())
        g.height = kFallbackHeight;
    g.maximized =
        ini.readInteger(kForm, QStringLiteral("State"),
                        current.maximized ? kStateMaximized : kStateNormal) == kStateMaximized;
    return g;
}

} // namespace

int formatVersion(const QString& versionText)
{
    const QString t = versionText.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    // Saturate rather than overflow: any huge version is simply "new".
    constexpr long long kLimit = std::numeric_limits<int>::max();
    long long whole = 0;
    int digits = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++digits)
        whole = std::min(whole * 10 + (t[i].unicode() - u'0'), kLimit);
    int tenth = 0;
    if (i < t.size() && (t[i] == u'.' || t[i] == u',')) {
        ++i;
        for (int fraction = 0; i < t.size() && t[i].isDigit() && t[i].unicode() < 128;
             ++i, ++fraction, ++digits) {
            if (fraction == 0)
                tenth = t[i].unicode() - u'0';
        }
    }
    if (digits == 0 || i != t.size())
        return 0;
    const int version = static_cast<int>(std::min(whole * 10 + tenth, kLimit));
    return negative ? -version : version;
}

QString captionFor(const QString& fileName, const QString& appIniPath)
{
    if (fileName == appIniPath)
        return QStringLiteral("Nobrisa");
    return QStringLiteral("Nobrisa　－　") + QFileInfo(fileName).completeBaseName();
}

bool LoadSettings(const QString& fileName, SettingsState& state, const SettingsEnvironment& env,
                  QString* error)
{
    IniFile ini;
    if (!readIniFile(fileName, ini, error))
        return false;
    readSettings(ini, fileName, state, env);
    return true;
}

void readSettings(const IniFile& ini, const QString& fileName, SettingsState& state,
                  const SettingsEnvironment& env)
{
    state.saveDialogFileName.clear();
    state.openDialogFileName.clear();
    state.saveDialogDir = ini.readString(kFile, QStringLiteral("Dir"), state.saveDialogDir);
    state.openDialogDir = ini.readString(kFile, QStringLiteral("Open_Dir"), state.openDialogDir);
    state.namingBySubscriber = ini.readBool(kFile, QStringLiteral("Opt"), true);

    const int version =
        formatVersion(ini.readString(kSystem, QStringLiteral("Version"), QStringLiteral("0.0")));
    state.geometry = readGeometry(ini, state.geometry, env.screenSize);
    // The key says the opposite of what it means: 1 is portrait. Existing files rely on it.
    state.orientation = ini.readBool(kPrinter, QStringLiteral("LandScape"), true)
                            ? Orientation::Portrait
                            : Orientation::Landscape;

    const bool hasRightPayer = version >= kRightPayerFormatVersion;
    for (const SlipKey& k : kSlipKeys) {
        if (!hasRightPayer && kTabSheet7 == QLatin1String(k.section))
            continue;
        readSlipKey(ini, k, state.slip);
    }
    if (!hasRightPayer) {
        // Older files printed the left-hand payer on both halves.
        state.slip.CheckBox4R = state.slip.CheckBox4;
        state.slip.MaddresR = state.slip.Maddres;
    }

    if (fileName != env.appIniPath)
        state.caption = captionFor(fileName, env.appIniPath);
}

bool SaveSettings(const QString& fileName, SettingsState& state, const TPrintPositions& positions,
                  const SettingsEnvironment& env, QString* error)
{
    // Merge into what the file holds: the registered lists and any other section stay.
    IniFile ini;
    if (!readIniFileForUpdate(fileName, ini, error))
        return false;

    ini.setValue(kSystem, QStringLiteral("Program"), kProgramId);
    ini.setValue(kSystem, QStringLiteral("Version"), kWrittenVersion);
    ini.setValue(kSystem, QStringLiteral("Date"),
                 env.locale.toString(env.now.date(), QLocale::ShortFormat));
    // Formatted from the date-time, not its time alone, so the zone shown is the one of `now`.
    ini.setValue(kSystem, QStringLiteral("Time"),
                 env.locale.toString(env.now, env.locale.timeFormat(QLocale::LongFormat)));

    ini.setValue(kFile, QStringLiteral("Save"), state.saveDialogFileName);
    ini.setValue(kFile, QStringLiteral("Dir"), state.saveDialogDir);
    ini.setValue(kFile, QStringLiteral("Open"), state.openDialogFileName);
    ini.setValue(kFile, QStringLiteral("Open_Dir"), state.openDialogDir);
    ini.writeBool(kFile, QStringLiteral("Opt"), state.namingBySubscriber);

    ini.writeInteger(kForm, QStringLiteral("Left"), state.geometry.left);
    ini.writeInteger(kForm, QStringLiteral("Top"), state.geometry.top);
    ini.writeInteger(kForm, QStringLiteral("Width"), state.geometry.width);
    ini.writeInteger(kForm, QStringLiteral("Height"), state.geometry.height);
    ini.writeInteger(kForm, QStringLiteral("Pixelsperinch"), state.pixelsPerInch);
    ini.writeInteger(kForm, QStringLiteral("State"),
                     state.geometry.maximized ? kStateMaximized : kStateNormal);

    ini.writeBool(kPrinter, QStringLiteral("LandScape"),
                  state.orientation == Orientation::Portrait);

    for (const SlipKey& k : kSlipKeys)
        writeSlipKey(ini, k, state.slip);
    for (const TPrintPositions::Entry& e : TPrintPositions::entries())
        ini.setValue(kTabSheet99, QString::fromLatin1(e.key), (positions.*e.field).text());

    if (!writeIniFile(fileName, ini, error))
        return false;
    state.caption = captionFor(fileName, env.appIniPath);
    return true;
}

bool LoadPrintPositions(const QString& fileName, TPrintPositions& positions, QString* error)
{
    IniFile ini;
    if (!readIniFile(fileName, ini, error))
        return false;
    readPrintPositions(ini, positions);
    return true;
}

void readPrintPositions(const IniFile& ini, TPrintPositions& positions)
{
    for (const TPrintPositions::Entry& e : TPrintPositions::entries()) {
        (positions.*e.field)
            .setText(ini.readString(kTabSheet99, QString::fromLatin1(e.key),
                                    QString::number(e.standard)));
    }
}

} // namespace nobrisa
