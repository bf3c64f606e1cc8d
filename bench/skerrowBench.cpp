// Runs one Skerrow operation headless through the real commands and dialogs, as a user
// would, and prints its wall time and the process's peak resident memory:
//   skerrow_bench open|selectall|m2ft|rect|move|polygon|outside|rectwide|zoom INPUT [OUTPUT]
// open      Open (both passes, the read-back of the last line, the fit) and the drawing;
//           then Redraw alone
// selectall Open, then "Select All Pts." written as comma separated copies
// m2ft      Open, then "Select All Pts." converted metres to feet
// rect      Open, then a rectangle dragged over the middle half of the frame in each
//           direction (about a quarter of the extent), written as copies; prints the
//           whole-number bounds it selected
// move      Open, then "Move All Pts."
// polygon   Open, then a 50-vertex star over the middle of the frame, of the rectangle's
//           area in pixels (so about as many points), closed by Enter and written as
//           copies; the time runs from the close
// outside   Open, then "Points Outside" and the rectangle of rect: the other three
//           quarters or so, written as copies
// rectwide  Open, then a rectangle over the frame's width and its lower three quarters:
//           about as many points as outside, written as copies
// zoom      Open, then the rectangle of rect dragged with the right button; then Redraw
//           of the zoomed view alone
// One operation per process, so that the peak memory is the operation's own.
#include <sys/resource.h>
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/areaSelection.h"
#include "app/mainWindow.h"
#include "points/appState.h"
#include "resource.h"
#include "testdriver.h"

namespace {

int g_failures = 0;

double seconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long peakKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // KiB on Linux
}

void fail(const std::string& what) {
    std::fprintf(stderr, "skerrow_bench: %s\n", what.c_str());
    ++g_failures;
}

// The note of the first Open, the file dialog, Swap Fields with its presets.
void answerOpen(const std::string& input) {
    td::expectModal([](td::Modal& m) { m.answer(IDOK); });
    td::expectModal([input](td::Modal& m) { m.choose(input); });
    td::expectModal([](td::Modal& m) {
        if (m.templateId() != IDD_SWAPFIELDS) fail("expected Swap Fields, got " + m.caption());
        m.click(IDOK);
    });
}

// " Write File As" comma separated, " Conversion" when conversion is a radio id.
void answerWriteOptions(int conversion) {
    td::expectModal([conversion](td::Modal& m) {
        if (m.templateId() != IDD_WRITEFILEAS) fail("expected Write File As, got " + m.caption());
        m.click(IDC_FORM_COMMA);
        if (conversion) m.click(IDC_MODIFYVALUES);
        m.click(IDOK);
    });
    if (conversion) {
        td::expectModal([conversion](td::Modal& m) {
            if (m.templateId() != IDD_CONVERSION) fail("expected Conversion, got " + m.caption());
            m.click(conversion);
            m.click(IDOK);
        });
    }
}

// The save dialog (with its question when the name is taken) and the closing "File Saved"
// message, whose count is handed back.
void answerSave(const std::string& output, long* written) {
    td::expectModal([output](td::Modal& m) { m.choose(output); });
    if (std::filesystem::exists(output))
        td::expectModal([](td::Modal& m) {
            if (m.caption() != "Confirm Save As") fail("expected Confirm Save As, got " + m.caption());
            m.answer(IDYES);
        });
    td::expectModal([written](td::Modal& m) {
        if (m.caption() != "File Saved") fail("expected File Saved, got " + m.caption() + ": " + m.text());
        *written = std::strtol(m.text().c_str(), nullptr, 10);
        m.answer(IDOK);
    });
}

// The rectangle of rect: the middle half of the frame in each direction.
void middleBox(POINT* from, POINT* to) {
    const int width = g_plotRight - g_plotLeft, height = g_plotBottom - g_plotTop;
    *from = POINT{g_plotLeft + width / 4, g_plotTop + height / 4};
    *to = POINT{g_plotLeft + width * 3 / 4, g_plotTop + height * 3 / 4};
}

