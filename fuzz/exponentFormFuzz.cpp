// Coordinates written with an exponent against the same values written plainly: two point
// files that differ only in how their X and Y are spelt (633100.25 or 6.3310025e5,
// 63310025e-2, 0.63310025E+6) go through the real commands, and must give the same open
// (messages, ranges, fit), the same pixels, the same moved values and the same points
// inside a dragged rectangle, converted to feet.
// Input: a choice byte (swap, drag corners), then per point: sign and spelling bits, the
// X and Y digits and the elevation.
#include <windows.h>

#include <string>
#include <vector>

#include "fuzzApp.h"
#include "points/appState.h"
#include "resource.h"

namespace {

HWND g_window = NULL;
std::string g_pointFile, g_outputFile;

// A coordinate as its digits, with the decimal point after `whole` of them.
struct Spelt {
    bool negative;
    std::string digits;
    size_t whole;
};

std::string plainForm(const Spelt& c) {
    std::string text = c.negative ? "-" : "";
    text += c.digits.substr(0, c.whole);
    if (c.whole < c.digits.size()) text += "." + c.digits.substr(c.whole);
    return text;
}

// The same value with an exponent, in one of four spellings.
std::string exponentForm(const Spelt& c, int spelling) {
    std::string text = c.negative ? "-" : "";
    const int whole = static_cast<int>(c.whole);
    switch (spelling & 3) {
    case 0:  // one digit before the point
        text += c.digits.substr(0, 1);
        if (c.digits.size() > 1) text += "." + c.digits.substr(1);
        return text + "e" + std::to_string(whole - 1);
    case 1:  // every digit before the point
        return text + c.digits + "e-" + std::to_string(c.digits.size() - c.whole);
    case 2:  // as plainly written, times ten to the nought
        return plainForm(c) + "E0";
    default:  // a point before every digit
        return text + "0." + c.digits + "E+" + std::to_string(whole);
    }
}

struct Outcome {
    std::vector<std::string> messages;
    std::vector<int> ranges;
    std::vector<COLORREF> pixels;
    std::string moved, inRectangle;
};

// Opens the file through the real command and, when it plots, moves all points and
// writes those in the rectangle from one corner to the other, in feet.
Outcome run(const std::string& content, bool swap, POINT from, POINT to) {
    Outcome outcome;
    fuzz::writeFile(g_pointFile, content);
    fuzz::shownMessages().clear();
    bool convert = false;
    fuzz::modalAnswer() = [&](layer::ModalWindow& m) {
        switch (m.kind()) {
        case td::ModalKind::OpenFile: m.choose(g_pointFile); break;
        case td::ModalKind::SaveFile: m.choose(g_outputFile); break;
        case td::ModalKind::MessageBox: m.answer(m.caption() == "Notice" ? IDYES : IDOK); break;
        case td::ModalKind::Dialog:
            if (m.templateId() == IDD_SWAPFIELDS && swap) m.click(IDC_SWAP_YES);
            if (m.templateId() == IDD_WRITEFILEAS && convert) m.click(IDC_MODIFYVALUES);
            if (m.templateId() == IDD_CONVERSION) m.click(IDC_CONV_M2FT);
            m.click(IDOK);
            break;
        }
    };
    g_skipHeader = 0;
    mainWindowProc(g_window, WM_COMMAND, IDM_OPEN, 0);
    // The note comes with the first Open of the process only.
    for (const fuzz::Shown& shown : fuzz::shownMessages())
        if (shown.caption != "Note:") outcome.messages.push_back(shown.caption + ": " + shown.text);
    if (g_viewState != ViewState::Drawn) return outcome;
    outcome.ranges = {g_minX, g_maxX, g_minY, g_maxY, g_plotLeft, g_plotRight, g_plotTop, g_plotBottom};
    HDC dc = GetDC(g_window);
    // Points are drawn on the even pixels only.
    for (int y = g_plotTop + (g_plotTop & 1); y <= g_plotBottom; y += 2)
        for (int x = g_plotLeft + (g_plotLeft & 1); x <= g_plotRight; x += 2)
            outcome.pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(g_window, dc);

    fuzz::shownMessages().clear();
    std::remove(g_outputFile.c_str());
    mainWindowProc(g_window, WM_COMMAND, IDM_MOVEALL, 0);
    outcome.moved = fuzz::readFile(g_outputFile);
    for (const fuzz::Shown& shown : fuzz::shownMessages()) outcome.moved += "|" + shown.caption;

    mainWindowProc(g_window, WM_COMMAND, IDM_REDRAW, 0);
    fuzz::shownMessages().clear();
    std::remove(g_outputFile.c_str());
    convert = true;
    mainWindowProc(g_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    mainWindowProc(g_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    mainWindowProc(g_window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    outcome.inRectangle = fuzz::readFile(g_outputFile);
    for (const fuzz::Shown& shown : fuzz::shownMessages()) outcome.inRectangle += "|" + shown.caption;
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_window = fuzz::startApp(argc, argv);
    g_pointFile = fuzz::scratchPath("exponent.csv");
    g_outputFile = fuzz::scratchPath("exponent-out.csv");
    fuzz::removeAtExit(g_pointFile);
    fuzz::removeAtExit(g_outputFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint8_t choice = in.byte();
    const bool swap = choice & 1;
    // Drag corners inside the plot area, from the input.
    const POINT from = {30 + in.byte() * 3, 20 + in.byte() * 2};
    const POINT to = {30 + in.byte() * 3, 20 + in.byte() * 2};
    std::string plain, spelt;
    for (int point = 0; point < 8; ++point) {
        const uint8_t bits = in.byte();
        const uint32_t xDigits = in.value<uint32_t>(), yDigits = in.value<uint32_t>();
        const uint16_t elevation = in.value<uint16_t>();
        std::string fields[2];
        std::string spelled[2];
        const uint32_t values[2] = {xDigits, yDigits};
        for (int k = 0; k < 2; ++k) {
            // 1 to 9 digits with no leading zero, 0 to 3 of them after the point.
            const uint32_t value = 1 + values[k] % 999999999u;
            Spelt c{(bits >> (4 + k)) & 1 ? true : false, std::to_string(value), 0};
            const size_t decimals = ((values[k] >> 28) & 3) % (c.digits.size() < 4 ? c.digits.size() : 4);
            c.whole = c.digits.size() - decimals;
            fields[k] = plainForm(c);
            spelled[k] = (bits >> k) & 1 ? exponentForm(c, bits >> (2 + 2 * k)) : fields[k];
        }
        const std::string z = std::to_string(elevation / 10) + "." + std::to_string(elevation % 10);
        plain += fields[0] + "," + fields[1] + "," + z + "\r\n";
        spelt += spelled[0] + "," + spelled[1] + "," + z + "\r\n";
        if (in.rest().empty()) break;
    }

    const Outcome a = run(plain, swap, from, to);
    const Outcome b = run(spelt, swap, from, to);
    FUZZ_CHECK(a.messages == b.messages, "the same messages from the open");
    FUZZ_CHECK(a.ranges == b.ranges, "the same ranges and fit");
    FUZZ_CHECK(a.pixels == b.pixels, "the same pixels");
    FUZZ_CHECK(a.moved == b.moved, "the same moved values");
    FUZZ_CHECK(a.inRectangle == b.inRectangle, "the same points inside the rectangle, converted alike");
    return 0;
}
