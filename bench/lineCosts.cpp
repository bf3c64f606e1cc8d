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
#include "points/pointLine.h"

namespace {

std::vector<std::string> g_lines;
volatile long g_sink;  // keeps the work from being optimised away

// Nanoseconds a line of one round of step over every held line.
template <typename Step>
double perLine(Step step) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& line : g_lines) {
        std::memcpy(g_lineBuf, line.c_str(), line.size() + 1);
        step();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / g_lines.size() * 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: line_costs FILE\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::string line;
    while (g_lines.size() < 2000000 && std::getline(in, line))
        if (line.size() < sizeof g_lineBuf) g_lines.push_back(line);
    if (g_lines.empty()) return 1;
    g_fieldCount = 3;
    g_swapXY = 0;
    std::strcpy(g_inputPath, argv[1]);
    g_skipHeader = 0;
    char out[OUTPUT_LINE_MAX];
    const std::string gap = ",";
    double parse = 1e9, copy = 1e9, convert = 1e9, read = 1e9;
    for (int round = 0; round < 5; ++round) {
        parse = std::min(parse, perLine([] { g_sink = g_sink + parsePointLine(); }));
        copy = std::min(copy, perLine([&] {
            parsePointLine();
            g_sink = g_sink + (putCopyLine(out, gap) - out);
        }));
        g_conversion = 2;
        convert = std::min(convert, perLine([&] {
            parsePointLine();
            g_sink = g_sink + (putConvertLine(out, gap) - out);
        }));
        // The file itself, line by line through readDataLine (from the page cache).
        const auto start = std::chrono::steady_clock::now();
        long lines = 0;
        if (!startPass()) return 1;
        while (readDataLine(128) == LINE_DATA) ++lines;
        g_input.close();
        read = std::min(read, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / lines * 1e9);
    }
    std::printf("ns a line: readDataLine %.1f, parsePointLine %.1f, parse + copy line %.1f, parse + metres-to-feet line %.1f\n",
                read, parse, copy, convert);
    return 0;
}
