#include "output/numberFormat.h"

#include <charconv>
#include <system_error>

// A first word of digits without leading zeros and a second of all eight, then the
// fraction.
SKERROW_NOINLINE char* putLongWhole(char* out, uint64_t whole, uint64_t fractionEntry) {
    const uint64_t high = whole / 100000000;
    out = putUpToEight(out, static_cast<uint32_t>(high));
    const uint64_t low = eightDigits(static_cast<uint32_t>(whole - high * 100000000)) + kZeroDigits;
    std::memcpy(out, &low, 8);
    return putFraction(out + 8, fractionEntry);
}

// to_chars in fixed form gives printf's digits, exactly rounded, with no locale and no
// allocation; the room covers every double, so it cannot run short.
SKERROW_NOINLINE char* putLongFixed(char* out, double value, int decimals) {
    const std::to_chars_result written =
        std::to_chars(out, out + kNumberTextMax, value, std::chars_format::fixed, decimals == 3 ? 3 : 2);
    char* end = written.ptr;
    if (written.ec != std::errc()) return out;
    // Trimmed only after a point, which fixed form writes 3 or 4 from the end.
    if (std::memchr(out, '.', static_cast<size_t>(end - out))) {
        while (end[-1] == '0') --end;
        if (end[-1] == '.') --end;
    }
    return end;
}
