// The writer's line handling in every form and conversion: parsePointLine, then the
// description cut, the no-data and area tests and the copy, convert or move line, on any
// line and any write choices. Input: choice bytes, the factor, the minima and the area,
// then the line.
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/areaSelection.h"
#include "fuzzSupport.h"
#include "output/outputLine.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "points/noDataBand.h"
#include "points/selectionArea.h"
#include "reader/lineReader.h"
#include "support/outputLineReference.h"
#include "support/pointLineReference.h"

namespace {

std::vector<std::string> splitAt(const std::string& text, const std::string& gap) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(gap, start)) != std::string::npos; start = at + gap.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// formatNumber's output: an optional minus, digits and at most 3 decimals with no trailing
// zero, or an infinity or nan as printf writes them.
bool isTrimmedNumber(const std::string& text) {
    if (text == "inf" || text == "-inf" || text == "nan" || text == "-nan") return true;
    size_t i = text[0] == '-' ? 1 : 0;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (digits == 0) return false;
    if (i == text.size()) return true;
    if (text[i] != '.') return false;
    const size_t decimals = text.size() - i - 1;
    return decimals >= 1 && decimals <= 3 && text.back() != '0' &&
           text.find_first_not_of("0123456789", i + 1) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint8_t layoutChoice = in.byte(), formChoice = in.byte(), conversionChoice = in.byte();
    static const short layouts[] = {2, 3, 5};
    static const Conversion conversions[] = {Conversion::None, Conversion::Move, Conversion::MetresToFeet,
                                             Conversion::FeetToMetres, Conversion::Factor};
    g_fieldCount = layouts[(layoutChoice & 0x7f) % 3];
    g_swapXY = (layoutChoice & 0x80) ? 1 : 0;
    g_fileType = static_cast<FileType>(1 + (formChoice & 3) % 3);
    g_tabCount = static_cast<short>((formChoice >> 2) % 6);  // the dialog stores 0 to 5
    g_conversion = conversions[(conversionChoice & 0x7f) % 5];
    g_elevationsOnly = (conversionChoice & 0x80) ? 1 : 0;
    g_factor = in.value<float>();
    g_minX = in.value<int>();
    g_minY = in.value<int>();
    g_selectAll = in.byte() & 1;
    g_areaType = in.byte() & 1 ? AreaType::Rectangle : AreaType::Circle;
    g_selMinX = in.value<int>();
    g_selMaxX = in.value<int>();
    g_selMinY = in.value<int>();
    g_selMaxY = in.value<int>();
    g_circleCenterX = in.value<int>();
    g_circleCenterY = in.value<int>();
    g_circleRadius = in.value<int>();

    // A line as readLine leaves it: no line feed, at most 127 characters.
    std::string line = in.rest().substr(0, sizeof g_lineBuf - 1);
    for (char& c : line)
        if (c == '\n') c = ' ';
    std::memcpy(g_lineBuf, line.data(), line.size());
    g_lineBuf[line.size()] = '\0';
    if (!parsePointLine()) return 0;
    const PointFields point = scratchPoint();
    if (g_fieldCount == 5)
        FUZZ_CHECK(std::memchr(point.zText, ',', point.zLength) == nullptr, "the description is cut off the elevation");
    if (hasElevations()) inNoDataBand(point.elevation);
    isInsideArea(selectedArea(g_selectAll), point.x, point.y);

    const FieldGap fieldGapNow = fieldGap();
    const std::string gap(fieldGapNow.text, fieldGapNow.length);
    if (g_conversion == Conversion::Move) FUZZ_CHECK(gap == ",", "a move's lines are comma separated");
    if (g_fileType == FileType::Tab && g_conversion != Conversion::Move)
        FUZZ_CHECK(gap == std::string(g_tabCount > 1 ? g_tabCount : 1, '\t'), "the stored count of tabs, one at least");
    const size_t fields = g_fieldCount == 2 ? 2 : 3;
    std::string written;
    if (g_conversion == Conversion::None) {
        written = formatCopyLine(gap);
        FUZZ_CHECK(written.compare(0, point.xLength, point.xText, point.xLength) == 0,
                   "the copy starts with the X text");
    } else if (g_conversion == Conversion::Move) {
        written = formatMoveLine(gap);
    } else {
        written = formatConvertLine(gap);
        // A converted elevation beyond single precision is no number a point file could
        // hold: the writer stops there and writes no line.
        const double multiplier = conversionScale(writeChoices()).multiplier;
        const bool tooLarge =
            hasElevations() && !(std::fabs(static_cast<double>(point.elevation) * multiplier) <= FLT_MAX);
        FUZZ_CHECK(written.empty() == tooLarge, "no line for an elevation too large, a line for any other");
        if (tooLarge) return 0;
    }
    FUZZ_CHECK(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0, "the line ends in CR LF");
    if (g_conversion == Conversion::None) return 0;

    // Converted and moved lines hold nothing but their numbers and gaps.
    const std::vector<std::string> parts = splitAt(written.substr(0, written.size() - 2), gap);
    FUZZ_CHECK(parts.size() == fields, "one number per field");
    for (const std::string& part : parts) FUZZ_CHECK(!part.empty() && isTrimmedNumber(part), "a trimmed number");
    return 0;
}
