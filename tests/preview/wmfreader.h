#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace nobrisa {

// A placeable Windows metafile read back for the tests: key, checksum, sizes and record chain
// checked, each record written out as one line of text in the form emfreader.h describes
// ("org x y" and "ext w h" too; object indices as written), texts decoded from CP932.
struct WmfFile {
    QString error; // empty when the file read cleanly
    int width = 0, height = 0, unitsPerInch = 0;
    int objectCount = 0;
    int largestRecordWords = 0;
    QStringList records;
    std::vector<std::vector<int>> dx; // each text's spacing array, one entry per byte
};

WmfFile readWmf(const QByteArray& bytes);

} // namespace nobrisa
