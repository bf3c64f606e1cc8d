// Lines of a survey for the tests that need many distinct points: six-digit eastings and
// seven-digit northings with decimals, and an elevation, one line each.
#ifndef SKERROW_TESTS_SUPPORT_SURVEYLINES_H
#define SKERROW_TESTS_SUPPORT_SURVEYLINES_H

#include <string>

// count points from first on, each its own line.
inline std::string surveyLines(int first, int count) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += std::to_string(633000 + i % 997) + "." + std::to_string(10 + i % 90) + "," +
                std::to_string(5288000 + i % 1009) + ".5," + std::to_string(200 + i % 50) + ".25\n";
    return text;
}

#endif
