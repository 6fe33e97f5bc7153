#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace nobrisa {

// Reads a placeable Windows metafile back for the tests: the headers checked, the records split.
struct WmfRecord {
    quint16 function = 0;
    QByteArray params; // the record's bytes after its size and function number

    // The i-th 16-bit parameter, signed (0 beyond the end).
    int word(int i) const;
};

struct WmfFile {
    QString error; // empty when the file read cleanly
    int left = 0, top = 0, right = 0, bottom = 0;
    int unitsPerInch = 0;
    quint32 sizeWords = 0;
    int objectCount = 0;
    quint32 largestRecordWords = 0;
    std::vector<WmfRecord> records; // the end record included

    std::vector<const WmfRecord*> withFunction(quint16 function) const;
};

WmfFile readWmf(const QByteArray& bytes);

// META_EXTTEXTOUT: position, text decoded from CP932, spacing array (one entry per byte; empty
// when none).
struct WmfText {
    int x = 0, y = 0;
    QString text;
    std::vector<int> dx;
};
WmfText wmfText(const WmfRecord& record);

// META_CREATEFONTINDIRECT.
struct WmfFontInfo {
    int height = 0;
    int weight = 0;
    int charset = 0;
    QString face;
};
WmfFontInfo wmfFont(const WmfRecord& record);

} // namespace nobrisa
