// The writer's area tests against a brute-force reference: polygons (round, star-shaped,
// self-crossing, and of rows and columns only, with vertices on the file's points), and
// the points outside a polygon, a rectangle or a circle, on every route a plain line can
// take and on the general reading; the same lines on one worker and on several, wherever
// the borders between their tasks fall; and coordinates far beyond any polygon.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "output/writeOptions.h"
#include "output/writePass.h"
#include "points/appState.h"
#include "points/selectionArea.h"
#include "support/borderSweep.h"
#include "support/scratchFolder.h"

namespace {

struct Shape {
    std::vector<int> xs, ys;
};

// The even-odd rule and the on-edge test over every edge, in 128-bit integers.
bool referenceInPolygon(const Shape& shape, long double x, long double y) {
    if (!(std::fabs(x) < 1e12L && std::fabs(y) < 1e12L)) return false;
    const __int128 px = static_cast<long long>(x), py = static_cast<long long>(y);
    bool inside = false;
    const size_t n = shape.xs.size();
    for (size_t i = 0; i < n; ++i) {
        const __int128 ax = shape.xs[i], ay = shape.ys[i], bx = shape.xs[(i + 1) % n], by = shape.ys[(i + 1) % n];
        const bool inBox =
            std::min(ax, bx) <= px && px <= std::max(ax, bx) && std::min(ay, by) <= py && py <= std::max(ay, by);
        if (inBox && (bx - ax) * (py - ay) == (by - ay) * (px - ax)) return true;
        if ((ay > py) != (by > py)) {
            const __int128 left = (px - ax) * (by - ay), right = (py - ay) * (bx - ax);
            if (by > ay ? left < right : left > right) inside = !inside;
        }
    }
    return inside;
}

// A data line and the whole X and Y it reads as.
struct Line {
    std::string text;  // without its line feed
    long double x, y;
    bool noData;
};

// One line for every whole point of the square of the radius, in random order, written in
// the forms survey files hold: whole, with decimals, negative, with an exponent (which
// the general reading takes), and some without a height (32767).
std::vector<Line> gridLines(std::mt19937& random, int radius) {
    std::vector<Line> lines;
    std::uniform_int_distribution<int> form(0, 9);
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x) {
            const int f = form(random);
            const std::string xText = f == 9 ? std::to_string(x) + "e0" : std::to_string(x) + (f < 4 ? ".25" : "");
            const std::string yText = std::to_string(y) + (f % 2 ? ".5" : "");
            const bool noData = f == 8;
            lines.push_back(Line{xText + "," + yText + "," + (noData ? "32767" : std::to_string(200 + f) + ".125"),
                                 static_cast<long double>(x), static_cast<long double>(y), noData});
        }
    std::shuffle(lines.begin(), lines.end(), random);
    return lines;
}

// Shapes over the grid: round (near convex), star-shaped (concave), in random order
// (self-crossing), and of rows and columns only (every edge along one).
Shape randomShape(std::mt19937& random, int kind, int count, int radius) {
    std::uniform_int_distribution<int> coordinate(-radius, radius);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Shape shape;
    if (kind == 3) {
        int x = coordinate(random), y = coordinate(random);
        for (int i = 0; i < count; ++i) {
            shape.xs.push_back(x);
            shape.ys.push_back(y);
            if (i % 2)
                x = coordinate(random);
            else
                y = coordinate(random);
        }
        shape.xs.push_back(x);
        shape.ys.push_back(shape.ys[0]);
        return shape;
    }
    std::vector<double> angles(count);
    for (double& angle : angles) angle = unit(random) * 2 * M_PI;
    std::sort(angles.begin(), angles.end());
    for (int i = 0; i < count; ++i) {
        const double reach = kind == 0 ? radius : radius * (0.2 + 0.8 * unit(random));
        shape.xs.push_back(kind == 2 ? coordinate(random) : static_cast<int>(std::lround(reach * std::cos(angles[i]))));
        shape.ys.push_back(kind == 2 ? coordinate(random) : static_cast<int>(std::lround(reach * std::sin(angles[i]))));
    }
    return shape;
}

struct Written {
    PassResult result;
    long long count;
    std::string bytes;
};

