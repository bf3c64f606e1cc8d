// The fixed form of the values survey files hold, "%.2lf" or "%.3lf" as printf writes
// them and trimmed, worked out exactly in whole numbers: inline, as the writer's loops
// write two or three of them a line. Every other value goes to putLongFixed.
#ifndef SKERROW_OUTPUT_SHORTFIXED_H
#define SKERROW_OUTPUT_SHORTFIXED_H

#include <cstdint>
#include <cstring>

#include "reader/bits.h"

// The eight decimal digits of value (below 10^8, leading zeros included) as the bytes of a
// word, each the digit's value, the first in the lowest byte: the value is split into
// halves, quarters and single digits in the lanes of one 64-bit number, each split a
// multiplication by a fixed-point reciprocal that is exact over the lane's range.
inline uint64_t eightDigits(uint32_t value) {
    const uint32_t high = value / 10000;
    uint64_t v = high | (static_cast<uint64_t>(value - high * 10000) << 32);
    const uint64_t hundreds = ((v * 10486) >> 20) & 0x0000007F0000007FULL;
    v = hundreds | ((v - hundreds * 100) << 16);
    const uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000FULL;
    return tens | ((v - tens * 10) << 8);
}

constexpr uint64_t kZeroDigits = 0x3030303030303030ULL;

// Writes value (below 10^8) without leading zeros, but at least one digit, from one word
// and one store; returns the end. The leading zeros are the low bytes that are 0.
inline char* putUpToEight(char* out, uint32_t value) {
    const uint64_t digits = eightDigits(value);
    const uint64_t skippedBits = static_cast<uint64_t>(lowestBit(digits | (uint64_t(1) << 56))) & 56;
    const uint64_t text = (digits + kZeroDigits) >> skippedBits;
    std::memcpy(out, &text, 8);
    return out + 8 - (skippedBits >> 3);
}

// Puts the fraction text of an entry of kFractionTexts; returns the end.
inline char* putFraction(char* out, uint64_t entry) {
    const uint32_t text = static_cast<uint32_t>(entry);
    std::memcpy(out, &text, sizeof text);
    return out + (entry >> 32);
}

// Writes whole (at least 10^8, below 10^16) and then the fraction entry, as
// putShortFixed does for a smaller whole; returns the end. Kept apart, so that the common
// path keeps nothing across a call and needs no register saved.
SKERROW_RETURNS_NONNULL char* putLongWhole(char* out, uint64_t whole, uint64_t fractionEntry);

// What follows the whole digits for each count of hundredths (decimals 2) or thousandths
// (decimals 3), already trimmed: the point and the digits in the low four bytes, and above
// them how many of those characters stand, 0 when every digit is a needless zero, so that
// the point goes too ("32.80" keeps ".8", "100.00" nothing). The count one past the last,
// a fraction that rounded up to a whole unit, stands for no fraction as 0 does.
template <int decimals>
struct FractionTexts {
    static constexpr int kUnit = decimals == 3 ? 1000 : 100;
    uint64_t entries[kUnit + 1];
    constexpr FractionTexts() : entries() {
        for (int fraction = 0; fraction <= kUnit; ++fraction) {
            uint64_t text = '.';
            int kept = 0;
            int rest = fraction % kUnit;
            for (int place = decimals; place >= 1; --place) {  // the last digit first
                const int digit = rest % 10;
                rest /= 10;
                text |= static_cast<uint64_t>('0' + digit) << (8 * place);
                if (digit != 0 && kept == 0) kept = place + 1;
            }
            entries[fraction] = text | (static_cast<uint64_t>(kept) << 32);
        }
    }
};

template <int decimals>
inline constexpr FractionTexts<decimals> kFractionTexts{};

// The fixed form of the values survey files hold, worked out exactly in whole numbers.
// A double of magnitude in [2^-11, 2^52) is m * 2^-shift with m below 2^53 and shift
// 1 to 63: its whole part is m shifted right, and the bits shifted out times 10^decimals
// (below 2^63), shifted right in turn, are its fraction in hundredths or thousandths; the
// bits shifted out of those decide the rounding: above half up, exactly half to the even
// digit, as printf rounds. Returns the end of the trimmed text, or nullptr for any other
// value.
template <int decimals>
inline char* putShortFixed(char* out, double value) {
    constexpr uint64_t unit = decimals == 3 ? 1000 : 100;
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased < 1012 || biased > 1074) return nullptr;
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
    const int shift = 1075 - biased;
    const uint64_t below = (uint64_t(1) << shift) - 1;
    const uint64_t scaled = (mantissa & below) * unit;
    // Without a branch, as which way a value rounds is as good as random: one less than
    // half carries into the kept bits when the rest is above half, and with the lowest
    // kept bit added, when it is exactly half and that bit is odd (the unit is even, so it
    // is also the lowest bit of the value's whole count of units). The sum stays below
    // 2^63 + 2^62.
    const uint64_t fraction = (scaled + (below >> 1) + ((scaled >> shift) & 1)) >> shift;
    // A fraction that rounds up to the unit carries into the whole part: 99.996 is "100".
    const uint64_t whole = (mantissa >> shift) + (fraction == unit ? 1 : 0);
    // printf keeps the sign of a negative value that rounds to 0. A positive value's
    // digits go over the '-'.
    *out = '-';
    out += bits >> 63;
    const uint64_t entry = kFractionTexts<decimals>.entries[fraction];
    if (SKERROW_UNLIKELY(whole >= 100000000)) return putLongWhole(out, whole, entry);
    return putFraction(putUpToEight(out, static_cast<uint32_t>(whole)), entry);
}

#endif
