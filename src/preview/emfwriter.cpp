#include "preview/emfwriter.h"

#include "render/canvas.h"

#include <algorithm>

namespace nobrisa {
namespace {

enum RecordType : quint32 {
    EMR_HEADER = 1,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_RECTANGLE = 43,
    EMR_LINETO = 54,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};

constexpr quint32 TRANSPARENT = 1;
constexpr quint32 GM_COMPATIBLE = 1;
constexpr quint32 ETO_CLIPPED = 0x0004;
constexpr int FACE_NAME_UNITS = 32;
constexpr quint32 HEADER_BYTES = 108; // with both header extensions
constexpr quint32 EOF_BYTES = 20;

void put16(QByteArray& out, quint16 v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, static_cast<quint16>(v & 0xFFFF));
    put16(out, static_cast<quint16>(v >> 16));
}

void putInt(QByteArray& out, int v)
{
    put32(out, static_cast<quint32>(v));
}

void putRect(QByteArray& out, int left, int top, int right, int bottom)
{
    putInt(out, left);
    putInt(out, top);
    putInt(out, right);
    putInt(out, bottom);
}

void putColor(QByteArray& out, const QColor& c)
{
    out.append(static_cast<char>(c.red()));
    out.append(static_cast<char>(c.green()));
    out.append(static_cast<char>(c.blue()));
    out.append('\0');
}

void putUtf16(QByteArray& out, const QString& s)
{
    for (const QChar c : s)
        put16(out, c.unicode());
}

void padTo4(QByteArray& out)
{
    while (out.size() % 4)
        out.append('\0');
}

} // namespace

EmfWriter::EmfWriter(int width, int height, int pixelsPerInch, const QString& creator,
                     const QString& title)
    : mWidth(width)
    , mHeight(height)
    , mPixelsPerInch(std::max(pixelsPerInch, 1))
{
    if (!creator.isEmpty() || !title.isEmpty())
        mDescription = creator + QChar(0) + title + QChar(0) + QChar(0);
}

void EmfWriter::addRecord(quint32 type, const QByteArray& data)
{
    QByteArray d = data;
    padTo4(d);
    put32(mRecords, type);
    put32(mRecords, static_cast<quint32>(8 + d.size()));
    mRecords += d;
    ++mRecordCount;
}

void EmfWriter::setBkModeTransparent()
{
    QByteArray d;
    put32(d, TRANSPARENT);
    addRecord(EMR_SETBKMODE, d);
}

void EmfWriter::setTextColor(const QColor& color)
{
    QByteArray d;
    putColor(d, color);
    addRecord(EMR_SETTEXTCOLOR, d);
}

void EmfWriter::setTextAlign(TextAlign align)
{
    QByteArray d;
    put32(d, static_cast<quint32>(align));
    addRecord(EMR_SETTEXTALIGN, d);
}

int EmfWriter::createPen(PenStyle style, int width, const QColor& color)
{
    const int index = mObjects.take();
    QByteArray d;
    putInt(d, index);
    put32(d, static_cast<quint32>(style));
    putInt(d, width); // the width is a point; its y is unused
    putInt(d, 0);
    putColor(d, color);
    addRecord(EMR_CREATEPEN, d);
    return index;
}

int EmfWriter::createBrush(const QColor& color, bool clear)
{
    const int index = mObjects.take();
    QByteArray d;
    putInt(d, index);
    put32(d, clear ? 1 : 0); // BS_NULL, BS_SOLID
    putColor(d, color);
    put32(d, 0); // hatch, unused by these styles
    addRecord(EMR_CREATEBRUSHINDIRECT, d);
    return index;
}

int EmfWriter::createFont(const Font& font)
{
    const int index = mObjects.take();
    QByteArray d;
    putInt(d, index);
    putInt(d, font.height);
    putInt(d, 0); // width: the font's own
    putInt(d, 0); // escapement
    putInt(d, 0); // orientation
    putInt(d, font.weight);
    d.append(font.italic ? '\1' : '\0');
    d.append('\0'); // underline
    d.append('\0'); // strike-out
    d.append(static_cast<char>(font.charset));
    d.append(4, '\0'); // default precisions, quality, pitch and family
    QString face = font.face.left(FACE_NAME_UNITS - 1);
    if (!face.isEmpty() && face.back().isHighSurrogate())
        face.chop(1);
    putUtf16(d, face);
    for (qsizetype i = face.size(); i < FACE_NAME_UNITS; ++i)
        put16(d, 0);
    addRecord(EMR_EXTCREATEFONTINDIRECTW, d);
    return index;
}

