#include "preview/wmfreader.h"

#include "text/encoding.h"

namespace nobrisa {
namespace {

quint16 u16(const QByteArray& b, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | static_cast<quint8>(b[at + 1]) << 8);
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return u16(b, at) | static_cast<quint32>(u16(b, at + 2)) << 16;
}

} // namespace

int WmfRecord::word(int i) const
{
    return 2 * i + 1 < params.size() ? static_cast<qint16>(u16(params, 2 * i)) : 0;
}

std::vector<const WmfRecord*> WmfFile::withFunction(quint16 function) const
{
    std::vector<const WmfRecord*> out;
    for (const WmfRecord& r : records)
        if (r.function == function)
            out.push_back(&r);
    return out;
}

WmfFile readWmf(const QByteArray& b)
{
    WmfFile f;
    if (b.size() < 22 + 18 || u32(b, 0) != 0x9AC6CDD7u) {
        f.error = QStringLiteral("no placeable header");
        return f;
    }
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= u16(b, i);
    if (checksum != u16(b, 20)) {
        f.error = QStringLiteral("bad checksum");
        return f;
    }
    f.left = static_cast<qint16>(u16(b, 6));
    f.top = static_cast<qint16>(u16(b, 8));
    f.right = static_cast<qint16>(u16(b, 10));
    f.bottom = static_cast<qint16>(u16(b, 12));
    f.unitsPerInch = u16(b, 14);
    if (u16(b, 22) != 1 || u16(b, 24) != 9) {
        f.error = QStringLiteral("bad metafile header");
        return f;
    }
    f.sizeWords = u32(b, 28);
    f.objectCount = u16(b, 32);
    f.largestRecordWords = u32(b, 34);
    if (22 + 2 * static_cast<qint64>(f.sizeWords) != b.size()) {
        f.error = QStringLiteral("size in the header differs from the file's");
        return f;
    }
    qsizetype at = 22 + 18;
    while (at + 6 <= b.size()) {
        const quint32 words = u32(b, at);
        if (words < 3 || at + 2 * static_cast<qint64>(words) > b.size() ||
            words > f.largestRecordWords) {
            f.error = QStringLiteral("bad record size at %1").arg(at);
            return f;
        }
        WmfRecord r;
        r.function = u16(b, at + 4);
        r.params = b.mid(at + 6, 2 * static_cast<qsizetype>(words) - 6);
        f.records.push_back(r);
        at += 2 * static_cast<qsizetype>(words);
        if (r.function == 0)
            break;
    }
    if (at != b.size() || f.records.empty() || f.records.back().function != 0)
        f.error = QStringLiteral("no end record at the end");
    return f;
}

WmfText wmfText(const WmfRecord& r)
{
    WmfText t;
    t.y = r.word(0);
    t.x = r.word(1);
    const int length = r.word(2);
    const int options = r.word(3);
    const int textAt = (options & 0x0006) ? 16 : 8; // a clip or opaque rectangle comes first
    t.text = decodeCp932(r.params.mid(textAt, length));
    const int dxAt = textAt + (length + 1) / 2 * 2;
    if (r.params.size() > dxAt)
        for (int i = 0; i < length; ++i)
            t.dx.push_back(r.word(dxAt / 2 + i));
    return t;
}

WmfFontInfo wmfFont(const WmfRecord& r)
{
    WmfFontInfo font;
    font.height = r.word(0);
    font.weight = r.word(4);
    font.charset = static_cast<quint8>(r.params[13]);
    const QByteArray face = r.params.mid(18);
    font.face = decodeCp932(face.left(face.indexOf('\0')));
    return font;
}

} // namespace nobrisa
