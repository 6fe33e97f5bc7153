#include "preview/wmfwriter.h"

#include "text/encoding.h"
#include "text/wholefile.h"

#include <QDir>

#include <algorithm>

namespace nobrisa {
namespace {

enum Function : quint16 {
    META_EOF = 0x0000,
    META_SETBKMODE = 0x0102,
    META_SETTEXTALIGN = 0x012E,
    META_SELECTOBJECT = 0x012D,
    META_DELETEOBJECT = 0x01F0,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_RECTANGLE = 0x041B,
    META_EXTTEXTOUT = 0x0A32,
};

constexpr quint16 TRANSPARENT = 1;
constexpr quint16 ETO_CLIPPED = 0x0004;
constexpr quint16 BS_SOLID = 0;
constexpr quint16 BS_NULL = 1;
constexpr int FACE_NAME_BYTES = 32;

quint16 clamped(int v)
{
    return static_cast<quint16>(static_cast<qint16>(std::clamp(v, -32767, 32767)));
}

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

void putColor(QByteArray& out, const QColor& c)
{
    out.append(static_cast<char>(c.red()));
    out.append(static_cast<char>(c.green()));
    out.append(static_cast<char>(c.blue()));
    out.append('\0');
}

// The longest prefix of `text` whose CP932 form fits `limit` bytes, so that a double-byte
// character is never cut in half. With `advances` (one per UTF-16 unit of `text`) it also gives
// the spacing array: one entry per byte, a character's advance on its first byte and 0 on its
// second, so that the entries of a character add up to its advance.
QByteArray cp932Prefix(const QString& text, int limit, const std::vector<int>* advances = nullptr,
                       std::vector<quint16>* dx = nullptr)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const QByteArray ch = encodeCp932(text.mid(i, n));
        if (out.size() + ch.size() > limit)
            break;
        out += ch;
        if (advances && dx) {
            int advance = 0;
            for (qsizetype k = i; k < i + n; ++k)
                advance += (*advances)[static_cast<size_t>(k)];
            dx->push_back(clamped(advance));
            dx->insert(dx->end(), static_cast<size_t>(ch.size() - 1), 0);
        }
        i += n;
    }
    return out;
}

void setError(QString* error, const QString& message)
{
    if (error)
        *error = message;
}

