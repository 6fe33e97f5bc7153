#pragma once

#include <cstdint>
#include <limits>

namespace nobrisa {

// num / den rounded to the nearest integer, ties to the even one, saturated to 64 bits. Exact
// on integers: products of 32-bit values fit 128 bits, so no tie is lost to floating point.
// den must not be 0.
constexpr std::int64_t divRoundHalfEven(__int128 num, __int128 den) noexcept
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    __int128 q = num / den;
    __int128 r = num % den;
    if (r < 0) { // floor division
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && q % 2 != 0))
        ++q;
    constexpr __int128 lo = std::numeric_limits<std::int64_t>::min();
    constexpr __int128 hi = std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(q < lo ? lo : q > hi ? hi : q);
}

} // namespace nobrisa
