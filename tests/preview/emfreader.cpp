#include "preview/emfreader.h"

namespace nobrisa {
namespace {

quint32 u32(const QByteArray& b, qsizetype at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<quint8>(b[at + i]);
    return v;
}

QString utf16(const QByteArray& b, qsizetype at, qsizetype units)
{
    QString s;
    for (qsizetype i = 0; i < units && at + 2 * i + 1 < b.size(); ++i)
        s.append(QChar(static_cast<char16_t>(static_cast<quint8>(b[at + 2 * i]) |
                                             static_cast<quint8>(b[at + 2 * i + 1]) << 8)));
    return s;
}

} // namespace

int EmfRecord::field(int i) const
{
    return 4 * i + 3 < data.size() ? static_cast<qint32>(u32(data, 4 * i)) : 0;
}

std::vector<const EmfRecord*> EmfFile::withType(quint32 type) const
{
    std::vector<const EmfRecord*> out;
    for (const EmfRecord& r : records)
        if (r.type == type)
            out.push_back(&r);
    return out;
}

EmfFile readEmf(const QByteArray& b)
{
    EmfFile f;
    if (b.size() < 108 || u32(b, 0) != 1 || u32(b, 40) != 0x464D4520u) {
        f.error = QStringLiteral("no header");
        return f;
    }
    if (u32(b, 48) != static_cast<quint32>(b.size())) {
        f.error = QStringLiteral("size in the header differs from the file's");
        return f;
    }
    for (int i = 0; i < 4; ++i) {
        f.bounds[i] = static_cast<qint32>(u32(b, 8 + 4 * i));
        f.frame[i] = static_cast<qint32>(u32(b, 24 + 4 * i));
    }
    f.recordCount = u32(b, 52);
    f.handleCount = static_cast<quint8>(b[56]) | static_cast<quint8>(b[57]) << 8;
    f.description = utf16(b, u32(b, 64), u32(b, 60));
    for (int i = 0; i < 2; ++i) {
        f.device[i] = static_cast<qint32>(u32(b, 72 + 4 * i));
        f.millimetres[i] = static_cast<qint32>(u32(b, 80 + 4 * i));
    }
    qsizetype at = 0;
    while (at + 8 <= b.size()) {
        const quint32 size = u32(b, at + 4);
        if (size < 8 || size % 4 || at + size > b.size()) {
            f.error = QStringLiteral("bad record size at %1").arg(at);
            return f;
        }
        f.records.push_back({u32(b, at), b.mid(at + 8, size - 8)});
        at += size;
    }
    if (at != b.size() || f.records.back().type != 14 || f.records.size() != f.recordCount)
        f.error = QStringLiteral("records do not end with the end record as counted");
    return f;
}

EmfText emfText(const EmfRecord& r)
{
    // Offsets in the record count its type and size, 8 bytes before `data`.
    EmfText t;
    t.x = r.field(7);
    t.y = r.field(8);
    const int chars = r.field(9);
    t.text = utf16(r.data, r.field(10) - 8, chars);
    if (const int dxAt = r.field(16); dxAt != 0)
        for (int i = 0; i < chars; ++i)
            t.advances.push_back(static_cast<qint32>(u32(r.data, dxAt - 8 + 4 * i)));
    return t;
}

EmfFontInfo emfFont(const EmfRecord& r)
{
    EmfFontInfo font;
    font.height = r.field(1);
    font.charset = static_cast<quint8>(r.data[4 + 20 + 3]);
    font.face = utf16(r.data, 4 + 28, 32);
    font.face.truncate(font.face.indexOf(QChar(0)));
    return font;
}

} // namespace nobrisa
