#include "reader/valueReaders.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "reader/lineLimits.h"

namespace {

// A field copied and terminated, for the fallbacks, which read terminated texts: on the
// stack for a field of a line, on the heap for a longer text.
class FieldCopy {
public:
    FieldCopy(const char* start, size_t length) {
        if (length >= sizeof short_) {
            long_.assign(start, length);
            text = long_.c_str();
            return;
        }
        std::memcpy(short_, start, length);
        short_[length] = '\0';
        text = short_;
    }
    const char* text;

private:
    char short_[kLineBufferSize];
    std::string long_;
};

}  // namespace

bool readWholeNumber(const char* text, long long* value) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (*p < '0' || *p > '9')
        while (std::isspace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate toward the negative side, which holds one more magnitude than the positive.
    long long result = 0;
    bool fits = true;
    for (int digits = 0; *p >= '0' && *p <= '9'; ++p, ++digits) {
        int digit = *p - '0';
        if (digits < 18) {  // eighteen digits never reach the 64-bit limit
            result = result * 10 - digit;
            continue;
        }
        if (!fits) continue;
        if (result < (LLONG_MIN + digit) / 10) {
            fits = false;
            continue;
        }
        result = result * 10 - digit;
    }
    if (!fits) {
        *value = negative ? LLONG_MIN : LLONG_MAX;
        return false;
    }
    if (!negative) {
        if (result == LLONG_MIN) {
            *value = LLONG_MAX;
            return false;
        }
        result = -result;
    }
    *value = result;
    return true;
}

namespace {

// text starts with word in any case.
bool startsWithWord(const char* text, const char* word) {
    for (; *word; ++text, ++word)
        if ((*text | 0x20) != *word) return false;
    return true;
}

bool isBlankOrEnd(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    return *text == '\0';
}

// After an optional sign: "inf", "infinity" or "nan" and nothing but blanks after it.
// Returns 1 for an infinity, 2 for a NaN, 0 for anything else ("Info" among them).
int specialWord(const char* p) {
    if (startsWithWord(p, "infinity")) return isBlankOrEnd(p + 8) ? 1 : 0;
    if (startsWithWord(p, "inf")) return isBlankOrEnd(p + 3) ? 1 : 0;
    if (startsWithWord(p, "nan")) return isBlankOrEnd(p + 3) ? 2 : 0;
    return 0;
}

}  // namespace

double readCoordinate(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*p)) ++p;
    const char* const number = reinterpret_cast<const char*>(p);
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    const char* const mantissa = reinterpret_cast<const char*>(p);
    // The mantissa: digits, a point and more digits, at least one digit in all.
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p) ++digits;
    if (*p == '.')
        for (++p; *p >= '0' && *p <= '9'; ++p) ++digits;
    const bool exponent =
        digits > 0 && (*p | 0x20) == 'e' &&
        ((p[1] >= '0' && p[1] <= '9') || ((p[1] == '+' || p[1] == '-') && p[2] >= '0' && p[2] <= '9'));
    if (exponent) {
        // from_chars reads it as strtod would, without strtod's locale; it takes no plus sign.
        const char* end = reinterpret_cast<const char*>(p) + 1;
        const bool smaller = *end == '-';
        while (*end == '+' || *end == '-' || (*end >= '0' && *end <= '9')) ++end;
        double value = 0.0;
        const std::from_chars_result read = std::from_chars(mantissa, end, value);
        if (read.ec == std::errc::result_out_of_range) value = smaller ? 0.0 : HUGE_VAL;
        value = std::trunc(value);
        return negative ? -value : value;
    }
    if (digits == 0) {
        const int special = specialWord(mantissa);
        if (special == 1) return negative ? -HUGE_VAL : HUGE_VAL;
        if (special == 2) return std::nan("");
    }
    long long whole = 0;
    readWholeNumber(number, &whole);
    return static_cast<double>(whole);
}

bool holdsNumber(const char* text, size_t length) {
    const char* const end = text + length;
    const char* p = text;
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    if (p == end) return false;
    if (*p >= '0' && *p <= '9') return true;
    if (*p == '.') return p + 1 < end && p[1] >= '0' && p[1] <= '9';
    if (end - p < 3) return false;
    return startsWithWord(p, "inf") || startsWithWord(p, "nan");
}

double wholeCoordinateFallback(const char* text, size_t length) { return readCoordinate(FieldCopy(text, length).text); }

const char* readShortDecimalApart(const char* text, double* value) { return readShortDecimal(text, value); }

double decimalFallback(const char* text, size_t length) {
    const FieldCopy copy(text, length);
    // from_chars reads an optional minus, digits with a point and an exponent exactly as
    // strtod does. strtod keeps what it alone reads: leading blanks, a plus sign,
    // hexadecimal, infinities and NaNs, and values beyond the double range.
    const char* p = copy.text;
    if (*p == '-') ++p;
    const bool digitFirst = *p >= '0' && *p <= '9' && !(p[0] == '0' && (p[1] == 'x' || p[1] == 'X'));
    const bool pointFirst = *p == '.' && p[1] >= '0' && p[1] <= '9';
    if (digitFirst || pointFirst) {
        double value = 0.0;
        const std::from_chars_result read = std::from_chars(copy.text, copy.text + std::strlen(copy.text), value);
        if (read.ec == std::errc()) return value;
    }
    return std::strtod(copy.text, nullptr);
}
