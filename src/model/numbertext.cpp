#include "model/numbertext.h"

#include <algorithm>
#include <limits>

namespace nobrisa {

bool parseWholeNumber(const QString& text, int* value) noexcept
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'-' || t[0] == u'+') {
        negative = t[0] == u'-';
        i = 1;
    }
    if (i == t.size())
        return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    if (value)
        *value = static_cast<int>(v);
    return true;
}

void NumberText::setValue(int value)
{
    mText = QString::number(std::clamp(value, mMin, mMax));
}

int NumberText::toInt(int fallback) const noexcept
{
    int v = 0;
    return parseWholeNumber(text(), &v) ? v : fallback;
}

int NumberText::value(int fallback) const noexcept
{
    return std::clamp(toInt(fallback), mMin, mMax);
}

void NumberText::clampOnLeave()
{
    int v = 0;
    if (parseWholeNumber(text(), &v) && (v < mMin || v > mMax))
        setValue(v);
}

} // namespace nobrisa
