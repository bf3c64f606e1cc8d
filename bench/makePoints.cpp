// Writes a deterministic point file of survey-like values, so that every benchmark run
// and every machine reads the very same bytes:
//   makePoints LINES FIELDS(2|3|5) OUTPUT [--header] [--crlf] [--seed N]
// Eastings are six-digit and northings seven-digit, each with two or three decimals;
// elevations have three; 5-field lines carry a point number and a short description.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// splitmix64: small, fast and the same on every platform.
uint64_t g_state = 20240611;
uint64_t next() {
    uint64_t z = (g_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}
uint64_t below(uint64_t n) { return next() % n; }

const char* const kDescriptions[] = {"TREE", "POST", "FENCE", "EP",   "CL",  "MH",   "BLDG",
                                     "GND",  "TOE",  "TOP",   "WALL", "HYD", "SIGN", "CURB"};

// A value in thousandths written with the given count of decimals (2 or 3).
void putFixed(std::string& out, uint64_t thousandths, int decimals) {
    char text[40];
    if (decimals == 3)
        std::snprintf(text, sizeof text, "%llu.%03llu", (unsigned long long)(thousandths / 1000),
                      (unsigned long long)(thousandths % 1000));
    else
        std::snprintf(text, sizeof text, "%llu.%02llu", (unsigned long long)(thousandths / 1000),
                      (unsigned long long)(thousandths % 1000 / 10));
    out += text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: makePoints LINES FIELDS(2|3|5) OUTPUT [--header] [--crlf] [--seed N]\n");
        return 2;
    }
    long long lines = std::atoll(argv[1]);
    int fields = std::atoi(argv[2]);
    const char* path = argv[3];
    bool header = false, crlf = false;
    for (int i = 4; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--header"))
            header = true;
        else if (!std::strcmp(argv[i], "--crlf"))
            crlf = true;
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            g_state = std::strtoull(argv[++i], nullptr, 10);
    }
    if (lines < 1 || (fields != 2 && fields != 3 && fields != 5)) {
        std::fprintf(stderr, "makePoints: LINES must be positive and FIELDS 2, 3 or 5\n");
        return 2;
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::perror(path);
        return 1;
    }
    const char* end = crlf ? "\r\n" : "\n";
    std::string block;
    if (header) {
        block += fields == 2   ? "Easting,Northing"
                 : fields == 3 ? "Easting,Northing,Elevation"
                               : "Point,Easting,Northing,Elevation,Code";
        block += end;
    }
    // A site of 8 km by 6 km; the ground rises gently to the north-east with local relief.
    const uint64_t east0 = 412000000, north0 = 5318000000;  // thousandths
    for (long long n = 1; n <= lines; ++n) {
        uint64_t e = below(8000000), nn = below(6000000);
        uint64_t z = 120000 + (e + nn) / 40 + below(25000);
        int decimals = below(4) == 0 ? 3 : 2;
        if (fields == 5) {
            block += std::to_string(n);
            block += ',';
        }
        putFixed(block, east0 + e, decimals);
        block += ',';
        putFixed(block, north0 + nn, decimals);
        if (fields != 2) {
            block += ',';
            putFixed(block, z, 3);
        }
        if (fields == 5) {
            block += ',';
            block += kDescriptions[below(sizeof kDescriptions / sizeof kDescriptions[0])];
        }
        block += end;
        if (block.size() > (1 << 20)) {
            std::fwrite(block.data(), 1, block.size(), out);
            block.clear();
        }
    }
    std::fwrite(block.data(), 1, block.size(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
