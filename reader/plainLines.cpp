#include "reader/plainLines.h"

PointFields plainLineFields(const PlainLine& line, const PointLayout& layout) {
    PointFields fields = {};
    const bool elevations = layout.fieldCount >= 3;
    const char* const end = line.text + line.length;
    const char* const second = line.firstComma + 1;
    const char* const secondEnd = elevations ? line.lastComma : end;
    const bool swap = layout.swapXY;
    fields.xText = swap ? second : line.text;
    fields.xLength = static_cast<size_t>(swap ? secondEnd - second : line.firstComma - line.text);
    fields.yText = swap ? line.text : second;
    fields.yLength = static_cast<size_t>(swap ? line.firstComma - line.text : secondEnd - second);
    fields.zText = elevations ? line.lastComma + 1 : end;
    fields.zLength = static_cast<size_t>(end - fields.zText);
    fields.commas = elevations ? 2 : 1;
    return fields;
}
