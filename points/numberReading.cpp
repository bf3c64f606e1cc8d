#include "points/numberReading.h"

#include <cctype>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

bool readWholeNumber(const char* text, long long* value) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate toward the negative side, which holds one more magnitude than the positive.
    long long result = 0;
    bool fits = true;
    for (; *p >= '0' && *p <= '9'; ++p) {
        int digit = *p - '0';
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

float readElevation(const char* text) {
    double value = std::strtod(text, nullptr);
    if (std::isnan(value)) return static_cast<float>(value);
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}
