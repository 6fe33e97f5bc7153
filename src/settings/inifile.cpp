#include "settings/inifile.h"

#include "model/numbertext.h"
#include "text/encoding.h"

namespace nobrisa {
namespace {

QStringView trimmedView(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.sliced(b, e - b);
}

QString oneLine(const QString& text)
{
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString s = text;
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

} // namespace

IniFile IniFile::parse(const QString& text)
{
    IniFile ini;
    // An index, not a pointer: adding a section may move the others.
    qsizetype current = -1;
    const QStringView all(text);
    const qsizetype n = all.size();
    qsizetype start = 0;
    while (start <= n) {
        // Lines end at CR LF, LF or CR.
        qsizetype end = start;
        while (end < n && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        const QStringView line = trimmedView(all.sliced(start, end - start));
        start = end + 1;
        if (end < n && all[end] == u'\r' && end + 1 < n && all[end + 1] == u'\n')
            ++start;

        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            current = ini.sectionIndexFor(trimmedView(line.sliced(1, line.size() - 2)).toString());
            continue;
        }
        if (current < 0)
            continue;
        Section& section = ini.mSections[static_cast<size_t>(current)];
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            addLine(section, Line{line.toString(), QString(), false});
        else
            addLine(section, Line{trimmedView(line.first(eq)).toString(),
                                  trimmedView(line.sliced(eq + 1)).toString(), true});
    }
    return ini;
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    return parse(decodeSettingsText(bytes));
}

QString IniFile::toText() const
{
    static const QString crlf = QStringLiteral("\r\n");
    QString out;
    for (const Section& section : mSections) {
        out += u'[' + section.name + u']' + crlf;
        for (const Line& line : section.lines) {
            out += line.key;
            if (line.isKey)
                out += u'=' + line.value;
            out += crlf;
        }
        out += crlf;
    }
    return out;
}

QByteArray IniFile::toBytes() const
{
    return encodeUtf16LeWithBom(toText());
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return value(section, key).has_value();
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    const auto it = s->keyIndex.constFind(fold(key));
    if (it == s->keyIndex.cend())
        return std::nullopt;
    return s->lines[static_cast<size_t>(*it)].value;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    return value(section, key).value_or(def);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    const std::optional<QString> v = value(section, key);
    int result = def;
    if (!v || !parseWholeNumber(*v, &result))
        return def;
    return result;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Section& s = sectionFor(section);
    // A name found without regard to case takes the writer's spelling, where it stands: a file
    // edited by hand to "sekanyullleft" gets back "SEkanyuLLeft".
    s.name = oneLine(section);
    const auto it = s.keyIndex.constFind(fold(key));
    if (it != s.keyIndex.cend()) {
        Line& line = s.lines[static_cast<size_t>(*it)];
        line.key = oneLine(key);
        line.value = oneLine(value);
    } else {
        addLine(s, Line{oneLine(key), oneLine(value), true});
    }
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    setValue(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(mSections.size()));
    for (const Section& s : mSections)
        names.append(s.name);
    return names;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList names;
    if (const Section* s = findSection(section)) {
        for (const Line& line : s->lines) {
            if (line.isKey)
                names.append(line.key);
        }
    }
    return names;
}

int IniFile::keyCount(const QString& section) const
{
    const Section* s = findSection(section);
    return s ? s->keyCount : 0;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    const auto it = mSectionIndex.constFind(fold(name));
    return it == mSectionIndex.cend() ? nullptr : &mSections[static_cast<size_t>(*it)];
}

qsizetype IniFile::sectionIndexFor(const QString& name)
{
    const QString folded = fold(name);
    const auto it = mSectionIndex.constFind(folded);
    if (it != mSectionIndex.cend())
        return *it;
    const auto index = static_cast<qsizetype>(mSections.size());
    mSectionIndex.insert(folded, index);
    mSections.push_back(Section{oneLine(name), {}, {}, 0});
    return index;
}

IniFile::Section& IniFile::sectionFor(const QString& name)
{
    return mSections[static_cast<size_t>(sectionIndexFor(name))];
}

void IniFile::addLine(Section& section, Line line)
{
    if (line.isKey) {
        ++section.keyCount;
        // A repeated key stays in the file, but lookups see the first one.
        const QString folded = fold(line.key);
        if (!section.keyIndex.contains(folded))
            section.keyIndex.insert(folded, static_cast<qsizetype>(section.lines.size()));
    }
    section.lines.push_back(std::move(line));
}

} // namespace nobrisa
