#include "preview/wmfreader.h"

#include "text/encoding.h"

#include <QColor>

#include <map>

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

// How each record is written out: its name, then its 16-bit words by index, "cN" the colour
// at byte N.
const std::map<quint16, QString> kLayouts = {
    {0x020B, "org 1 0"},      {0x020C, "ext 1 0"},  {0x0102, "bk 0"},
    {0x0209, "textcolor c0"}, {0x012E, "align 0"},  {0x02FA, "pen 0 1 c6"},
    {0x02FC, "brush 0 c2"},   {0x012D, "select 0"}, {0x01F0, "delete 0"},
    {0x041B, "rect 3 2 1 0"}, {0x0214, "move 1 0"}, {0x0213, "line 1 0"},
    {0x0000, "end"}};

QString describe(quint16 function, const QByteArray& p, std::vector<std::vector<int>>& dx)
{
    const auto w = [&p](int i) { return 2 * i + 1 < p.size() ? qint16(u16(p, 2 * i)) : 0; };
    const auto colour = [&p](int at) {
        return QColor(quint8(p[at]), quint8(p[at + 1]), quint8(p[at + 2])).name();
    };
    if (function == 0x02FB) {
        const QByteArray face = p.mid(18);
        return QStringLiteral("font %1 %2 %3 ").arg(w(0)).arg(w(4)).arg(quint8(p[13])) +
               decodeCp932(face.left(face.indexOf('\0')));
    }
    if (function == 0x0A32) {
        const int length = w(2);
        const int textAt = (w(3) & 6) ? 16 : 8; // a clip or opaque rectangle comes first
        const int dxAt = (textAt + (length + 1) / 2 * 2) / 2;
        dx.emplace_back();
        for (int i = 0; 2 * dxAt < p.size() && i < length; ++i)
            dx.back().push_back(w(dxAt + i));
        const QString clip = QStringLiteral(" clip %1 %2 %3 %4").arg(w(4)).arg(w(5)).arg(w(6));
        return QStringLiteral("text %1 %2 ").arg(w(1)).arg(w(0)) +
               decodeCp932(p.mid(textAt, length)) + ((w(3) & 4) ? clip.arg(w(7)) : QString());
    }
    if (!kLayouts.contains(function))
        return QStringLiteral("0x%1").arg(function, 4, 16, QChar(u'0'));
    QStringList out = kLayouts.at(function).split(u' ');
    for (qsizetype i = 1; i < out.size(); ++i)
        out[i] = out[i].startsWith(u'c') ? colour(out[i].mid(1).toInt())
                                         : QString::number(w(out[i].toInt()));
    return out.join(u' ');
}

} // namespace

WmfFile readWmf(const QByteArray& b)
{
    WmfFile f;
    quint16 checksum = 0;
    for (int i = 0; i < 20 && b.size() >= 22 + 18; i += 2)
        checksum ^= u16(b, i);
    if (b.size() < 22 + 18 || u32(b, 0) != 0x9AC6CDD7u || checksum != u16(b, 20)) {
        f.error = QStringLiteral("no placeable header, or its checksum is wrong");
        return f;
    }
    f.width = qint16(u16(b, 10)) - qint16(u16(b, 6));
    f.height = qint16(u16(b, 12)) - qint16(u16(b, 8));
    f.unitsPerInch = u16(b, 14);
    f.objectCount = u16(b, 32);
    f.largestRecordWords = static_cast<int>(u32(b, 34));
    if (u16(b, 22) != 1 || u16(b, 24) != 9 || 22 + 2 * qint64(u32(b, 28)) != b.size()) {
        f.error = QStringLiteral("bad metafile header, or its size differs from the file's");
        return f;
    }
    qsizetype at = 22 + 18;
    while (at + 6 <= b.size() && !f.records.endsWith(QStringLiteral("end"))) {
        const qint64 words = u32(b, at);
        if (words < 3 || at + 2 * words > b.size() || words > f.largestRecordWords) {
            f.error = QStringLiteral("bad record size at %1").arg(at);
            return f;
        }
        f.records << describe(u16(b, at + 4), b.mid(at + 6, 2 * words - 6), f.dx);
        at += 2 * words;
    }
    if (at != b.size() || !f.records.endsWith(QStringLiteral("end")))
        f.error = QStringLiteral("no end record at the end");
    return f;
}

} // namespace nobrisa
