// X and Y as a surveyor reads them, written plainly from their definition for the tests
// and fuzz targets to hold readCoordinate to.
#ifndef SKERROW_TESTS_SUPPORT_COORDINATEMODEL_H
#define SKERROW_TESTS_SUPPORT_COORDINATEMODEL_H

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

// Lowercase, for the words of infinities and NaNs.
inline std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

// A coordinate as a surveyor reads it: strtod's number truncated when it is written with
// an exponent; an infinity or NaN when the field holds only that word (blanks and a sign
// around it); otherwise the run of blanks, sign and digits strtoll reads, clamped to the
// 64-bit limits.
inline double modelCoordinate(const std::string& text) {
    size_t p = 0;
    while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p]))) ++p;
    const size_t number = p;
    const bool negative = p < text.size() && text[p] == '-';
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    size_t digits = 0, q = p;
    while (q < text.size() && std::isdigit(static_cast<unsigned char>(text[q]))) ++q, ++digits;
    if (q < text.size() && text[q] == '.')
        for (++q; q < text.size() && std::isdigit(static_cast<unsigned char>(text[q])); ++q) ++digits;
    const bool exponent = digits > 0 && q + 1 < text.size() && (text[q] == 'e' || text[q] == 'E') &&
                          (std::isdigit(static_cast<unsigned char>(text[q + 1])) ||
                           ((text[q + 1] == '+' || text[q + 1] == '-') && q + 2 < text.size() &&
                            std::isdigit(static_cast<unsigned char>(text[q + 2]))));
    if (exponent) return std::trunc(std::strtod(text.c_str() + number, nullptr));
    if (digits == 0) {
        std::string word = lowered(text.substr(p));
        while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.pop_back();
        if (word == "inf" || word == "infinity") return negative ? -HUGE_VAL : HUGE_VAL;
        if (word == "nan") return std::nan("");
    }
    return static_cast<double>(std::strtoll(text.c_str(), nullptr, 10));
}

#endif
