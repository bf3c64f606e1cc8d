#include "support/outputLineReference.h"

#include <cstring>

#include "points/appState.h"
#include "support/pointLineReference.h"

namespace {

std::string lineOf(char* (*put)(char*, const PointFields&, const LineForm&), const std::string& gap) {
    char line[kOutputLineMax];
    LineForm form = lineForm(writeChoices(), pointLayout());
    form.gap = makeGap(gap);
    const char* const end = put(line, scratchPoint(), form);
    return end ? std::string(line, static_cast<size_t>(end - line)) : std::string();
}

}  // namespace

PointFields scratchPoint() {
    static char slots[3][sizeof g_xText + kLineTailRoom];
    const char* texts[3] = {g_xText, g_yText, g_zText};
    size_t lengths[3];
    for (int i = 0; i < 3; ++i) {
        lengths[i] = std::strlen(texts[i]);
        std::memcpy(slots[i], texts[i], lengths[i] + 1);
    }
    if (g_fieldCount == 5) {
        if (const char* comma = std::strchr(slots[2], ',')) lengths[2] = static_cast<size_t>(comma - slots[2]);
    }
    PointFields point = {};
    point.xText = slots[0];
    point.xLength = lengths[0];
    point.yText = slots[1];
    point.yLength = lengths[1];
    point.x = g_x;
    point.y = g_y;
    if (hasElevations()) {
        point.zText = slots[2];
        point.zLength = lengths[2];
        point.zValue = readDecimalField(point.zText, point.zLength);
        point.elevation = narrowElevation(point.zValue);
    }
    return point;
}

FieldGap makeGap(const std::string& text) {
    FieldGap gap = {};
    gap.length = text.size() < sizeof gap.text ? text.size() : sizeof gap.text;
    std::memcpy(gap.text, text.data(), gap.length);
    return gap;
}

std::string formatCopyLine(const std::string& gap) { return lineOf(putCopyLine, gap); }
std::string formatConvertLine(const std::string& gap) { return lineOf(putConvertLine, gap); }
std::string formatMoveLine(const std::string& gap) { return lineOf(putMoveLine, gap); }

void trimNumber(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    while (!text.empty()) {
        const char last = text.back();
        if (last == '0') {
            text.pop_back();
        } else {
            if (last == '.') text.pop_back();
            break;
        }
    }
}

std::string formatNumber(double value, int decimals) {
    char text[kNumberTextMax];
    return std::string(text, decimals == 3 ? putNumber3(text, value) : putNumber2(text, value));
}
