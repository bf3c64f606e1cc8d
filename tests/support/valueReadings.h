// The program's value readers on terminated texts of any length, for tests that hold them
// to strtod: each text is copied with the room after it that a field has in its line.
#ifndef SKERROW_TESTS_SUPPORT_VALUEREADINGS_H
#define SKERROW_TESTS_SUPPORT_VALUEREADINGS_H

#include <cstring>
#include <string>

#include "reader/lineLimits.h"
#include "reader/valueReaders.h"

// text with a field's room after it.
inline std::string paddedField(const char* text, const char* end) {
    std::string copy(text, end ? static_cast<size_t>(end - text) : std::strlen(text));
    copy.append(kLineTailRoom + 16, '\0');
    return copy;
}

// readDecimalField of the text up to end (the terminator when end is null).
inline double readDecimal(const char* text, const char* end = nullptr) {
    const size_t length = end ? static_cast<size_t>(end - text) : std::strlen(text);
    const std::string copy = paddedField(text, text + length);
    return readDecimalField<FieldKind::Any>(copy.data(), length);
}

// readElevationField of the text up to end (the terminator when end is null).
inline float readElevation(const char* text, const char* end = nullptr) {
    const size_t length = end ? static_cast<size_t>(end - text) : std::strlen(text);
    const std::string copy = paddedField(text, text + length);
    return readElevationField<FieldKind::Any>(copy.data(), length);
}

#endif