// A star of 50 vertices round the frame's centre, every second one at four fifths of the
// reach: its area, 25 r r' sin(2 pi / 50), is the middle box's.
constexpr int kStarVertices = 50;
void clickStar(HWND window) {
    const int width = g_plotRight - g_plotLeft, height = g_plotBottom - g_plotTop;
    const double pi = 3.14159265358979323846, step = 2 * pi / kStarVertices, inner = 0.8;
    const double area = (width / 2.0) * (height / 2.0);
    const double reach = std::sqrt(area / (kStarVertices / 2 * inner * std::sin(step)));
    const double centreX = g_plotLeft + width / 2.0, centreY = g_plotTop + height / 2.0;
    for (int i = 0; i < kStarVertices; ++i) {
        const double r = i % 2 ? reach * inner : reach;
        td::click(window, static_cast<int>(std::lround(centreX + r * std::cos(i * step))),
                  static_cast<int>(std::lround(centreY + r * std::sin(i * step))));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(
            stderr,
            "usage: skerrow_bench open|selectall|m2ft|rect|move|polygon|outside|rectwide|zoom INPUT [OUTPUT]\n");
        return 2;
    }
    const std::string operation = argv[1];
    const std::string input = argv[2];
    const std::string output = argc > 3 ? argv[3] : "";
    if (operation != "open" && operation != "zoom" && output.empty()) {
        std::fprintf(stderr, "skerrow_bench: %s needs an OUTPUT\n", operation.c_str());
        return 2;
    }
    td::startLayer(argc, argv);
    HWND window = createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL);
    if (!window) return 1;
    td::pump();

    answerOpen(input);
    auto start = std::chrono::steady_clock::now();
    td::command(window, IDM_OPEN);
    const double openSeconds = seconds(start);
    if (g_viewState != ViewState::Drawn) {
        fail("the file did not open and draw");
        return 1;
    }
    std::printf("open_seconds=%.4f points=%d\n", openSeconds, g_pointCount);

    long written = -1;
    start = std::chrono::steady_clock::now();
    if (operation == "open") {
        td::command(window, IDM_REDRAW);
        std::printf("redraw_seconds=%.4f\n", seconds(start));
    } else if (operation == "selectall" || operation == "m2ft") {
        answerWriteOptions(operation == "m2ft" ? IDC_CONV_M2FT : 0);
        answerSave(output, &written);
        td::command(window, IDM_SELECTALL);
    } else if (operation == "rect" || operation == "outside") {
        POINT from, to;
        middleBox(&from, &to);
        if (operation == "outside") td::command(window, IDM_OUTSIDE);
        answerWriteOptions(0);
        answerSave(output, &written);
        start = std::chrono::steady_clock::now();
        td::drag(window, from, to);
        std::printf("bounds=%d,%d,%d,%d\n", g_selMinX, g_selMaxX, g_selMinY, g_selMaxY);
    } else if (operation == "rectwide") {
        const int height = g_plotBottom - g_plotTop;
        answerWriteOptions(0);
        answerSave(output, &written);
        start = std::chrono::steady_clock::now();
        td::drag(window, {g_plotLeft, g_plotTop + height / 4}, {g_plotRight, g_plotBottom});
        std::printf("bounds=%d,%d,%d,%d\n", g_selMinX, g_selMaxX, g_selMinY, g_selMaxY);
    } else if (operation == "polygon") {
        td::command(window, IDM_POLYGON);
        clickStar(window);
        answerWriteOptions(0);
        answerSave(output, &written);
        start = std::chrono::steady_clock::now();
        td::key(window, VK_RETURN);
    } else if (operation == "zoom") {
        POINT from, to;
        middleBox(&from, &to);
        td::rightDrag(window, from, to);
        if (!g_zoom.zoomed) fail("the view did not zoom");
        start = std::chrono::steady_clock::now();
        td::command(window, IDM_REDRAW);
        std::printf("redraw_seconds=%.4f\n", seconds(start));
    } else if (operation == "move") {
        td::expectModal([](td::Modal& m) {
            if (m.caption() != "Notice") fail("expected the move question, got " + m.caption());
            m.answer(IDYES);
        });
        answerSave(output, &written);
        td::command(window, IDM_MOVEALL);
    } else {
        fail("unknown operation " + operation);
        return 2;
    }
    td::checkDone();
    if (operation != "open" && operation != "zoom") {
        std::printf("write_seconds=%.4f written=%ld\n", seconds(start), written);
        if (written < 0) fail("no File Saved message");
    }
    std::printf("peak_rss_kib=%ld\n", peakKib());
    DestroyWindow(window);
    td::pump();
    return g_failures ? 1 : 0;
}
