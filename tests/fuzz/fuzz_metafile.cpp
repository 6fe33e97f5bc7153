// The metafile writers on a fuzzed page recording: both files read back cleanly with the tests'
// readers, with as many shapes, objects and texts as the page has, and every text as drawn
// (CP932 in the WMF, where characters it lacks become '?', and coordinates clamped to 16 bits).
#include "fuzzcheck.h"

#include "preview/emfreader.h"
#include "preview/metafileexport.h"
#include "preview/wmfreader.h"
#include "text/encoding.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using namespace nobrisa;

namespace {

constexpr std::size_t kMaxCalls = 200;

int coordinate(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-20000, 20000) : in.ConsumeIntegral<int>();
}

QString text(FuzzedDataProvider& in, std::size_t maxBytes)
{
    const bool utf16 = in.ConsumeBool();
    const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
    return fuzz::textOf(QByteArray::fromStdString(bytes), utf16);
}

DeviceRect rect(FuzzedDataProvider& in)
{
    DeviceRect r;
    r.left = coordinate(in);
    r.top = coordinate(in);
    r.right = coordinate(in);
    r.bottom = coordinate(in);
    return r;
}

PageRecording recording(FuzzedDataProvider& in)
{
    using Kind = DrawCall::Kind;
    PageRecording page;
    while (in.remaining_bytes() > 0 && page.calls.size() < kMaxCalls) {
        DrawCall c;
        c.kind = in.PickValueInArray({Kind::Font, Kind::BkTransparent, Kind::Pen, Kind::Brush,
                                      Kind::Rectangle, Kind::Ellipse, Kind::RoundRect, Kind::MoveTo,
                                      Kind::LineTo, Kind::TextOut, Kind::TextRun});
        switch (c.kind) {
        case Kind::Font:
            c.font.face = text(in, 80);
            c.font.height = coordinate(in);
            break;
        case Kind::BkTransparent:
            break;
        case Kind::Pen:
            c.color = QColor::fromRgb(in.ConsumeIntegral<QRgb>());
            c.penStyle = in.ConsumeBool() ? Canvas::PenStyle::Dot : Canvas::PenStyle::Solid;
            c.width = in.ConsumeIntegralInRange(-10, 70000);
            break;
        case Kind::Brush:
            c.color = QColor::fromRgb(in.ConsumeIntegral<QRgb>());
            c.clearBrush = in.ConsumeBool();
            break;
        case Kind::Rectangle:
        case Kind::Ellipse:
        case Kind::RoundRect:
            c.rect = rect(in);
            c.x = coordinate(in);
            c.y = coordinate(in);
            break;
        case Kind::MoveTo:
        case Kind::LineTo:
            c.x = coordinate(in);
            c.y = coordinate(in);
            break;
        case Kind::TextOut:
        case Kind::TextRun:
            c.x = coordinate(in);
            c.y = coordinate(in);
            c.text = text(in, 200);
            c.rect = rect(in);
            break;
        }
        page.calls.push_back(std::move(c));
    }
    return page;
}

int clamped16(int v)
{
    return std::clamp(v, -32767, 32767);
}

// The text records a reader should give for the page's texts, and how many records of each
// kind of shape and object.
QStringList expectedTexts(const PageRecording& page, bool wmf)
{
    QStringList out;
    for (const DrawCall& c : page.calls) {
        if (c.kind != DrawCall::Kind::TextOut && c.kind != DrawCall::Kind::TextRun)
            continue;
        const auto at = [wmf](int v) { return wmf ? clamped16(v) : v; };
        QString record = QStringLiteral("text %1 %2 ").arg(at(c.x)).arg(at(c.y)) +
                         (wmf ? decodeCp932(encodeCp932(c.text)) : c.text);
        if (c.kind == DrawCall::Kind::TextRun)
            record += QStringLiteral(" clip %1 %2 %3 %4")
                          .arg(at(c.rect.left))
                          .arg(at(c.rect.top))
                          .arg(at(c.rect.right))
                          .arg(at(c.rect.bottom));
        out << record;
    }
    return out;
}

qsizetype countCalls(const PageRecording& page, DrawCall::Kind kind)
{
    return std::count_if(page.calls.begin(), page.calls.end(),
                         [kind](const DrawCall& c) { return c.kind == kind; });
}

qsizetype countRecords(const QStringList& records, const char* name)
{
    const QString prefix = QString::fromLatin1(name) + u' ';
    return std::count_if(records.begin(), records.end(), [&](const QString& r) {
        return r.startsWith(prefix) || r == QLatin1String(name);
    });
}

void checkRecords(const PageRecording& page, const QStringList& records, bool wmf)
{
    const QString all = records.join(u'\n');
    QStringList texts;
    for (const QString& r : records)
        if (r.startsWith(QLatin1String("text ")))
            texts << r;
    const QStringList expected = expectedTexts(page, wmf);
    fuzz::check(texts == expected, wmf ? "WMF texts" : "EMF texts",
                all + QStringLiteral("\nexpected texts:\n") + expected.join(u'\n'));
    using Kind = DrawCall::Kind;
    const bool counts = countRecords(records, "font") == countCalls(page, Kind::Font) &&
                        countRecords(records, "pen") == countCalls(page, Kind::Pen) &&
                        countRecords(records, "brush") == countCalls(page, Kind::Brush) &&
                        countRecords(records, "rect") == countCalls(page, Kind::Rectangle) &&
                        countRecords(records, "move") == countCalls(page, Kind::MoveTo) &&
                        countRecords(records, "line") == countCalls(page, Kind::LineTo) &&
                        countRecords(records, "bk") == countCalls(page, Kind::BkTransparent);
    fuzz::check(counts, wmf ? "WMF record counts" : "EMF record counts", all);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    PictureSize picture;
    picture.width = in.ConsumeIntegralInRange(0, 40000);
    picture.height = in.ConsumeIntegralInRange(0, 40000);
    picture.pixelsPerInch = in.ConsumeIntegralInRange(0, 4800);
    const PageRecording page = recording(in);

    const WmfFile wmf = readWmf(wmfFromRecording(page, picture));
    fuzz::check(wmf.error.isEmpty(), "WMF reads back", wmf.error);
    checkRecords(page, wmf.records, true);

    const EmfFile emf = readEmf(emfFromRecording(page, picture));
    fuzz::check(emf.error.isEmpty(), "EMF reads back", emf.error);
    checkRecords(page, emf.records, false);
    return 0;
}
