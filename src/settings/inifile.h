#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace nobrisa {

// The settings file dialect in memory: sections and their lines in file order, names matched
// without regard to case. Parsing and writing are pure; files are opened elsewhere.
//
// Reading: every line is trimmed of characters up to U+0020 at both ends; empty lines and lines
// starting with ";" are dropped; "[name]" starts a section; "key=value" splits at the first "=",
// both sides trimmed; a line without "=" inside a section is kept as it is and written back;
// lines before the first section are dropped. A section that appears twice continues the first.
//
// Writing: "[name]", the section's lines, one empty line after each section, CR LF line ends;
// as bytes UTF-16LE with the byte-order mark.
class IniFile final {
public:
    static IniFile parse(const QString& text);
    // Decodes the bytes (byte-order mark, else CP932) and parses them.
    static IniFile fromBytes(const QByteArray& bytes);

    QString toText() const;
    QByteArray toBytes() const;

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    // The value of the first key line of that name; nullopt when there is none.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Typed readers: a missing key, or for numbers a value that is no whole number, gives the
    // default. A flag is an integer, non-zero meaning on.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;

    // Replaces the key's value in place, or adds the key at the end of its section, or adds the
    // section at the end of the file. The section's and the key's names take the spelling given
    // here, also where the file spelled them in another case. Line breaks in the value become
    // spaces, since a value is one line of the file.
    void setValue(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    QStringList sectionNames() const;
    // Key names of a section in file order (lines without "=" are not keys).
    QStringList keys(const QString& section) const;
    // Number of key lines in the section (0 when it does not exist).
    int keyCount(const QString& section) const;

private:
    struct Line {
        QString key; // for a line without "=": the whole line
        QString value;
        bool isKey = true;
    };
    struct Section {
        QString name;
        std::vector<Line> lines;
        QHash<QString, qsizetype> keyIndex; // folded key → first line with that key
        int keyCount = 0;
    };

    static QString fold(const QString& name) { return name.toCaseFolded(); }
    const Section* findSection(const QString& name) const;
    // The section of that name, added at the end when there is none.
    qsizetype sectionIndexFor(const QString& name);
    Section& sectionFor(const QString& name);
    static void addLine(Section& section, Line line);

    std::vector<Section> mSections;
    QHash<QString, qsizetype> mSectionIndex; // folded name → index into mSections
};

} // namespace nobrisa
