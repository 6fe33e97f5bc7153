#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace nobrisa {

// An enhanced metafile read back for the tests: header, sizes and record count checked, each
// record after the header written out as one line of text, as the WMF reader writes them, so
// the two formats compare to one table: "bk 1", "textcolor #rrggbb", "align 0",
// "pen style width #rrggbb", "brush style #rrggbb", "font height weight charset face",
// "select i", "delete i" (object slots from 0), "rect l t r b", "move x y", "line x y",
// "text x y TEXT" (+ " clip l t r b"), "end".
struct EmfFile {
    QString error; // empty when the file read cleanly
    std::vector<int> bounds, frame, millimetres;
    int handleCount = 0;
    QString description;
    QStringList records;
    std::vector<int> createdSlots;          // the handle each pen, brush or font was created in
    std::vector<std::vector<int>> advances; // each text's spacing array
};

EmfFile readEmf(const QByteArray& bytes);

} // namespace nobrisa