WriteChoices copies() { return WriteChoices{Conversion::None, false, 0.0f, FileType::Comma, 0, 0, 0}; }
// Two tabs a gap: no copy route takes it, every plain line goes the general way.
WriteChoices twoTabs() { return WriteChoices{Conversion::None, false, 0.0f, FileType::Tab, 2, 0, 0}; }
WriteChoices toFeet() { return WriteChoices{Conversion::MetresToFeet, false, 0.0f, FileType::Comma, 0, 0, 0}; }

SelectionArea everything() { return SelectionArea{AreaKind::Everything, 0, 0, 0, 0, 0, 0, 0}; }

class AreaWriting : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeScratchFolder("skerrow-area-");
        g_fieldCount = 3;
        g_swapXY = 0;
        g_skipHeader = 0;
    }
    void TearDown() override {
        unsetenv("SKERROW_THREADS");
        std::filesystem::remove_all(dir);
    }

    static std::string content(const std::vector<Line>& lines) {
        std::string text;
        for (const Line& line : lines) text += line.text + "\n";
        return text;
    }

    Written write(const std::string& text, const SelectionArea& area, const WriteChoices& choices, int workers) {
        const std::string input = (dir / "points.csv").string();
        std::ofstream(input, std::ios::binary) << text;
        std::strcpy(g_inputPath, input.c_str());
        g_inputStamp = stampOf(g_inputPath);
        setenv("SKERROW_THREADS", std::to_string(workers).c_str(), 1);
        const std::string outputPath = (dir / "out.csv").string();
        HANDLE output =
            CreateFileA(outputPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        EXPECT_NE(output, INVALID_HANDLE_VALUE);
        const PassOutcome pass = writeChosenPoints(output, openedFile(), area, choices, nullptr);
        CloseHandle(output);
        std::ifstream in(outputPath, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return Written{pass.result, pass.count, bytes.str()};
    }

    // What the area's write must hold: the lines every point's write makes, of the points
    // the reference takes, in the file's order (a point without a height makes none).
    template <class Takes>
    std::string expected(const std::vector<Line>& lines, const WriteChoices& choices, Takes takes) {
        const Written all = write(content(lines), everything(), choices, 1);
        EXPECT_EQ(all.result, PassResult::Done);
        std::istringstream out(all.bytes);
        std::string text;
        for (const Line& line : lines) {
            if (line.noData) continue;
            std::string written;
            std::getline(out, written);
            if (takes(line)) text += written + "\n";
        }
        return text;
    }

    std::filesystem::path dir;
};

TEST_F(AreaWriting, PolygonsAndTheirOutsidesMatchTheReferenceOnEveryRoute) {
    std::mt19937 random(11);
    const int radius = 12;
    const std::vector<Line> lines = gridLines(random, radius);
    const std::string text = content(lines);
    for (int round = 0; round < 48; ++round) {
        const Shape shape = randomShape(random, round % 4, 3 + round % 17, radius);
        const PolygonArea polygon =
            makePolygonArea(shape.xs.data(), shape.ys.data(), static_cast<int>(shape.xs.size()));
        for (const bool outside : {false, true}) {
            const SelectionArea area{AreaKind::Polygon, 0, 0, 0, 0, 0, 0, 0, &polygon, outside};
            for (const WriteChoices& choices : {copies(), twoTabs(), toFeet()}) {
                SCOPED_TRACE(::testing::Message() << "round " << round << (outside ? ", outside" : "") << ", form "
                                                  << static_cast<int>(choices.fileType) << ", conversion "
                                                  << static_cast<int>(choices.conversion));
                const std::string want = expected(lines, choices, [&](const Line& line) {
                    return referenceInPolygon(shape, line.x, line.y) != outside;
                });
                const Written got = write(text, area, choices, 1);
                ASSERT_EQ(got.result, PassResult::Done);
                ASSERT_EQ(got.bytes, want);
                ASSERT_EQ(got.count, std::count(want.begin(), want.end(), '\n'));
            }
        }
    }
}

TEST_F(AreaWriting, OutsideARectangleOrACircleIsEveryOtherPoint) {
    std::mt19937 random(5);
    const std::vector<Line> lines = gridLines(random, 9);
    const std::string text = content(lines);
    const SelectionArea rectangle{AreaKind::Rectangle, -3, 5, -7, 2, 0, 0, 0};
    const SelectionArea circle{AreaKind::Circle, -6, 8, -8, 6, 1, -1, 7};
    for (const bool outside : {false, true})
        for (SelectionArea area : {rectangle, circle}) {
            area.outside = outside;
            for (const WriteChoices& choices : {copies(), twoTabs(), toFeet()}) {
                SCOPED_TRACE(::testing::Message()
                             << "area " << static_cast<int>(area.kind) << (outside ? ", outside" : "") << ", form "
                             << static_cast<int>(choices.fileType));
                const std::string want = expected(lines, choices, [&](const Line& line) {
                    const bool inRectangle =
                        line.x >= area.minX && line.x <= area.maxX && line.y >= area.minY && line.y <= area.maxY;
                    const long double dx = line.x - area.centreX, dy = line.y - area.centreY;
                    const bool inCircle = dx * dx + dy * dy <= static_cast<long double>(area.radius) * area.radius;
                    return (area.kind == AreaKind::Rectangle ? inRectangle : inCircle) != outside;
                });
                EXPECT_EQ(write(text, area, choices, 1).bytes, want);
            }
        }
}

TEST_F(AreaWriting, WorkersWriteThePolygonsLinesWhereverTheirBordersFall) {
    // A diamond over a strip of points that runs in and out of it line by line.
    const Shape shape{{0, 6, 0, -6}, {-6, 0, 6, 0}};
    const PolygonArea polygon = makePolygonArea(shape.xs.data(), shape.ys.data(), 4);
    std::vector<Line> lines;
    for (int i = 0; i < 40; ++i) {
        const int x = (i * 5) % 15 - 7, y = (i * 3) % 13 - 6;
        lines.push_back(Line{std::to_string(x) + ".5," + std::to_string(y) + ".25,100.5", static_cast<long double>(x),
                             static_cast<long double>(y), false});
    }
    for (const bool outside : {false, true}) {
        const SelectionArea area{AreaKind::Polygon, 0, 0, 0, 0, 0, 0, 0, &polygon, outside};
        for (const WriteChoices& choices : {copies(), twoTabs()}) {
            for (int pad = 0; pad < 60; pad += kSweepStep) {
                // Longer decimals in the first lines move every border between the tasks.
                std::vector<Line> padded = lines;
                for (int i = 0; i < 3; ++i)
                    padded[i].text.insert(
                        padded[i].text.find('.') + 1,
                        std::string(static_cast<size_t>(std::min(20, std::max(0, pad - 20 * i))), '0'));
                const std::string want = expected(padded, choices, [&](const Line& line) {
                    return referenceInPolygon(shape, line.x, line.y) != outside;
                });
                for (int workers : {1, 2, 3, 7})
                    ASSERT_EQ(write(content(padded), area, choices, workers).bytes, want)
                        << workers << " workers, padding " << pad << (outside ? ", outside" : "");
            }
        }
    }
}

TEST_F(AreaWriting, CoordinatesBeyondTheIntRangeLieOutsideEveryPolygon) {
    // A file changed since it was opened may hold any whole X or Y: those past the range of
    // the vertices are outside, on the copy route and on the general reading alike.
    const Shape shape{{INT_MIN, INT_MAX, INT_MAX, INT_MIN}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};
    const PolygonArea polygon = makePolygonArea(shape.xs.data(), shape.ys.data(), 4);
    const std::vector<Line> lines = {
        {"2147483647.5,-2147483648.5,1.5", 2147483647.0L, -2147483648.0L, false},
        {"2147483648,0,1.5", 2147483648.0L, 0, false},
        {"0,-2147483649.25,1.5", 0, -2147483649.0L, false},
        {"9223372036854775808,1,1.5", 9223372036854775808.0L, 1, false},
        {"-18446744073709551616,1,1.5", -18446744073709551616.0L, 1, false},
        {"1e300,5,1.5", 1e300L, 5, false},
        {"5,-1e300,1.5", 5, -1e300L, false},
        {"3,4,1.5", 3, 4, false},
    };
    for (const bool outside : {false, true}) {
        const SelectionArea area{AreaKind::Polygon, 0, 0, 0, 0, 0, 0, 0, &polygon, outside};
        for (const WriteChoices& choices : {copies(), twoTabs()}) {
            const std::string want = expected(lines, choices, [&](const Line& line) {
                const bool inside = line.x >= INT_MIN && line.x <= INT_MAX && line.y >= INT_MIN && line.y <= INT_MAX;
                return inside != outside;
            });
            for (int workers : {1, 3})
                EXPECT_EQ(write(content(lines), area, choices, workers).bytes, want)
                    << workers << " workers" << (outside ? ", outside" : "");
        }
    }
}

}  // namespace
