// One line under every layout and swap: the reference parsePointLine on any 127 bytes,
// checked against the field layouts and the standard library's readings, and the
// program's in-place cut against it. Input: a byte for the layout
// and swap, then the line.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/pointFields.h"
#include "reader/valueReaders.h"
#include "support/coordinateModel.h"
#include "support/pointLineReference.h"

namespace {

std::vector<std::string> splitAtCommas(const std::string& line, int fields) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (int i = 1; i < fields; ++i) {
        size_t comma = line.find(',', start);
        parts.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(line.substr(start));
    return parts;
}

bool sameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint8_t choice = in.byte();
    static const short layouts[] = {2, 3, 5};
    g_fieldCount = layouts[(choice & 0x7f) % 3];
    g_swapXY = (choice & 0x80) ? 1 : 0;
    std::string bytes = in.rest().substr(0, sizeof g_lineBuf - 1);
    std::memset(g_lineBuf, 'Z', sizeof g_lineBuf);  // no terminator but the one readLine stores
    std::memcpy(g_lineBuf, bytes.data(), bytes.size());
    g_lineBuf[bytes.size()] = '\0';
    const std::string line(g_lineBuf);

    const float elevationBefore = 1234.5f;
    g_elevation = elevationBefore;
    const int layout = g_fieldCount;
    size_t commas = 0;
    for (char c : line) commas += c == ',';
    const size_t needed = layout == 5 ? 4 : layout - 1;

    // The passes cut the line where it stands in the file, followed by its line break and
    // more digits that must not be read.
    char inPlace[sizeof g_lineBuf + kLineTailRoom];
    std::memset(inPlace, '7', sizeof inPlace);
    std::memcpy(inPlace, line.data(), line.size());
    inPlace[line.size()] = '\n';
    PointFields point;
    const bool cut = cutPointFields(inPlace, line.size(), pointLayout(), &point);
    FUZZ_CHECK(point.commas == static_cast<int>(commas), "every comma of the line is counted");

    const bool parsed = parsePointLine();
    FUZZ_CHECK(parsed == (commas >= needed), "a line is parsed exactly when it has the commas its layout needs");
    FUZZ_CHECK(cut == parsed, "the line is cut in place exactly when parsePointLine parses it");
    if (parsed) {
        FUZZ_CHECK(std::string(point.xText, point.xLength) == g_xText, "X text in place");
        FUZZ_CHECK(std::string(point.yText, point.yLength) == g_yText, "Y text in place");
        FUZZ_CHECK(sameValue(point.x, g_x) && sameValue(point.y, g_y), "X and Y read in place");
        if (layout != 2) {
            const std::string zText = g_zText;
            FUZZ_CHECK(
                std::string(point.zText, point.zLength) == (layout == 5 ? zText.substr(0, zText.find(',')) : zText),
                "elevation text in place, without the description");
            FUZZ_CHECK(std::memcmp(&point.elevation, &g_elevation, sizeof g_elevation) == 0 ||
                           (std::isnan(point.elevation) && std::isnan(g_elevation)),
                       "elevation read in place");
        }
    }
    if (!parsed) {
        FUZZ_CHECK(line == g_lineBuf, "a short line is left untouched");
        return 0;
    }

    // Field 5 stays attached to field 4.
    const std::vector<std::string> fields = splitAtCommas(line, layout == 5 ? 4 : layout);
    std::string x = layout == 5 ? fields[1] : fields[0];
    std::string y = layout == 5 ? fields[2] : fields[1];
    if (g_swapXY == 1) std::swap(x, y);
    FUZZ_CHECK(x == g_xText, "X text by layout and swap");
    FUZZ_CHECK(y == g_yText, "Y text by layout and swap");
    FUZZ_CHECK(std::string(g_field1) == fields[0], "field 1");
    FUZZ_CHECK(std::string(g_field2) == fields[1], "field 2");

    errno = 0;
    FUZZ_CHECK(sameValue(g_x, modelCoordinate(x)), "X as a surveyor reads it");
    FUZZ_CHECK(sameValue(g_y, modelCoordinate(y)), "Y as a surveyor reads it");

    if (layout == 2) {
        FUZZ_CHECK(g_elevation == elevationBefore, "2-field lines leave the elevation alone");
        return 0;
    }
    const std::string z = layout == 5 ? fields[3] : fields[2];
    FUZZ_CHECK(z == g_zText, "elevation text");
    const double value = std::strtod(z.c_str(), nullptr);
    if (std::isnan(value)) {
        FUZZ_CHECK(std::isnan(g_elevation), "a nan elevation stays nan");
    } else if (std::fabs(value) > 3.4028234663852886e38) {
        FUZZ_CHECK(std::isinf(g_elevation) && (g_elevation > 0) == (value > 0), "beyond float reads as infinity");
    } else {
        FUZZ_CHECK(g_elevation == static_cast<float>(value), "elevation as strtod reads it");
    }
    return 0;
}
