// The whole Open of an arbitrary file through the real command: counting pass, read back
// from the end, Swap Fields, parsing pass, fit and plot; then, when it opened, a write
// of all points or a move, which must read the file the open accepted to its end.
// Input: a choice byte (swap, header box, header choice of the previous open, write
// form, write or move), then the file.
#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <string>

#include "fuzzApp.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/openPointFile.h"
#include "resource.h"
#include "support/openFiles.h"

namespace {

HWND g_window = NULL;
std::string g_pointFile, g_outputFile;

const char* const kOpenTexts[] = {
    "This is not a valid point file.\n    Check file and try again.",
    "This file has uneven fields.\n  Check file and try again.",
    "This only works on files with 2, 3 or 5 fields.\n        Check file and try again.",
    "This file has too many lines.\n    Check file and try again.",
    "This file either has a header line or there       \n"
    "are X - Y fields equal to zero.  Erase any\n"
    "lines with zero XY values or check the\n"
    "\"Ignore 1st line\"  box when opening file.",
    "Invalid or missing data in file.  ",
    "The X - Y extent of this file is too large.\n    Check file and try again.",
    "The lines of this file end in a carriage return alone,\n"
    "as old Macintosh programs wrote them.  Convert its line\n"
    "ends to CR LF or LF and try again.",
};

bool knownOpenMessage(const fuzz::Shown& shown) {
    if (shown.caption != "Error") return false;
    for (const char* text : kOpenTexts)
        if (shown.text == text) return true;
    // The messages that name a line.
    const std::string tail = "\n    Check file and try again.";
    return shown.text.rfind("Line ", 0) == 0 && shown.text.size() > tail.size() &&
           shown.text.compare(shown.text.size() - tail.size(), tail.size(), tail) == 0;
}

int countLineEnds(const std::string& text) {
    int count = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_window = fuzz::startApp(argc, argv);
    g_pointFile = fuzz::scratchPath("open.csv");
    g_outputFile = fuzz::scratchPath("out.csv");
    fuzz::removeAtExit(g_pointFile);
    fuzz::removeAtExit(g_outputFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint8_t choice = in.byte();
    const bool swap = choice & 1, skipHeader = choice & 2, move = choice & 32;
    const int form = IDC_FORM_COMMA + ((choice >> 3) & 3) % 3;
    const std::string content = in.rest();
    fuzz::writeFile(g_pointFile, content);
    struct stat before;
    FUZZ_CHECK(stat(g_pointFile.c_str(), &before) == 0, "the point file exists");
    std::remove(g_outputFile.c_str());

    const int previousSkip = (choice & 4) ? 1 : 0;
    g_skipHeader = static_cast<short>(previousSkip);  // what the previous Open's Swap Fields left
    fuzz::shownMessages().clear();
    fuzz::modalAnswer() = [&](layer::ModalWindow& m) {
        switch (m.kind()) {
        case td::ModalKind::OpenFile: m.choose(g_pointFile); break;
        case td::ModalKind::SaveFile: m.choose(g_outputFile); break;
        case td::ModalKind::MessageBox: m.answer(m.caption() == "Notice" ? IDYES : IDOK); break;
        case td::ModalKind::Dialog:
            if (m.templateId() == IDD_SWAPFIELDS) {
                if (swap) m.click(IDC_SWAP_YES);
                if (skipHeader) m.click(IDC_SKIPHEADER);
            } else if (m.templateId() == IDD_WRITEFILEAS) {
                m.click(form);
            }
            m.click(IDOK);
            break;
        }
    };

    mainWindowProc(g_window, WM_COMMAND, IDM_OPEN, 0);
    for (const fuzz::Shown& shown : fuzz::shownMessages())
        if (shown.caption != "Note:") FUZZ_CHECK(knownOpenMessage(shown), "the open shows only its own messages");
    FUZZ_CHECK(!heldOpen(g_inputPath), "the open leaves the point file closed");

    if (g_viewState == ViewState::Drawn) {
        for (const fuzz::Shown& shown : fuzz::shownMessages())
            FUZZ_CHECK(shown.caption != "Error", "an open that plots showed no error");
        // The counting pass counts from the line after the previous choice's header, the
        // points from the line after this choice's.
        FUZZ_CHECK(g_pointCount > 0 && g_lineCount == g_pointCount + (skipHeader ? 1 : 0) - previousSkip,
                   "points and lines counted");
        FUZZ_CHECK(g_minX < g_maxX && g_minY < g_maxY, "ranges found");
        FUZZ_CHECK(g_rangeX == static_cast<long long>(g_maxX) - g_minX, "X range");
        FUZZ_CHECK(g_rangeY == static_cast<long long>(g_maxY) - g_minY, "Y range");
        FUZZ_CHECK(g_minZ <= g_maxZ && g_rangeZ >= 0, "elevation range");
        FUZZ_CHECK(g_plotLeft < g_plotRight && g_plotTop < g_plotBottom, "a frame");

        fuzz::shownMessages().clear();
        const bool canMove = !(g_minY < 2 && g_minX < 2);
        mainWindowProc(g_window, WM_COMMAND, move ? IDM_MOVEALL : IDM_SELECTALL, 0);
        if (!move || canMove) {
            const std::string written = fuzz::readFile(g_outputFile);
            const fuzz::Shown& last = fuzz::shownMessages().back();
            FUZZ_CHECK(last.caption == "File Saved", "the writer reads every line the open accepted");
            const int count = std::atoi(last.text.c_str());
            FUZZ_CHECK(last.text == std::to_string(count) + " points written to " + g_outputFile, "the saved message");
            FUZZ_CHECK(count <= g_pointCount, "no more points written than the file has");
            FUZZ_CHECK(countLineEnds(written) == count, "one output line per point written");
        }
        FUZZ_CHECK(!heldOpen(g_inputPath), "the writer leaves the point file closed");
    }

    struct stat after;
    FUZZ_CHECK(stat(g_pointFile.c_str(), &after) == 0, "the point file is still there");
    FUZZ_CHECK(after.st_size == before.st_size && after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
                   after.st_mtim.tv_nsec == before.st_mtim.tv_nsec,
               "the point file is untouched");
    FUZZ_CHECK(fuzz::readFile(g_pointFile) == content, "the point file's bytes are unchanged");
    return 0;
}
