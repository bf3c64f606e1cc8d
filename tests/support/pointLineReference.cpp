// The reference reading of one point line, kept for the tests and fuzz targets: the line
// cut at commas into terminated field texts, each value read by the number readers from
// its text; the reading that the program's in-place forms are held to.
#include "support/pointLineReference.h"

#include <cstring>

#include "points/appState.h"
#include "reader/valueReaders.h"
#include "support/valueReadings.h"

char g_lineBuf[128] = "";
char* g_field1 = nullptr;
char* g_field2 = nullptr;
char* g_field3 = nullptr;
char* g_field4 = nullptr;
char g_xText[128] = "";
char g_yText[128] = "";
char g_zText[128] = "";
double g_x = 0.0, g_y = 0.0;
float g_elevation = 0.0f;

namespace {

// Copies the text from start to end into a scratch text of g_lineBuf's size.
void copyField(char* to, const char* start, const char* end) {
    const size_t length = static_cast<size_t>(end - start);
    std::memcpy(to, start, length);
    to[length] = '\0';
}

}  // namespace

bool parsePointLine() {
    const int layout = g_fieldCount >= 5 ? 5 : (g_fieldCount >= 3 ? 3 : 2);
    const int commasNeeded = layout == 5 ? 4 : layout - 1;
    // One scan without a branch on the text: at[k] is left at the (k+1)th comma, and end
    // at the end of the line.
    char* at[sizeof g_lineBuf];
    int found = 0;
    char* end = g_lineBuf;
    for (; *end; ++end) {
        at[found] = end;
        found += *end == ',';
    }
    if (found < commasNeeded) return false;
    char* const* commas = at;

    // Field 5 stays attached to field 4: its comma is not cut.
    const int cuts = layout == 5 ? 3 : layout - 1;
    for (int i = 0; i < cuts; ++i) *commas[i] = '\0';
    g_field1 = g_lineBuf;
    g_field2 = commas[0] + 1;
    if (layout >= 3) g_field3 = commas[1] + 1;
    if (layout == 5) g_field4 = commas[2] + 1;
    const char* fieldEnd[4] = {commas[0], cuts >= 2 ? commas[1] : end, cuts >= 3 ? commas[2] : end, end};

    int xField, yField, zField = -1;  // field indexes from 0
    if (layout == 5) {
        xField = 1;
        yField = 2;
        zField = 3;
    } else {
        xField = 0;
        yField = 1;
        if (layout == 3) zField = 2;
    }
    if (g_swapXY == 1) {
        const int other = xField;
        xField = yField;
        yField = other;
    }
    char* const fieldStart[4] = {g_field1, g_field2, layout >= 3 ? g_field3 : end, layout == 5 ? g_field4 : end};
    // Every field lies inside g_lineBuf, so it fits the scratch texts of the same size.
    copyField(g_xText, fieldStart[xField], fieldEnd[xField]);
    copyField(g_yText, fieldStart[yField], fieldEnd[yField]);

    g_x = readCoordinate(g_xText);
    g_y = readCoordinate(g_yText);
    if (zField >= 0) {
        copyField(g_zText, fieldStart[zField], fieldEnd[zField]);
        g_elevation = readElevation(g_zText, g_zText + (fieldEnd[zField] - fieldStart[zField]));
    }
    return true;
}
