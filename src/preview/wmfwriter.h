#pragma once

#include "preview/metafileobjects.h"
#include "render/textlayout.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <optional>
#include <vector>

namespace nobrisa {

// Builds a placeable Windows metafile (.wmf) in memory, record by record, in the coordinates of
// the picture's window (printer pixels for the facsimile). Coordinates are 16-bit in this format:
// every coordinate and size is clamped to ±32767 rather than wrapped, so a point far off the
// picture stays far off on the same side instead of reappearing inside it. A slip at 1200 dpi is
// about 8500 pixels wide, well inside the range.
//
// Objects (pens, brushes, fonts) live in the metafile's object table: each create call takes the
// lowest free slot and returns its index, which SelectObject and DeleteObject name; a deleted slot
// is reused by the next create, as the programs that play metafiles expect.
//
// Text is written in CP932 with ExtTextOut. Its optional spacing array has one entry per byte:
// a double-byte character's advance sits on its first byte and 0 on its second, the form whose
// entries players add up per character (LibreOffice does), so each character lands where the
// printer put it whatever font the player has.
class WmfWriter final {
public:
    // The picture spans `width` × `height` units, `unitsPerInch` of them to the inch (the
    // printer's resolution), from the origin.
    WmfWriter(int width, int height, int unitsPerInch);

    enum class PenStyle : quint16 { Solid = 0, Dot = 2, Null = 5 };
    enum class TextAlign : quint16 { TopLeft = 0, BaselineLeft = 24 };

    struct Font {
        int height = 0; // negative: em height; positive: cell height (as GDI)
        int weight = 400;
        bool italic = false;
        int charset = 128; // SHIFTJIS_CHARSET
        QString face;      // written in CP932, at most 31 bytes
    };

    void setWindowOrg(int x, int y);
    void setWindowExt(int width, int height);
    void setBkModeTransparent();
    void setTextColor(const QColor& color);
    void setTextAlign(TextAlign align);

    int createPen(PenStyle style, int width, const QColor& color);
    // A null brush (clear: outlines only) when `clear`, else a solid one.
    int createBrush(const QColor& color, bool clear);
    int createFont(const Font& font);
    void selectObject(int index);
    // Frees the slot for the next create call; an index that holds no object is ignored.
    void deleteObject(int index);

    void rectangle(int left, int top, int right, int bottom);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    // (x, y) is where the text is anchored by the current text alignment. Characters CP932
    // lacks are written as '?'. `advances`, when it has one entry per UTF-16 unit of `text`, is
    // written as the spacing array; otherwise none is and the player uses its font's widths.
    // `clip`, when given, clips the text to that rectangle, as DrawText clips to its box.
    void extTextOut(int x, int y, const QString& text, const std::vector<int>& advances = {},
                    const std::optional<DeviceRect>& clip = std::nullopt);

    // The whole file: placeable header, metafile header, the records and the end record.
    QByteArray bytes() const;
    // Writes bytes() through a temporary file that replaces `path` only when all was written.
    // False, with a Japanese message naming the file in `error`, when it cannot be written.
    bool save(const QString& path, QString* error) const;

private:
    void addRecord(quint16 function, const QByteArray& params);

    int mWidth;
    int mHeight;
    int mUnitsPerInch;
    QByteArray mRecords;
    quint32 mLargestRecord = 3; // the end record's size, in 16-bit words
    MetafileObjects mObjects{0};
};

// Writes `bytes` as the file `path`, whole or not at all; shared by the picture writers.
bool saveMetafile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace nobrisa
