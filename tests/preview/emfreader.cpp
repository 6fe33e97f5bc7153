#include "preview/emfreader.h"

#include <QColor>

#include <map>

namespace nobrisa {
namespace {

qint32 i32(const QByteArray& b, qsizetype at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | (at + i < b.size() ? static_cast<quint8>(b[at + i]) : 0);
    return static_cast<qint32>(v);
}

QString utf16(const QByteArray& b, qsizetype at, qsizetype units)
{
    QString s;
    for (qsizetype i = 0; i < units && at + 2 * i + 1 < b.size(); ++i)
        s.append(QChar(static_cast<char16_t>(static_cast<quint8>(b[at + 2 * i]) |
                                             static_cast<quint8>(b[at + 2 * i + 1]) << 8)));
    return s;
}

// How each record is written out: its name, then its 32-bit fields by index, "cN" field N as a
// colour, "sN" field N as an object slot counted from 0.
const std::map<quint32, QString> kLayouts = {
    {18, "bk 0"},       {24, "textcolor c0"}, {22, "align 0"},   {38, "pen 1 2 c4"},
    {39, "brush 1 c2"}, {37, "select s0"},    {40, "delete s0"}, {43, "rect 0 1 2 3"},
    {27, "move 0 1"},   {54, "line 0 1"},     {14, "end"}};

// `d` is the record after its type and size; the offsets a record holds count from its start,
// 8 bytes before `d`.
QString describe(quint32 type, const QByteArray& d, EmfFile& f)
{
    const auto field = [&d](int i) { return i32(d, 4 * i); };
    if (type == 38 || type == 39 || type == 82)
        f.createdSlots.push_back(field(0));
    if (type == 82) {
        const QString face = utf16(d, 4 + 28, 32);
        return QStringLiteral("font %1 %2 %3 ").arg(field(1)).arg(field(5)).arg(quint8(d[27])) +
               face.left(face.indexOf(QChar(0)));
    }
    if (type == 84) {
        f.advances.emplace_back();
        for (int i = 0; field(16) != 0 && i < field(9); ++i)
            f.advances.back().push_back(i32(d, field(16) - 8 + 4 * i));
        const QString clip =
            QStringLiteral(" clip %1 %2 %3 %4").arg(field(12)).arg(field(13)).arg(field(14));
        return QStringLiteral("text %1 %2 ").arg(field(7)).arg(field(8)) +
               utf16(d, field(10) - 8, field(9)) + ((field(11) & 4) ? clip.arg(field(15)) : "");
    }
    if (!kLayouts.contains(type))
        return QStringLiteral("type %1").arg(type);
    QStringList out = kLayouts.at(type).split(u' ');
    for (qsizetype i = 1; i < out.size(); ++i) {
        const int value = field(out[i].mid(out[i][0].isDigit() ? 0 : 1).toInt());
        out[i] = out[i][0] == u'c'   ? QColor(value & 0xFF, value >> 8 & 0xFF, value >> 16).name()
                 : out[i][0] == u's' ? QString::number(value - 1)
                                     : QString::number(value);
    }
    return out.join(u' ');
}

} // namespace

EmfFile readEmf(const QByteArray& b)
{
    EmfFile f;
    if (b.size() < 108 || i32(b, 0) != 1 || i32(b, 40) != 0x464D4520 || i32(b, 48) != b.size()) {
        f.error = QStringLiteral("no header, or its size differs from the file's");
        return f;
    }
    for (int i = 0; i < 4; ++i) {
        f.bounds.push_back(i32(b, 8 + 4 * i));
        f.frame.push_back(i32(b, 24 + 4 * i));
    }
    f.millimetres = {i32(b, 80), i32(b, 84)};
    f.handleCount = i32(b, 56) & 0xFFFF;
    f.description = utf16(b, i32(b, 64), i32(b, 60));
    qsizetype at = i32(b, 4); // past the header record
    while (at + 8 <= b.size()) {
        const qint32 size = i32(b, at + 4);
        if (size < 8 || size % 4 || at + size > b.size()) {
            f.error = QStringLiteral("bad record size at %1").arg(at);
            return f;
        }
        f.records << describe(static_cast<quint32>(i32(b, at)), b.mid(at + 8, size - 8), f);
        at += size;
    }
    if (at != b.size() || !f.records.endsWith("end") || f.records.size() + 1 != i32(b, 52))
        f.error = QStringLiteral("records do not end with the end record as counted");
    return f;
}

} // namespace nobrisa
