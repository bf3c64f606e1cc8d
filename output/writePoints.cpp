// The writer: reads the point file again and writes the chosen points, one line each,
// to the file the user names. No table of points is kept.
#include <windows.h>

#include <string>

#include "app/areaSelection.h"
#include "app/mainWindow.h"
#include "output/moveQuestion.h"
#include "output/outputLine.h"
#include "output/outputName.h"
#include "output/plainCopyRun.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"
#include "points/pointFields.h"
#include "points/numberReading.h"
#include "points/plainDecimal.h"
#include "points/plainLines.h"
#include "points/pointLine.h"

char g_outputPath[MAX_PATH] = "";
std::ofstream g_output;
char g_separator[2] = ",";

namespace {

enum PassResult { PASS_DONE, PASS_READ_FAILED, PASS_WRITE_FAILED };

void showError(HWND window, const std::string& text) {
    MessageBoxA(window, text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
}

void setSeparator() {
    g_separator[0] = g_fileType == 2 ? ' ' : g_fileType == 3 ? '\t' : ',';
    g_separator[1] = '\0';
}

// Creates the output empty, replacing any file of that name, and opens the output
// stream on it. Binary, so that every line ends in "\r\n" on every platform. The stream
// writes on from the end of the file just emptied rather than emptying it a second time:
// Linux's ext4 takes a file emptied on opening for one being replaced in place, and on
// closing it starts writing the whole output to the disk in the writer's own time.
bool createOutput() {
    HANDLE file = CreateFileA(g_outputPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    g_output.clear();
    g_output.open(g_outputPath, std::ios::out | std::ios::binary | std::ios::app);
    return g_output.is_open();
}

// Output lines gather here and go to the stream a large block at a time.
char s_lines[1 << 20];
size_t s_used = 0;

bool flushLines() {
    g_output.write(s_lines, static_cast<std::streamsize>(s_used));
    s_used = 0;
    return !g_output.fail();
}

bool roomForLine() { return sizeof s_lines - s_used >= OUTPUT_LINE_MAX; }

// The whole X and Y of a plain line in the file's field order lie in the selected area.
inline bool plainLineInArea(const PlainLine& line) {
    PointFields point;
    plainWholeXY(line.text, line.firstComma, g_fieldCount == 3 ? line.lastComma : line.text + line.length, &point.x,
                 &point.y);
    return isInsideArea(point);
}

// A plain line's elevation lies in the no-data band.
bool plainLineHasNoData(const PlainLine& line) {
    return plainElevationHasNoData(line.lastComma + 1, line.text + line.length);
}

// Copies of the plain lines within the selected circle (a rectangle's go through
// copyPlainRun), in the file's own field order with a gap of one character: each line is
// its own output, so only the area test reads X and Y, and only an elevation whose first
// characters do not rule out the no-data band is read. False, leaving the line, when the
// block is full.
template <bool elevations>
inline bool copyPlainLine(const PlainLine& line, char gap, int& count) {
    if (!roomForLine()) return false;
    if (!plainLineInArea(line)) return true;
    if (elevations && mayBeNoData(line.lastComma + 1) && plainLineHasNoData(line)) return true;
    s_used = static_cast<size_t>(putPlainCopyLine(s_lines + s_used, line, gap) - s_lines);
    ++count;
    return true;
}

// Any other plain line's output, as the general loop below would write it, reading only
// the values the output and its tests need.
bool writePlainLine(const PlainLine& line, const FieldGap& gap, bool convert, int& count) {
    if (!roomForLine()) return false;
    PointFields point = plainLineFields(line);
    if (g_conversion != 1 && g_selectAll != 1) {
        point.x = readPlainWholeField(point.xText, point.xLength);
        point.y = readPlainWholeField(point.yText, point.yLength);
        if (!isInsideArea(point)) return true;
    }
    if (g_fieldCount == 3 && (g_conversion != 0 || mayBeNoData(point.zText))) {
        point.zValue = readDecimalField(point.zText, point.zLength);
        point.elevation = narrowElevation(point.zValue);
        if (isNoDataPoint(point)) return true;
    }
    char* out = s_lines + s_used;
    char* end = g_conversion == 1 ? putMoveLine(out, point, gap)
                : convert         ? putConvertLine(out, point, gap)
                                  : putCopyLine(out, point, gap);
    s_used = static_cast<size_t>(end - s_lines);
    ++count;
    return true;
}

// A plain line converted, as writePlainLine converts it, with the short decimal form of
// all three values read where they stand; false, leaving the line to writePlainLine, when
// the block is full or a value is not in that form.
template <bool swap, bool elevations>
inline bool convertPlainLine(const PlainLine& line, const FieldGap& gap, int& count) {
    if (!roomForLine()) return false;
    if (g_selectAll != 1) {
        PointFields point = plainLineFields(line);
        point.x = readPlainWholeField(point.xText, point.xLength);
        point.y = readPlainWholeField(point.yText, point.yLength);
        if (!isInsideArea(point)) return true;
    }
    const char* const second = line.firstComma + 1;
    double x, y, zValue = 0.0;
    if (!readPlainDecimal(swap ? second : line.text, &x) || !readPlainDecimal(swap ? line.text : second, &y))
        return false;
    if (elevations) {
        if (!readPlainDecimal(line.lastComma + 1, &zValue)) return false;
        PointFields point;
        point.elevation = narrowElevation(zValue);
        if (isNoDataPoint(point)) return true;
    }
    s_used = static_cast<size_t>(putConvertValues(s_lines + s_used, x, y, zValue, gap) - s_lines);
    ++count;
    return true;
}

// Writes the run of plain lines at the stream's place, each as the general loop would;
// the choices that hold for the whole file pick the form of the loop once.
void writePlainLines(const FieldGap& gap, bool convert, int& count) {
    if (convert && g_conversion != 1) {
        auto take = [&](auto convertLine) {
            takePlainLines(128, g_fieldCount - 1, [&](const PlainLine& line) {
                return convertLine(line) || writePlainLine(line, gap, convert, count);
            });
        };
        const bool swap = g_swapXY == 1;
        if (g_fieldCount == 3) {
            if (swap) take([&](const PlainLine& line) { return convertPlainLine<true, true>(line, gap, count); });
            else take([&](const PlainLine& line) { return convertPlainLine<false, true>(line, gap, count); });
        } else {
            if (swap) take([&](const PlainLine& line) { return convertPlainLine<true, false>(line, gap, count); });
            else take([&](const PlainLine& line) { return convertPlainLine<false, false>(line, gap, count); });
        }
        return;
    }
    if (g_conversion == 0 && g_swapXY != 1 && gap.length == 1) {
        const char c = gap.text[0];
        const bool area = g_selectAll != 1;
        if (!area || g_areaType == 1) {
            char* const limit = s_lines + sizeof s_lines - OUTPUT_LINE_MAX;
            char* const out = s_lines + s_used;
            const char* end;
            if (g_fieldCount == 3)
                end = area ? copyPlainRunWidest<2, true>(out, limit, c, &count) : copyPlainRunWidest<2, false>(out, limit, c, &count);
            else
                end = area ? copyPlainRunWidest<1, true>(out, limit, c, &count) : copyPlainRunWidest<1, false>(out, limit, c, &count);
            s_used = static_cast<size_t>(end - s_lines);
        } else if (g_fieldCount == 3) {
            takePlainLines(128, 2, [&](const PlainLine& line) { return copyPlainLine<true>(line, c, count); });
        } else {
            takePlainLines(128, 1, [&](const PlainLine& line) { return copyPlainLine<false>(line, c, count); });
        }
        return;
    }
    takePlainLines(128, g_fieldCount - 1, [&](const PlainLine& line) { return writePlainLine(line, gap, convert, count); });
}

// One line in, at most one line out, each written straight into the block.
PassResult writeChosenPoints(int& count) {
    s_used = 0;
    const FieldGap gap = makeGap(g_conversion == 1 ? std::string(g_separator) : fieldGap());
    const bool convert = g_conversion == 2 || g_conversion == 4 || g_conversion == 8;
    const bool plainLayout = g_fieldCount == 2 || g_fieldCount == 3;
    PointFields point;
    bool cut;
    for (;;) {
        if (plainLayout) {
            // Runs of plain lines where they stand; whatever they leave goes the general way.
            writePlainLines(gap, convert, count);
            if (!roomForLine()) {
                if (!flushLines()) return PASS_WRITE_FAILED;
                continue;
            }
        }
        const short read = nextPointLine(128, &point, &cut);
        if (read == LINE_END) return PASS_DONE;
        // A line that cannot be read or split, or one with more fields than the open found
        // in every line, means the file changed since it was opened.
        if (read != LINE_DATA || !cut || point.commas != g_fieldCount - 1) return PASS_READ_FAILED;
        if (isNoDataPoint(point)) continue;

        char* out = s_lines + s_used;
        char* end;
        if (g_conversion == 1) {
            end = putMoveLine(out, point, gap);
        } else {
            if (!isInsideArea(point)) continue;
            end = convert ? putConvertLine(out, point, gap) : putCopyLine(out, point, gap);
        }
        s_used = static_cast<size_t>(end - s_lines);
        if (!roomForLine() && !flushLines()) return PASS_WRITE_FAILED;
        ++count;
    }
}

// Reads the point file and writes the output; reports the outcome in one message box.
void writeFile(HWND window) {
    std::string input = g_inputPath;
    std::string output = g_outputPath;
    // The point file is opened first, so that a vanished file leaves no empty output behind.
    if (!startPass()) {
        g_input.close();
        showError(window, "Can't open point file\n" + input + "\nNothing was written.");
        return;
    }
    // Emptied, cut, grown or replaced since the Open: its points are not the ones shown,
    // counted and selected, so none of them is written.
    if (!sameStamp(stampOf(g_inputPath), g_inputStamp)) {
        g_input.close();
        showError(window, "Point file changed since it was opened\n" + input + "\nOpen it again. Nothing was written.");
        return;
    }
    if (!createOutput()) {
        g_input.close();
        g_output.close();
        showError(window, "Can't create file\n" + output + "\nNothing was written.");
        return;
    }
    setSeparator();

    int count = 0;
    PassResult result = writeChosenPoints(count);
    // The lines of a pass that stopped early are written too, as far as it got.
    if (!flushLines() && result == PASS_DONE) result = PASS_WRITE_FAILED;
    g_output.flush();
    g_output.close();  // a failed flush at close sets failbit
    if (result == PASS_DONE && g_output.fail()) result = PASS_WRITE_FAILED;
    g_input.close();
    // Changed while it was read: what was written may mix the old file and the new.
    if (result == PASS_DONE && !sameStamp(stampOf(g_inputPath), g_inputStamp)) result = PASS_READ_FAILED;

    if (result == PASS_READ_FAILED) {
        showError(window, "Can't read point file to its end\n" + input + "\n" + output + " is incomplete.");
    } else if (result == PASS_WRITE_FAILED) {
        showError(window, "Can't write file\n" + output + "\nThe points were not all saved.");
    } else {
        std::string text = std::to_string(count) + " points written to " + output;
        MessageBoxA(window, text.c_str(), "File Saved", MB_OK);
    }
}

}  // namespace

void writePoints(HWND window) {
    g_outputPath[0] = '\0';
    if (g_conversion == 1 && !askMoveQuestion(window)) {
        // Declined: the menu items keep their state and the cursor is untouched.
        g_viewState = 1;
        g_selectAll = 0;
        return;
    }

    bool chosen = chooseOutputPath(window);
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    if (chosen) writeFile(window);

    g_elevationsOnly = 0;
    g_selectAll = 0;
    g_viewState = 1;
    enableSelectItems(window, MF_GRAYED);
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
}
