// The Open command in its order: the file choice (or a path given instead), the one pass
// on every worker, the counts, "Swap Fields", the ranges and the fit. Each pass returns
// what it found; a refusal is shown here, in the one message box the Open shows for it.
#include "points/openPointFile.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "points/appState.h"
#include "points/openPasses.h"
#include "resource.h"

namespace {

const char kNoteText[] =
    "This program doesn't automatically repaint the screen.\n"
    "Click Redraw on the menu if you lose any screen points.\n\n"
    "Select AreaType and drag area around points to write.   ";

// Shows the open-file dialog; false when no name was chosen.
bool chooseFile(HWND window) {
    g_inputPath[0] = '\0';
    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof(OPENFILENAMEA);
    dialog.hwndOwner = window;
    dialog.lpstrFilter = "Point Files (*.csv)\0*.csv\0";
    dialog.lpstrFile = g_inputPath;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = "csv";
    GetOpenFileNameA(&dialog);
    if (g_inputPath[0] == '\0') return false;

    // The title buffer is as long as the path, so the whole name always fits.
    size_t offset = dialog.nFileOffset;
    if (offset >= std::strlen(g_inputPath)) offset = 0;
    std::strcpy(g_fileTitle, g_inputPath + offset);
    return true;
}

// Why a path given instead of chosen names no point file to open.
const char kPathTooLong[] = "\nThe path is too long.\n    Choose a shorter path and try again.";
const char kNotFound[] = "\nThis file was not found.\n    Check the file name and try again.";
const char kFolder[] = "\nThis is a folder, not a point file.\n    Choose a point file and try again.";

bool refusePath(HWND window, const char* path, const char* why) {
    const std::string text = std::string(path) + why;
    MessageBoxA(window, text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// Takes a path given instead of chosen (from the command line or a drop), made absolute
// against the current folder, as the file dialog would have given it; false, with its
// message, when it is too long or names a folder or nothing.
bool takeGivenFile(HWND window, const char* path) {
    g_inputPath[0] = '\0';
    char full[MAX_PATH];
    LPSTR name = NULL;
    const DWORD length = GetFullPathNameA(path, MAX_PATH, full, &name);
    if (length >= MAX_PATH) return refusePath(window, path, kPathTooLong);
    const DWORD attributes = length == 0 ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES) return refusePath(window, length == 0 ? path : full, kNotFound);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || name == NULL) return refusePath(window, full, kFolder);
    std::strcpy(g_inputPath, full);
    std::strcpy(g_fileTitle, g_inputPath + (name - full));
    return true;
}

void showWaitCursor() { SetCursor(LoadCursorA(NULL, IDC_WAIT)); }
void showArrowCursor() { SetCursor(LoadCursorA(NULL, IDC_ARROW)); }

// Ends an Open with nothing open and nothing selectable.
OpenResult leaveNothingOpen(OpenResult result) {
    g_viewState = ViewState::Empty;
    g_selectAll = 0;
    return result;
}

// Ends a refused Open with its message: nothing open, nothing selectable.
OpenResult refuse(HWND window, const OpenStop& stop) {
    showArrowCursor();
    const OpenMessage message = openMessage(stop);
    MessageBoxA(window, message.text.c_str(), message.caption, MB_OK | MB_ICONEXCLAMATION);
    return leaveNothingOpen(OpenResult::Failed);
}

// Ends an Open whose pass the user stopped, as a refused one ends but without a word.
OpenResult stopped() {
    showArrowCursor();
    return leaveNothingOpen(OpenResult::Stopped);
}

// What the parsing pass found, kept in the state as far as it got: a failed Open leaves
// the ranges it gathered and the old fit, which nothing uses in view state Empty.
void keepFindings(const FileFindings& found) {
    const PointRanges previous = currentRanges();
    PointRanges kept = found.ranges;
    if (!found.extentKnown) {
        kept.rangeX = previous.rangeX;
        kept.rangeY = previous.rangeY;
    }
    kept.rangeZ = previous.rangeZ;
    keepRanges(kept);
    g_pointCount = static_cast<int>(found.points);
}

// The Open once the file is named in g_inputPath and g_fileTitle, chosen or given.
OpenResult inspectPointFile(HWND window, PassWatch* watch) {
    g_fileChosen = 1;

    // Stamped before the first read: a change while the Open reads shows at the next write.
    g_inputStamp = stampOf(g_inputPath);
    g_filePlan = FilePlan();
    showWaitCursor();
    const OpenGather gather = gatherOpen(g_inputPath, g_inputStamp.size, watch);
    FileCounts counts;
    const OpenStop countStop = countLines(g_inputPath, headerChoice(), gather, &counts, watch);
    g_lineCount = static_cast<int>(counts.lines);
    if (stopAsked(watch)) return stopped();
    if (countStop) return refuse(window, countStop);
    g_fieldCount = counts.fieldCount;
    showArrowCursor();

    SwapFieldsChoice choice = {g_lineCount, g_fieldCount, 0, 0};
    const INT_PTR answer = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), window,
                                           swapFieldsDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (answer != IDOK) {
        // The reading choices keep their previous values.
        g_viewState = ViewState::Empty;
        return OpenResult::Cancelled;
    }
    g_swapXY = choice.swapXY;
    g_skipHeader = choice.skipHeader;

    showWaitCursor();
    FileFindings found;
    const OpenStop rangeStop = gatherRanges(g_inputPath, headerChoice(), pointLayout(), gather, &found, watch);
    if (stopAsked(watch)) return stopped();
    keepFindings(found);
    if (rangeStop) return refuse(window, rangeStop);
    keepRanges(found.ranges);
    g_filePlan = found.plan;
    g_inputChecksum = found.checksum;
    keepFit(fitPlot(PlotExtent{g_minX, g_minY, g_maxY, g_rangeX, g_rangeY}));

    g_viewState = ViewState::Fitted;
    g_selectAll = 0;
    showArrowCursor();
    return OpenResult::Opened;
}

}  // namespace

void showOpenNote(HWND window) { MessageBoxA(window, kNoteText, "Note:", MB_OK); }

OpenResult openPointFile(HWND window, PassWatch* watch) {
    if (!chooseFile(window)) return leaveNothingOpen(OpenResult::Cancelled);
    return inspectPointFile(window, watch);
}

OpenResult openGivenPointFile(HWND window, const char* path, PassWatch* watch) {
    if (!takeGivenFile(window, path)) return leaveNothingOpen(OpenResult::Failed);
    return inspectPointFile(window, watch);
}
