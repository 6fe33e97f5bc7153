#include "preview/papersizetext.h"

#include "preview/halfeven.h"

#include <array>
#include <cstdint>

namespace nobrisa {

namespace {

// Names of the standard paper codes 1..23; sizes in millimetres, width x height. Envelope #12
// (4 3/4 x 11 in) is given in whole millimetres like the other envelopes.
const std::array<QString, 23>& paperNames()
{
    static const std::array<QString, 23> names = {
        QStringLiteral("ﾚﾀｰ 216x279"),        // 1
        QStringLiteral("ﾚﾀｰS 216x279"),       // 2
        QStringLiteral("ﾀﾌﾞﾛｲﾄﾞ 279x432"),    // 3
        QStringLiteral("Ledger 432x279"),     // 4
        QStringLiteral("Legal 216x356"),      // 5
        QStringLiteral("ｽﾃｰﾄﾒﾝﾄ 140x216"),    // 6
        QStringLiteral("ｴｸﾞｾﾞｸﾃｨﾌﾞ 184x267"), // 7
        QStringLiteral("A3 297x420"),         // 8
        QStringLiteral("A4 210x297"),         // 9
        QStringLiteral("A4S 210x297"),        // 10
        QStringLiteral("A5 148x210"),         // 11
        QStringLiteral("B4 250x354"),         // 12
        QStringLiteral("B5 182x257"),         // 13
        QStringLiteral("ﾌｫﾘｵ 216x330"),       // 14
        QStringLiteral("ｸﾜﾄﾛ 215x275"),       // 15
        QStringLiteral("10x14 ｲﾝﾁ"),          // 16
        QStringLiteral("11x17 ｲﾝﾁ"),          // 17
        QStringLiteral("ﾉｰﾄ 216x279"),        // 18
        QStringLiteral("#9 98x225"),          // 19
        QStringLiteral("#10 105x241"),        // 20
        QStringLiteral("#11 114x264"),        // 21
        QStringLiteral("#12 121x279"),        // 22
        QStringLiteral("#14 127x292"),        // 23
    };
    return names;
}

// px printer pixels at ppi as whole millimetres: px × 254 ÷ (ppi × 10).
std::int64_t millimetres(int px, int ppi)
{
    return divRoundHalfEven(std::int64_t{px} * 254, std::int64_t{ppi} * 10);
}

} // namespace

QString paperName(int paperCode, const QString& measuredSize)
{
    const auto& names = paperNames();
    if (paperCode >= 1 && paperCode <= static_cast<int>(names.size()))
        return names[static_cast<std::size_t>(paperCode - 1)];
    return measuredSize;
}

QString PaperSizeText(PaperText kind, const DeviceQuery& printer, int paperCode, int windowPpi)
{
    int ppiX = printer.deviceCaps(DeviceCap::LogPixelsX);
    int ppiY = printer.deviceCaps(DeviceCap::LogPixelsY);
    if (ppiX < 1)
        ppiX = ppiY;
    if (ppiY < 1)
        ppiX = ppiY = windowPpi;
    // A window without a resolution either: measure at the usual screen resolution rather
    // than divide by zero.
    if (ppiY < 1)
        ppiX = ppiY = 96;
    const QString measured =
        QStringLiteral("%1x%2")
            .arg(millimetres(printer.deviceCaps(DeviceCap::PhysicalWidth), ppiX))
            .arg(millimetres(printer.deviceCaps(DeviceCap::PhysicalHeight), ppiY));
    return kind == PaperText::MeasuredSize ? measured : paperName(paperCode, measured);
}

QStringList paperPreviewZoomItems()
{
    return {QStringLiteral("25"),  QStringLiteral("50"),  QStringLiteral("75"),
            QStringLiteral("100"), QStringLiteral("125"), QStringLiteral("150"),
            QStringLiteral("175"), QStringLiteral("200")};
}

int paperPreviewZoomFromText(const QString& text)
{
    bool ok = false;
    const int zoom = text.toInt(&ok, 10);
    return ok ? zoom : kPaperPreviewZoom;
}

} // namespace nobrisa
