// The writer: reads the point file again and writes the chosen points, one line each,
// to the file the user names. No table of points is kept.
#include <windows.h>

#include <string>

#include "app/mainWindow.h"
#include "output/moveQuestion.h"
#include "output/outputLine.h"
#include "output/outputName.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"
#include "points/pointFields.h"
#include "points/numberReading.h"
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
// stream on it. Binary, so that every line ends in "\r\n" on every platform.
bool createOutput() {
    HANDLE file = CreateFileA(g_outputPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    g_output.clear();
    g_output.open(g_outputPath, std::ios::out | std::ios::binary | std::ios::trunc);
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

// A plain line's output, as the general loop below would write it; only the values the
// output and its tests need are read. False, leaving the line, when the block is full.
bool writePlainLine(const PlainLine& line, const FieldGap& gap, bool convert, int& count) {
    if (!roomForLine()) return false;
    const bool hasElevation = g_fieldCount == 3;
    const char* const zText = line.lastComma + 1;
    char* out = s_lines + s_used;
    char* end;
    if (g_conversion == 0 && g_swapXY != 1 && gap.length == 1) {
        // Copies in the file's own field order: the line is its own output.
        if (g_selectAll != 1) {
            PointFields point;
            point.x = readWholeField(line.text, static_cast<size_t>(line.firstComma - line.text));
            const char* const yEnd = hasElevation ? line.lastComma : line.text + line.length;
            point.y = readWholeField(line.firstComma + 1, static_cast<size_t>(yEnd - line.firstComma - 1));
            if (!isInsideArea(point)) return true;
        }
        if (hasElevation && mayBeNoData(zText)) {
            PointFields point;
            point.elevation = narrowElevation(readDecimalField(zText, static_cast<size_t>(line.text + line.length - zText)));
            if (isNoDataPoint(point)) return true;
        }
        end = putPlainCopyLine(out, line, gap.text[0]);
    } else {
        PointFields point = plainLineFields(line);
        if (g_conversion != 1 && g_selectAll != 1) {
            point.x = readWholeField(point.xText, point.xLength);
            point.y = readWholeField(point.yText, point.yLength);
            if (!isInsideArea(point)) return true;
        }
        if (hasElevation && (g_conversion != 0 || mayBeNoData(point.zText))) {
            point.zValue = readDecimalField(point.zText, point.zLength);
            point.elevation = narrowElevation(point.zValue);
            if (isNoDataPoint(point)) return true;
        }
        end = g_conversion == 1 ? putMoveLine(out, point, gap)
              : convert         ? putConvertLine(out, point, gap)
                                : putCopyLine(out, point, gap);
    }
    s_used = static_cast<size_t>(end - s_lines);
    ++count;
    return true;
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
            takePlainLines(128, g_fieldCount - 1,
                           [&](const PlainLine& line) { return writePlainLine(line, gap, convert, count); });
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
