#include "output/numberFormat.h"

#include <cstdio>
#include <cstring>

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

std::string formatNumber(double value, int decimals) {
    const char* format = decimals == 3 ? "%.3lf" : "%.2lf";
    // Ask for the length first: a value such as 1e300 prints over three hundred digits.
    int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, value);
    text.resize(static_cast<size_t>(length));
    trimNumber(text);
    return text;
}
