#include "aids/registeredlist.h"

#include "settings/inifile.h"
#include "settings/linelist.h"
#include "settings/settingsfile.h"

#include <algorithm>
#include <array>

namespace nobrisa {
namespace {

using Field = RegisteredList::Field;

const std::array<Field, 6> kPayerFields{{
    {"Ezip", "Zip_", nullptr},
    {"Etele1", "Tel1_", nullptr},
    {"Etele2", "Tel2_", nullptr},
    {"Etele3", "Tel3_", nullptr},
    {"Maddres", "Acount_", "Line_"},
    {"MaddresR", "Bcount_", "LineR_"},
}};

const std::array<Field, 4> kSubscriberFields{{
    {"Ekouza1", "Kou1_", nullptr},
    {"Ekouza2", "Kou2_", nullptr},
    {"Ekouza3", "Kou3_", nullptr},
    {"Ekanyu", "KAcount_", "KLine_"},
}};

const QString kCount = QStringLiteral("count");
const QString kName = QStringLiteral("Name_");

// Lines of a multi-line field past every key of the section are empty; a line count far beyond
// the keys is cut to this many more when an entry is copied, as the reader cuts it too.
constexpr int kSpareLines = 1000;

QString keyOf(const char* prefix, int index)
{
    return QLatin1String(prefix) + QString::number(index);
}

// The entry index a key of the list names: the digits after its last "_" (up to a "-" in a line
// key); -1 for "count" and for keys of no entry.
int entryIndexOf(const QString& key)
{
    const qsizetype underscore = key.lastIndexOf(u'_');
    if (underscore < 0)
        return -1;
    QStringView digits = QStringView(key).sliced(underscore + 1);
    const qsizetype dash = digits.indexOf(u'-');
    if (dash >= 0)
        digits = digits.first(dash);
    bool ok = false;
    const int index = digits.toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

} // namespace

RegisteredList::RegisteredList(Kind kind) noexcept
    : mKind(kind)
{
}

QString RegisteredList::section() const
{
    return mKind == Kind::Payers ? QStringLiteral("Touroku") : QStringLiteral("TourokuK");
}

std::span<const Field> RegisteredList::fields() const noexcept
{
    if (mKind == Kind::Payers)
        return kPayerFields;
    return kSubscriberFields;
}

QString RegisteredList::lineKey(const Field& field, int index, int line) const
{
    return QLatin1String(field.lineKey) + QString::number(index) + u'-' + QString::number(line);
}

int RegisteredList::count(const IniFile& ini) const
{
    const int stored = ini.readInteger(section(), kCount, 0);
    if (stored <= 0)
        return 0;
    int highest = -1;
    for (const QString& key : ini.keys(section()))
        highest = std::max(highest, entryIndexOf(key));
    return std::min(stored, highest + 1);
}

QStringList RegisteredList::names(const IniFile& ini, int count) const
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << ini.readString(section(), keyOf("Name_", i), QString());
    return result;
}

QStringList RegisteredList::values(const IniFile& ini, int index) const
{
    QStringList result;
    for (const Field& f : fields()) {
        if (f.lineKey == nullptr) {
            result << ini.readString(section(), keyOf(f.key, index), QString());
        } else {
            result << readLineList(ini, section(), keyOf(f.key, index),
                                   [&](int line) { return lineKey(f, index, line); });
        }
    }
    return result;
}

void RegisteredList::write(IniFile& ini, int index, int count, const QString& name,
                           const QStringList& values) const
{
    ini.writeInteger(section(), kCount, count);
    ini.setValue(section(), kName + QString::number(index), name);
    const std::span<const Field> all = fields();
    for (std::size_t n = 0; n < all.size(); ++n) {
        const Field& f = all[n];
        const QString value = static_cast<qsizetype>(n) < values.size() ? values[n] : QString();
        if (f.lineKey == nullptr) {
            ini.setValue(section(), keyOf(f.key, index), value);
        } else {
            writeLineList(ini, section(), keyOf(f.key, index), value,
                          [&](int line) { return lineKey(f, index, line); });
        }
    }
}

int RegisteredList::remove(IniFile& ini, int index, int count) const
{
    if (index < 0 || index >= count)
        return count;
    const QString s = section();
    for (int i = index + 1; i < count; ++i) {
        ini.setValue(s, keyOf("Name_", i - 1), ini.readString(s, keyOf("Name_", i), QString()));
        for (const Field& f : fields()) {
            if (f.lineKey == nullptr) {
                ini.setValue(s, keyOf(f.key, i - 1), ini.readString(s, keyOf(f.key, i), QString()));
                continue;
            }
            const int lines = ini.readInteger(s, keyOf(f.key, i), 0);
            ini.writeInteger(s, keyOf(f.key, i - 1), lines);
            const int copied = std::min(lines, ini.keyCount(s) + kSpareLines);
            for (int j = 0; j < copied; ++j) {
                // A missing line reads as empty: the key below is emptied too, where it holds a
                // stale line of its own.
                const QString from = lineKey(f, i, j);
                const QString to = lineKey(f, i - 1, j);
                if (ini.hasKey(s, from) || ini.hasKey(s, to))
                    ini.setValue(s, to, ini.readString(s, from, QString()));
            }
        }
    }
    ini.writeInteger(s, kCount, count - 1);
    return count - 1;
}

bool RegisteredList::writeToFile(const QString& fileName, int index, int count, const QString& name,
                                 const QStringList& values, QString* error) const
{
    IniFile ini;
    if (!readIniFileForUpdate(fileName, ini, error))
        return false;
    write(ini, index, count, name, values);
    return writeIniFile(fileName, ini, error);
}

bool RegisteredList::removeFromFile(const QString& fileName, int index, int count,
                                    QString* error) const
{
    IniFile ini;
    if (!readIniFileForUpdate(fileName, ini, error))
        return false;
    remove(ini, index, count);
    return writeIniFile(fileName, ini, error);
}

} // namespace nobrisa
