#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace nobrisa {

class IniFile;

// A named list of registered payers or subscribers, kept in a section of the application INI
// file. Entry i is the group of keys whose names end in i: "count" holds the number of entries,
// "Name_i" the registration name, one key per one-line field ("Zip_i") and, for a multi-line
// field, a line count ("Acount_i") and one key per line ("Line_i-j") holding the line wrapped in
// "#". Keys beyond the counts may stay in the file; they are never read.
class RegisteredList final {
public:
    enum class Kind { Payers, Subscribers };

    // A field of an entry: the name of the dialog's and the slip's field that holds it, and its
    // keys without the index. A multi-line field has a line key prefix; a one-line one none.
    struct Field {
        const char* name;    // "Ezip", "Maddres"
        const char* key;     // "Zip_"; for a multi-line field the count key "Acount_"
        const char* lineKey; // "Line_" for a multi-line field, else nullptr
    };

    explicit RegisteredList(Kind kind) noexcept;

    Kind kind() const noexcept { return mKind; }
    QString section() const;
    // The entry's fields, in the order in which values() gives them and write() takes them.
    std::span<const Field> fields() const noexcept;

    // The number of entries: "count", 0 when missing or negative. A count past every entry key
    // the section holds (a damaged or hand-edited file saying 100000) is cut down to the last
    // index that has a key of its own: the entries cut off would all be empty, and a dialog
    // listing a hundred thousand of them would only hang.
    int count(const IniFile& ini) const;
    // Name_i of each entry 0 … count − 1.
    QStringList names(const IniFile& ini, int count) const;
    // The values of entry i in the order of fields(); a multi-line value is its lines joined by
    // CR LF (with a final CR LF when its last line is empty). Missing keys read as empty.
    QStringList values(const IniFile& ini, int index) const;

    // Writes "count", the name and the values of entry `index` (multi-line values as their line
    // count and wrapped lines).
    void write(IniFile& ini, int index, int count, const QString& name,
               const QStringList& values) const;

    // Deletes entry `index` of `count` entries: each later entry's keys are copied one index
    // down (line values exactly as stored), and "count" is lowered. The keys of the former last
    // index stay. Gives the new count; an index outside the list changes nothing.
    int remove(IniFile& ini, int index, int count) const;

    // The same operations on a file: read it, change it, write it whole (UTF-16LE with
    // byte-order mark, through a temporary file). False, with a message naming the file, when
    // it cannot be read or written; the file is then as it was.
    bool writeToFile(const QString& fileName, int index, int count, const QString& name,
                     const QStringList& values, QString* error) const;
    bool removeFromFile(const QString& fileName, int index, int count, QString* error) const;

private:
    QString lineKey(const Field& field, int index, int line) const;

    Kind mKind;
};

} // namespace nobrisa