QString writeFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("図ファイル「%1」を保存できません。\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

WmfWriter::WmfWriter(int width, int height, int unitsPerInch)
    : mWidth(width)
    , mHeight(height)
    , mUnitsPerInch(unitsPerInch)
{
}

void WmfWriter::addRecord(quint16 function, const QByteArray& params)
{
    const quint32 words = 3 + static_cast<quint32>(params.size() + 1) / 2;
    put32(mRecords, words);
    put16(mRecords, function);
    mRecords += params;
    if (params.size() % 2)
        mRecords.append('\0');
    mLargestRecord = std::max(mLargestRecord, words);
}

void WmfWriter::setWindowOrg(int x, int y)
{
    QByteArray p;
    put16(p, clamped(y));
    put16(p, clamped(x));
    addRecord(META_SETWINDOWORG, p);
}

void WmfWriter::setWindowExt(int width, int height)
{
    QByteArray p;
    put16(p, clamped(height));
    put16(p, clamped(width));
    addRecord(META_SETWINDOWEXT, p);
}

void WmfWriter::setBkModeTransparent()
{
    QByteArray p;
    put16(p, TRANSPARENT);
    addRecord(META_SETBKMODE, p);
}

void WmfWriter::setTextColor(const QColor& color)
{
    QByteArray p;
    putColor(p, color);
    addRecord(META_SETTEXTCOLOR, p);
}

void WmfWriter::setTextAlign(TextAlign align)
{
    QByteArray p;
    put16(p, static_cast<quint16>(align));
    addRecord(META_SETTEXTALIGN, p);
}

int WmfWriter::createPen(PenStyle style, int width, const QColor& color)
{
    QByteArray p;
    put16(p, static_cast<quint16>(style));
    put16(p, clamped(width)); // the width is a point; its y is unused
    put16(p, 0);
    putColor(p, color);
    addRecord(META_CREATEPENINDIRECT, p);
    return mObjects.take();
}

int WmfWriter::createBrush(const QColor& color, bool clear)
{
    QByteArray p;
    put16(p, clear ? BS_NULL : BS_SOLID);
    putColor(p, color);
    put16(p, 0); // hatch, unused by these styles
    addRecord(META_CREATEBRUSHINDIRECT, p);
    return mObjects.take();
}

int WmfWriter::createFont(const Font& font)
{
    QByteArray p;
    put16(p, clamped(font.height));
    put16(p, 0); // width: the font's own
    put16(p, 0); // escapement
    put16(p, 0); // orientation
    put16(p, clamped(font.weight));
    p.append(font.italic ? '\1' : '\0');
    p.append('\0'); // underline
    p.append('\0'); // strike-out
    p.append(static_cast<char>(font.charset));
    p.append('\0'); // OUT_DEFAULT_PRECIS
    p.append('\0'); // CLIP_DEFAULT_PRECIS
    p.append('\0'); // DEFAULT_QUALITY
    p.append('\0'); // DEFAULT_PITCH | FF_DONTCARE
    QByteArray face = cp932Prefix(font.face, FACE_NAME_BYTES - 1);
    face.append(FACE_NAME_BYTES - face.size(), '\0');
    p += face;
    addRecord(META_CREATEFONTINDIRECT, p);
    return mObjects.take();
}

void WmfWriter::selectObject(int index)
{
    QByteArray p;
    put16(p, static_cast<quint16>(index));
    addRecord(META_SELECTOBJECT, p);
}

void WmfWriter::deleteObject(int index)
{
    if (!mObjects.release(index))
        return;
    QByteArray p;
    put16(p, static_cast<quint16>(index));
    addRecord(META_DELETEOBJECT, p);
}

void WmfWriter::rectangle(int left, int top, int right, int bottom)
{
    QByteArray p;
    put16(p, clamped(bottom));
    put16(p, clamped(right));
    put16(p, clamped(top));
    put16(p, clamped(left));
    addRecord(META_RECTANGLE, p);
}

void WmfWriter::moveTo(int x, int y)
{
    QByteArray p;
    put16(p, clamped(y));
    put16(p, clamped(x));
    addRecord(META_MOVETO, p);
}

void WmfWriter::lineTo(int x, int y)
{
    QByteArray p;
    put16(p, clamped(y));
    put16(p, clamped(x));
    addRecord(META_LINETO, p);
}

void WmfWriter::extTextOut(int x, int y, const QString& text, const std::vector<int>& advances,
                           const std::optional<DeviceRect>& clip)
{
    // The length field is 16-bit; a longer text is cut at a character boundary.
    const bool spaced = static_cast<qsizetype>(advances.size()) == text.size();
    std::vector<quint16> dx;
    const QByteArray s = cp932Prefix(text, 32767, spaced ? &advances : nullptr, &dx);
    QByteArray p;
    put16(p, clamped(y));
    put16(p, clamped(x));
    put16(p, static_cast<quint16>(s.size()));
    put16(p, clip ? ETO_CLIPPED : 0);
    if (clip) {
        put16(p, clamped(clip->left));
        put16(p, clamped(clip->top));
        put16(p, clamped(clip->right));
        put16(p, clamped(clip->bottom));
    }
    p += s;
    if (s.size() % 2)
        p.append('\0');
    for (const quint16 d : dx)
        put16(p, d);
    addRecord(META_EXTTEXTOUT, p);
}

QByteArray WmfWriter::bytes() const
{
    QByteArray out;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    put32(out, 0x9AC6CDD7u);
    put16(out, 0);
    put16(out, 0);
    put16(out, 0);
    put16(out, clamped(mWidth));
    put16(out, clamped(mHeight));
    put16(out, static_cast<quint16>(std::clamp(mUnitsPerInch, 1, 0xFFFF)));
    put32(out, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= static_cast<quint16>(static_cast<quint8>(out[i]) |
                                         static_cast<quint8>(out[i + 1]) << 8);
    put16(out, checksum);

    const quint32 headerWords = 9;
    const quint32 eofWords = 3;
    put16(out, 1); // a metafile on disk
    put16(out, headerWords);
    put16(out, 0x0300); // the version with device-independent bitmaps
    put32(out, headerWords + static_cast<quint32>(mRecords.size() / 2) + eofWords);
    put16(out, static_cast<quint16>(mObjects.size()));
    put32(out, mLargestRecord);
    put16(out, 0);

    out += mRecords;
    put32(out, eofWords);
    put16(out, META_EOF);
    return out;
}

bool WmfWriter::save(const QString& path, QString* error) const
{
    return saveMetafile(path, bytes(), error);
}

bool saveMetafile(const QString& path, const QByteArray& bytes, QString* error)
{
    QString reason;
    if (writeWholeFile(path, bytes, &reason))
        return true;
    setError(error, writeFailure(path, reason));
    return false;
}

} // namespace nobrisa
