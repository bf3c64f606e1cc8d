// Per-line costs of the steps every pass repeats, on lines held in memory so that the file
// system stays out of the figures: the best of five rounds over the first 2 million lines.
//   line_costs FILE      (a 3-field point file, such as makePoints writes)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "output/outputLine.h"
#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/pointFields.h"

namespace {

std::string g_text;  // the lines, each followed by its line feed
std::vector<size_t> g_starts;
volatile long g_sink;  // keeps the work from being optimised away

// Nanoseconds a line of one round of step over every held line.
template <typename Step>
double perLine(Step step) {
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i + 1 < g_starts.size(); ++i)
        step(g_text.data() + g_starts[i], g_starts[i + 1] - g_starts[i] - 1);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / (g_starts.size() - 1) *
           1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: line_costs FILE\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::string line;
    while (g_starts.size() < 2000000 && std::getline(in, line)) {
        if (line.size() >= kLineBufferSize) continue;
        g_starts.push_back(g_text.size());
        g_text += line + "\n";
    }
    if (g_starts.empty()) return 1;
    g_starts.push_back(g_text.size());
    g_text.append(kLineTailRoom, '\0');
    g_fieldCount = 3;
    g_swapXY = 0;
    std::strcpy(g_inputPath, argv[1]);
    g_skipHeader = 0;
    char out[kOutputLineMax];
    const PointLayout layout = pointLayout();
    WriteChoices choices = writeChoices();
    LineReader reader;
    PointFields point;
    double cut = 1e9, copy = 1e9, convert = 1e9, read = 1e9;
    for (int round = 0; round < 5; ++round) {
        cut = std::min(cut, perLine([&](const char* text, size_t length) {
                           g_sink = g_sink + cutPointFields(text, length, layout, &point);
                       }));
        choices.conversion = Conversion::None;
        const LineForm copyForm = lineForm(choices, layout);
        copy = std::min(copy, perLine([&](const char* text, size_t length) {
                            cutPointFields(text, length, layout, &point);
                            g_sink = g_sink + (putCopyLine(out, point, copyForm) - out);
                        }));
        choices.conversion = Conversion::MetresToFeet;
        const LineForm convertForm = lineForm(choices, layout);
        convert = std::min(convert, perLine([&](const char* text, size_t length) {
                               cutPointFields(text, length, layout, &point);
                               g_sink = g_sink + (putConvertLine(out, point, convertForm) - out);
                           }));
        // The file itself, line by line through nextDataLine (from the page cache).
        const auto start = std::chrono::steady_clock::now();
        long lines = 0;
        if (!openReader(reader, g_inputPath, headerChoice())) return 1;
        const char* text;
        size_t length;
        while (nextDataLine(reader, kFullLineLimit, &text, &length) == LineOutcome::Data) ++lines;
        closeReader(reader);
        read = std::min(read,
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / lines * 1e9);
    }
    std::printf(
        "ns a line: nextDataLine %.1f, cutPointFields %.1f, cut + copy line %.1f, cut + metres-to-feet line %.1f\n",
        read, cut, copy, convert);
    return 0;
}
