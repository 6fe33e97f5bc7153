#pragma once

#include "preview/metafileobjects.h"
#include "preview/wmfwriter.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <optional>
#include <vector>

namespace nobrisa {

// Builds an enhanced metafile (.emf) in memory, record by record, in device pixels from the
// origin (printer pixels for the facsimile). Its reference device is taken to be the picture
// itself at `pixelsPerInch`, so the header's device size and millimetres give readers that
// resolution. Text is UTF-16 (ExtTextOutW): nothing is lost to a code page.
//
// Objects take the lowest free slot of the handle table from 1 (0 stands for the metafile itself);
// create calls return the slot, which SelectObject and DeleteObject name.
class EmfWriter final {
public:
    // `creator` and `title` go into the header's description ("creator\0title\0\0"); both empty
    // write none.
    EmfWriter(int width, int height, int pixelsPerInch, const QString& creator = QString(),
              const QString& title = QString());

    using PenStyle = WmfWriter::PenStyle;
    using TextAlign = WmfWriter::TextAlign;
    using Font = WmfWriter::Font;

    void setBkModeTransparent();
    void setTextColor(const QColor& color);
    void setTextAlign(TextAlign align);

    int createPen(PenStyle style, int width, const QColor& color);
    int createBrush(const QColor& color, bool clear);
    int createFont(const Font& font); // the face name is cut to 31 UTF-16 units
    void selectObject(int index);
    // Frees the slot for the next create call; an index that holds no object is ignored.
    void deleteObject(int index);

    void rectangle(int left, int top, int right, int bottom);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    // `advances`, when it has one entry per UTF-16 unit of `text`, is written as the spacing
    // array: each character then lands where the printer put it, whatever font the reader has.
    // Otherwise no array is written and the reader sets the text with its font's widths.
    // `clip`, when given, clips the text to that rectangle, as DrawText clips to its box.
    void extTextOut(int x, int y, const QString& text, const std::vector<int>& advances = {},
                    const std::optional<DeviceRect>& clip = std::nullopt);

    // The whole file: header, the records and the end record.
    QByteArray bytes() const;
    bool save(const QString& path, QString* error) const;

private:
    void addRecord(quint32 type, const QByteArray& data);

    int mWidth;
    int mHeight;
    int mPixelsPerInch;
    QString mDescription;
    QByteArray mRecords;
    quint32 mRecordCount = 0;
    MetafileObjects mObjects{1};
};

} // namespace nobrisa
