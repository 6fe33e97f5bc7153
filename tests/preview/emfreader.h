#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace nobrisa {

// Reads an enhanced metafile back for the tests: the header checked, the records split.
struct EmfRecord {
    quint32 type = 0;
    QByteArray data; // the record's bytes after its type and size

    // The i-th 32-bit field after type and size, signed (0 beyond the end).
    int field(int i) const;
};

struct EmfFile {
    QString error; // empty when the file read cleanly
    int bounds[4] = {};
    int frame[4] = {};
    quint32 recordCount = 0;
    int handleCount = 0;
    QString description;
    int device[2] = {};
    int millimetres[2] = {};
    std::vector<EmfRecord> records; // header and end record included

    std::vector<const EmfRecord*> withType(quint32 type) const;
};

EmfFile readEmf(const QByteArray& bytes);

// EMR_EXTTEXTOUTW: reference point, text, spacing array (empty when none).
struct EmfText {
    int x = 0, y = 0;
    QString text;
    std::vector<int> advances;
};
EmfText emfText(const EmfRecord& record);

// EMR_EXTCREATEFONTINDIRECTW.
struct EmfFontInfo {
    int height = 0;
    int charset = 0;
    QString face;
};
EmfFontInfo emfFont(const EmfRecord& record);

} // namespace nobrisa
