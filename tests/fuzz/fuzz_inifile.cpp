// The settings file reader: any bytes parse, what is written reads back as written, and the
// settings and print positions load from whatever was read.
#include "fuzzcheck.h"

#include "model/tprintpositions.h"
#include "settings/inifile.h"
#include "settings/settings.h"
#include "text/encoding.h"

#include <QDateTime>
#include <QTimeZone>

using namespace nobrisa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const IniFile ini = IniFile::fromBytes(fuzz::bytesOf(data, size));

    // Written out, the file reads back to the same text, in memory and as bytes.
    const QString text = ini.toText();
    fuzz::check(IniFile::parse(text).toText() == text, "text round trip", text);
    fuzz::check(decodeSettingsText(ini.toBytes()) == text, "byte round trip", text);

    int keyLines = 0;
    for (const QString& section : ini.sectionNames()) {
        fuzz::check(ini.hasSection(section), "listed section found", section);
        const QStringList keys = ini.keys(section);
        fuzz::check(keys.size() == ini.keyCount(section), "key count", section);
        for (const QString& key : keys) {
            fuzz::check(ini.hasKey(section, key) && ini.value(section, key).has_value(),
                        "listed key found", section + u'/' + key);
            ini.readInteger(section, key, 0);
        }
        keyLines += static_cast<int>(keys.size());
    }
    fuzz::check(keyLines <= text.size(), "no more keys than characters");

    // A value set reads back with its line breaks as blanks.
    IniFile changed = ini;
    QString value = text.left(40);
    changed.setValue(QStringLiteral("TabSheet1"), QStringLiteral("Ekanyu"), value);
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    fuzz::check(changed.value(QStringLiteral("tabsheet1"), QStringLiteral("EKANYU")) == value,
                "set value reads back", value);

    static const SettingsEnvironment env = [] {
        SettingsEnvironment e;
        e.appIniPath = QStringLiteral("/home/user/.config/Nobrisa/nobrisa.ini");
        e.now = QDateTime(QDate(2026, 12, 9), QTime(21, 0), QTimeZone::utc());
        return e;
    }();
    SettingsState state;
    readSettings(ini, QStringLiteral("/home/user/slip.dat"), state, env);
    fuzz::check(state.geometry.width >= 0 && state.geometry.width <= env.screenSize.width() &&
                    state.geometry.height >= 0 && state.geometry.height <= env.screenSize.height(),
                "window geometry on the screen");
    TPrintPositions positions;
    readPrintPositions(ini, positions);
    return 0;
}
