#include "output/numberFormat.h"

#include <charconv>
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

char* putNumber(char* out, double value, int decimals) {
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
