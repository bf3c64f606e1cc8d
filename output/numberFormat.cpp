#include "output/numberFormat.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

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

// The fixed form of the values survey files hold, worked out exactly in whole numbers.
// A double of magnitude in [2^-11, 2^53) is m * 2^-shift with m below 2^53 and shift
// 0 to 63, so value * 10^decimals is m * 10^decimals (below 2^63) shifted right; the
// bits shifted out decide the rounding: above half up, exactly half to the even digit, as
// printf rounds. Returns the end of the trimmed text, or nullptr for any other value.
static char* putShortFixed(char* out, double value, int decimals) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased < 1012 || biased > 1075) return nullptr;
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
    const int shift = 1075 - biased;
    const uint64_t scale = decimals == 3 ? 1000 : 100;
    const uint64_t scaled = mantissa * scale;
    uint64_t rounded = scaled >> shift;
    if (shift > 0) {
        const uint64_t rest = scaled & ((uint64_t(1) << shift) - 1);
        const uint64_t half = uint64_t(1) << (shift - 1);
        if (rest > half || (rest == half && (rounded & 1))) ++rounded;
    }
    if (bits >> 63) *out++ = '-';  // printf keeps the sign of a negative value that rounds to 0
    // Division by a constant in each form, which compiles to a multiplication.
    const uint64_t whole = decimals == 3 ? rounded / 1000 : rounded / 100;
    out = std::to_chars(out, out + 20, whole).ptr;
    uint64_t fraction = rounded - whole * scale;
    if (fraction == 0) return out;
    *out++ = '.';
    int digits = decimals == 3 ? 3 : 2;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    for (int i = digits - 1; i >= 0; --i, fraction /= 10) out[i] = static_cast<char>('0' + fraction % 10);
    return out + digits;
}

char* putNumber(char* out, double value, int decimals) {
    if (char* end = putShortFixed(out, value, decimals)) return end;
    // to_chars in fixed form gives printf's digits, exactly rounded, with no locale and no
    // allocation; the room covers every double, so it cannot run short.
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

std::string formatNumber(double value, int decimals) {
    char text[NUMBER_TEXT_MAX];
    return std::string(text, putNumber(text, value, decimals));
}