void EmfWriter::selectObject(int index)
{
    QByteArray d;
    putInt(d, index);
    addRecord(EMR_SELECTOBJECT, d);
}

void EmfWriter::deleteObject(int index)
{
    if (!mObjects.release(index))
        return;
    QByteArray d;
    putInt(d, index);
    addRecord(EMR_DELETEOBJECT, d);
}

void EmfWriter::rectangle(int left, int top, int right, int bottom)
{
    QByteArray d;
    putRect(d, left, top, right, bottom);
    addRecord(EMR_RECTANGLE, d);
}

void EmfWriter::moveTo(int x, int y)
{
    QByteArray d;
    putInt(d, x);
    putInt(d, y);
    addRecord(EMR_MOVETOEX, d);
}

void EmfWriter::lineTo(int x, int y)
{
    QByteArray d;
    putInt(d, x);
    putInt(d, y);
    addRecord(EMR_LINETO, d);
}

void EmfWriter::extTextOut(int x, int y, const QString& text, const std::vector<int>& advances,
                           const std::optional<DeviceRect>& clip)
{
    constexpr quint32 textAt = 76; // record offset of the string, after the fixed fields
    const quint32 chars = static_cast<quint32>(text.size());
    const quint32 dxAt = static_cast<qsizetype>(advances.size()) == text.size() && !text.isEmpty()
                             ? textAt + (2 * chars + 3) / 4 * 4
                             : 0;
    QByteArray d;
    putRect(d, 0, 0, -1, -1); // bounds not computed
    put32(d, GM_COMPATIBLE);
    put32(d, 0); // x and y scales, unused in the compatible mode
    put32(d, 0);
    putInt(d, x);
    putInt(d, y);
    put32(d, chars);
    put32(d, textAt);
    put32(d, clip ? ETO_CLIPPED : 0);
    const DeviceRect r = clip.value_or(DeviceRect{});
    putRect(d, r.left, r.top, r.right, r.bottom);
    put32(d, dxAt);
    putUtf16(d, text);
    padTo4(d);
    if (dxAt != 0)
        for (const int advance : advances)
            putInt(d, advance);
    addRecord(EMR_EXTTEXTOUTW, d);
}

QByteArray EmfWriter::bytes() const
{
    const quint32 descriptionBytes = static_cast<quint32>(mDescription.size()) * 2;
    const quint32 headerSize = HEADER_BYTES + (descriptionBytes + 3) / 4 * 4;
    const auto hundredthsOfMm = [this](int pixels) { return mulDiv(pixels, 2540, mPixelsPerInch); };
    const auto micrometres = [this](int pixels) { return mulDiv(pixels, 25400, mPixelsPerInch); };

    QByteArray out;
    put32(out, EMR_HEADER);
    put32(out, headerSize);
    putRect(out, 0, 0, mWidth - 1, mHeight - 1); // inclusive bounds in device pixels
    putRect(out, 0, 0, hundredthsOfMm(mWidth), hundredthsOfMm(mHeight));
    put32(out, 0x464D4520); // " EMF"
    put32(out, 0x00010000);
    put32(out, headerSize + static_cast<quint32>(mRecords.size()) + EOF_BYTES);
    put32(out, mRecordCount + 2); // with the header and the end record
    put16(out, static_cast<quint16>(mObjects.size() + 1));
    put16(out, 0);
    put32(out, static_cast<quint32>(mDescription.size()));
    put32(out, mDescription.isEmpty() ? 0 : HEADER_BYTES);
    put32(out, 0); // no palette
    putInt(out, mWidth);
    putInt(out, mHeight);
    putInt(out, mulDiv(mWidth, 254, 10 * mPixelsPerInch));
    putInt(out, mulDiv(mHeight, 254, 10 * mPixelsPerInch));
    put32(out, 0); // no pixel format
    put32(out, 0);
    put32(out, 0); // not OpenGL
    putInt(out, micrometres(mWidth));
    putInt(out, micrometres(mHeight));
    putUtf16(out, mDescription);
    padTo4(out);

    out += mRecords;
    put32(out, EMR_EOF);
    put32(out, EOF_BYTES);
    put32(out, 0);  // no palette entries
    put32(out, 16); // where they would start
    put32(out, EOF_BYTES);
    return out;
}

bool EmfWriter::save(const QString& path, QString* error) const
{
    return saveMetafile(path, bytes(), error);
}

} // namespace nobrisa
