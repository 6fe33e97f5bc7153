// The subscriber and payer text imports: any file gives the fields, and the three-part numbers
// are cut from the text without losing or inventing a character.
#include "fuzzcheck.h"

#include "aids/csv.h"
#include "aids/textimport.h"

#include <algorithm>

using namespace nobrisa;

namespace {

bool allDigits(const QString& text)
{
    return LeadingDigitCount(text) == text.size();
}

void checkParts(const QString& text)
{
    const ThreeParts parts = cutThreeParts(text);
    fuzz::check(allDigits(parts.part1) && allDigits(parts.part2), "digit groups", text);
    const qsizetype separators =
        text.size() - parts.part1.size() - parts.part2.size() - parts.part3.size();
    fuzz::check(separators >= 0 && separators <= 2 && text.startsWith(parts.part1) &&
                    text.endsWith(parts.part3),
                "parts cut from the text", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QStringList lines = textFileLines(bytes);
    fuzz::check(lines == csvLines(bytes), "read as the CSV file is read");

    const SubscriberText subscriber = readSubscriberText(lines);
    if (ToHalfWidth(lines.value(0)).contains(u'-'))
        fuzz::check(allDigits(subscriber.Ekouza1) && allDigits(subscriber.Ekouza2),
                    "account digits", subscriber.Ekouza1 + u'|' + subscriber.Ekouza2);

    const PayerText payer = readPayerText(lines);
    fuzz::check(allDigits(payer.Etele1) && allDigits(payer.Etele2), "telephone digits");
    // The lines hold no line break, so the address has one between each two of its lines.
    fuzz::check(lines.size() < 3 || payer.Maddres.count(QStringLiteral("\r\n")) == lines.size() - 3,
                "address lines between the first and the last", payer.Maddres);

    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 64); ++i) {
        const QString half = ToHalfWidth(lines[i]);
        fuzz::check(half.size() == lines[i].size(), "one character for one", lines[i]);
        checkParts(half);
        checkParts(lines[i]);
    }
    return 0;
}
