// How the Open refuses a file: one "Error" box, and nothing left open or selectable.
#include <cstdio>
#include <cstring>

#include "points/appState.h"
#include "points/openPasses.h"

namespace {

const char kCarriageReturnsAlone[] =
    "The lines of this file end in a carriage return alone,\n"
    "as old Macintosh programs wrote them.  Convert its line\n"
    "ends to CR LF or LF and try again.";

}  // namespace

void showWaitCursor() { SetCursor(LoadCursorA(NULL, IDC_WAIT)); }
void showArrowCursor() { SetCursor(LoadCursorA(NULL, IDC_ARROW)); }

void rejectFile(HWND window, LineReader& reader, const char* text) {
    showArrowCursor();
    MessageBoxA(window, text, "Error", MB_OK | MB_ICONEXCLAMATION);
    closeReader(reader);
    g_viewState = ViewState::Empty;
    g_selectAll = 0;
}

void rejectLine(HWND window, LineReader& reader, const char* what) {
    char text[160];
    std::snprintf(text, sizeof text, "Line %d of this file %s\n    Check file and try again.", reader.lineNumber, what);
    rejectFile(window, reader, text);
}

bool holdsLoneCarriageReturn(const char* text) {
    const char* cr = std::strchr(text, '\r');
    return cr && cr[1] != '\0' && cr[1] != '\n';
}

void rejectCarriageReturnsAlone(HWND window, LineReader& reader) { rejectFile(window, reader, kCarriageReturnsAlone); }

void rejectBadLine(HWND window, LineReader& reader, int limit, LineOutcome outcome) {
    char what[80];
    if (outcome == LineOutcome::Damaged) {
        rejectLine(window, reader, "holds a NUL character: the file is damaged.");
    } else if (reader.line[0] == '\0') {
        rejectLine(window, reader, "is blank, and more lines follow it.");
    } else if (holdsLoneCarriageReturn(reader.line)) {
        rejectCarriageReturnsAlone(window, reader);
    } else {
        std::snprintf(what, sizeof what, "is longer than %d characters.", limit - 1);
        rejectLine(window, reader, what);
    }
}
