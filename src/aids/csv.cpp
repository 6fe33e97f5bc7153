#include "aids/csv.h"

#include "model/stringtable.h"
#include "text/encoding.h"

namespace nobrisa {

namespace {

qsizetype skipBlankCodes(QStringView line, qsizetype pos) noexcept
{
    while (pos < line.size() && isBlankCode(line[pos]))
        ++pos;
    return pos;
}

bool startsWithUtf16Mark(const QByteArray& bytes) noexcept
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

} // namespace

QString csvText(const QByteArray& bytes)
{
    // Outside UTF-16 a zero byte is always NUL, so the bytes are cut before decoding: whatever
    // follows (the rest of a binary file) neither costs time nor sways the choice of encoding.
    if (!startsWithUtf16Mark(bytes)) {
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            return decodeText(bytes.left(nul));
    }
    QString text = decodeText(bytes);
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

qsizetype countNonTextCharacters(QStringView text) noexcept
{
    qsizetype count = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control =
            u < 0x20 && u != u'\t' && u != u'\n' && u != u'\v' && u != u'\f' && u != u'\r';
        if (control || (u >= 0x7F && u <= 0x9F) || u == 0xFFFD)
            ++count;
    }
    return count;
}

bool CsvLineCursor::next(QStringView& line) noexcept
{
    if (mRest.isEmpty())
        return false;
    const qsizetype size = mRest.size();
    qsizetype end = 0;
    while (end < size && mRest[end] != u'\r' && mRest[end] != u'\n')
        ++end;
    line = mRest.first(end);
    qsizetype next = end;
    if (end < size)
        next += mRest[end] == u'\r' && end + 1 < size && mRest[end + 1] == u'\n' ? 2 : 1;
    // A break at the very end leaves nothing behind it, so no further (empty) line follows.
    mRest = mRest.sliced(next);
    return true;
}

QStringList csvLines(const QByteArray& bytes)
{
    const QString text = csvText(bytes);
    QStringList lines;
    CsvLineCursor cursor(text);
    QStringView line;
    while (cursor.next(line))
        lines.append(line.toString());
    return lines;
}

// Reads the quoted field whose opening quote is just before `pos`; returns the position after
// the closing quote, or the line's end when none closes it.
qsizetype CsvFieldSplitter::readQuoted(QStringView line, qsizetype pos)
{
    const qsizetype end = line.size();
    qsizetype segment = pos;
    bool doubled = false;
    const qsizetype bufferStart = mUnquoted.size();
    bool closed = false;
    while (pos < end) {
        if (line[pos] != u'"') {
            ++pos;
            continue;
        }
        if (pos + 1 < end && line[pos + 1] == u'"') {
            // Keep the text up to and including the first quote of the pair.
            mUnquoted.append(line.sliced(segment, pos + 1 - segment));
            doubled = true;
            pos += 2;
            segment = pos;
            continue;
        }
        closed = true;
        break;
    }
    if (doubled) {
        mUnquoted.append(line.sliced(segment, pos - segment));
        mPieces.push_back({true, bufferStart, mUnquoted.size() - bufferStart});
    } else {
        mPieces.push_back({false, segment, pos - segment});
    }
    return closed ? pos + 1 : pos;
}

const std::vector<QStringView>& CsvFieldSplitter::split(QStringView line, std::size_t limit)
{
    mPieces.clear();
    mUnquoted.resize(0); // keeps the buffer for the next line
    const qsizetype end = line.size();
    qsizetype pos = skipBlankCodes(line, 0);
    while (pos < end && mPieces.size() <= limit) {
        if (line[pos] == u'"') {
            pos = readQuoted(line, pos + 1);
        } else {
            // Up to the comma, blanks inside included: spreadsheets quote only values that hold
            // a comma, a quote or a line break, so «山田 太郎» comes unquoted. Blanks at the
            // value's end are dropped as those before it were.
            const qsizetype begin = pos;
            qsizetype valueEnd = pos;
            while (pos < end && line[pos] != u',') {
                if (!isBlankCode(line[pos]))
                    valueEnd = pos + 1;
                ++pos;
            }
            mPieces.push_back({false, begin, valueEnd - begin});
        }
        pos = skipBlankCodes(line, pos);
        if (pos < end && line[pos] == u',') {
            if (pos + 1 == end)
                mPieces.push_back({false, end, 0});
            pos = skipBlankCodes(line, pos + 1);
        }
    }
    // Views are made only now: the buffer may have moved while it grew.
    mFields.clear();
    const QStringView buffer(mUnquoted);
    for (const Piece& piece : mPieces)
        mFields.push_back((piece.inBuffer ? buffer : line).sliced(piece.begin, piece.size));
    return mFields;
}

QStringList splitCsvFields(QStringView line)
{
    CsvFieldSplitter splitter;
    QStringList fields;
    for (QStringView field : splitter.split(line))
        fields.append(field.toString());
    return fields;
}

} // namespace nobrisa
