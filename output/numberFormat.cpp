#include "output/numberFormat.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "points/wordScan.h"

void trimNumber(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    while (!text.empty()) {
        char last = text.back();
        if (last == '0') {
            text.pop_back();
        } else {
            if (last == '.') text.pop_back();
            break;
        }
    }
}

// The eight decimal digits of value (below 10^8, leading zeros included) as the characters
// of a word, the first in the lowest byte: the value is split into halves, quarters and
// single digits in the lanes of one 64-bit number, each split a multiplication by a
// fixed-point reciprocal that is exact over the lane's range.
static inline uint64_t eightDigits(uint64_t value) {
    uint64_t v = (value / 10000) | ((value % 10000) << 32);
    const uint64_t hundreds = ((v * 10486) >> 20) & 0x0000007F0000007FULL;
    v = hundreds | ((v - hundreds * 100) << 16);
    const uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000FULL;
    v = tens | ((v - tens * 10) << 8);
    return v + 0x3030303030303030ULL;
}

// Writes the fixed form of scaled / 10^decimals from the digits of scaled at digits (at
// least one more than the decimals), trimmed.
static char* putDigits(char* out, const char* digits, int length, int decimals) {
    if (length <= decimals) return out;  // never: callers give at least one whole digit
    const int whole = length - decimals;
    std::memcpy(out, digits, static_cast<size_t>(whole));
    int kept = decimals;
    while (kept > 0 && digits[whole + kept - 1] == '0') --kept;
    if (kept == 0) return out + whole;
    out[whole] = '.';
    std::memcpy(out + whole + 1, digits + whole, static_cast<size_t>(kept));
    return out + whole + 1 + kept;
}

// Writes scaled / 10^decimals (decimals 2 or 3) in fixed form, trimmed. Up to 16 digits,
// the common case, the digits are made in two words and placed with shifts and stores
// alone; a text read back from memory just written would wait for the stores.
template <int decimals>
static inline char* putScaled(char* out, uint64_t scaled) {
    // Digits of scaled from its bit length (1233 / 4096 is just above log10 2), at least
    // one more than the decimals.
    static const uint64_t kPowers[] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL,
                                       10000000ULL, 100000000ULL, 1000000000ULL, 10000000000ULL,
                                       100000000000ULL, 1000000000000ULL, 10000000000000ULL,
                                       100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL,
                                       100000000000000000ULL, 1000000000000000000ULL, 10000000000000000000ULL};
    const int estimate = ((64 - __builtin_clzll(scaled | 1)) * 1233) >> 12;
    int length = estimate + (scaled >= kPowers[estimate] ? 1 : 0);
    if (length < decimals + 1) length = decimals + 1;
    if (length > 16) {
        char digits[24];
        const int written = static_cast<int>(std::to_chars(digits, digits + sizeof digits, scaled).ptr - digits);
        return putDigits(out, digits, written, decimals);
    }

    // The 16 digits, leading zeros included, then shifted so that the first one counted
    // stands in the lowest byte. Eight digits or fewer need only the low word.
    const int whole = length - decimals;
    uint64_t fractionText;
    if (length <= 8) {
        const uint64_t text = eightDigits(scaled) >> (8 * (8 - length));
        std::memcpy(out, &text, 8);
        fractionText = text >> (8 * whole);
    } else {
        unsigned __int128 text = (static_cast<unsigned __int128>(eightDigits(scaled % 100000000)) << 64) |
                                 eightDigits(scaled / 100000000);
        text >>= 8 * (16 - length);
        std::memcpy(out, &text, 16);
        fractionText = static_cast<uint64_t>(text >> (8 * whole));
    }
    // The fraction goes after the point whether or not any of it is kept; the end drops
    // its zeros, and the point too when nothing is left, without a branch on the digits:
    // kept is the place of the last fraction digit that is not '0'.
    const uint64_t fractionDigits = (uint64_t(1) << (8 * decimals)) - 1;
    const uint64_t nonZero = ~bytesEqual(fractionText, '0') & kHighBits & fractionDigits;
    const int kept = nonZero ? ((63 - __builtin_clzll(nonZero)) >> 3) + 1 : 0;
    out[whole] = '.';
    const uint32_t fraction = static_cast<uint32_t>(fractionText);
    std::memcpy(out + whole + 1, &fraction, sizeof fraction);
    return out + whole + (kept ? 1 + kept : 0);
}

// The fixed form of the values survey files hold, worked out exactly in whole numbers.
// A double of magnitude in [2^-11, 2^53) is m * 2^-shift with m below 2^53 and shift
// 0 to 63, so value * 10^decimals is m * 10^decimals (below 2^63) shifted right; the
// bits shifted out decide the rounding: above half up, exactly half to the even digit, as
// printf rounds. Returns the end of the trimmed text, or nullptr for any other value.
template <int decimals>
static inline char* putShortFixed(char* out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased < 1012 || biased > 1075) return nullptr;
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
    const int shift = 1075 - biased;
    const uint64_t scaled = mantissa * (decimals == 3 ? 1000 : 100);
    uint64_t rounded = scaled >> shift;
    if (shift > 0) {
        const uint64_t rest = scaled & ((uint64_t(1) << shift) - 1);
        const uint64_t half = uint64_t(1) << (shift - 1);
        // Without a branch: which way a value rounds is as good as random.
        rounded += static_cast<uint64_t>(rest > half) | (static_cast<uint64_t>(rest == half) & rounded & 1);
    }
    if (bits >> 63) *out++ = '-';  // printf keeps the sign of a negative value that rounds to 0
    return putScaled<decimals>(out, rounded);
}

// Every other value: to_chars in fixed form gives printf's digits, exactly rounded, with no
// locale and no allocation; the room covers every double, so it cannot run short. Kept
// apart, so that the common path needs no stack frame.
__attribute__((noinline)) static char* putLongFixed(char* out, double value, int decimals) {
    const std::to_chars_result written =
        std::to_chars(out, out + NUMBER_TEXT_MAX, value, std::chars_format::fixed, decimals == 3 ? 3 : 2);
    char* end = written.ptr;
    if (written.ec != std::errc()) return out;
    // Trim as trimNumber does: only after a point, which fixed form writes 3 or 4 from the end.
    if (std::memchr(out, '.', static_cast<size_t>(end - out))) {
        while (end[-1] == '0') --end;
        if (end[-1] == '.') --end;
    }
    return end;
}

char* putNumber2(char* out, double value) {
    if (char* end = putShortFixed<2>(out, value)) return end;
    return putLongFixed(out, value, 2);
}

char* putNumber3(char* out, double value) {
    if (char* end = putShortFixed<3>(out, value)) return end;
    return putLongFixed(out, value, 3);
}

char* putNumber(char* out, double value, int decimals) {
    return decimals == 3 ? putNumber3(out, value) : putNumber2(out, value);
}

std::string formatNumber(double value, int decimals) {
    char text[NUMBER_TEXT_MAX];
    return std::string(text, putNumber(text, value, decimals));
}
