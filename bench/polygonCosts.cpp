// Cost of a point's polygon test against the rectangle's, on random whole points over the
// polygon's box: nanoseconds a point, the best of the rounds.
//   polygon_costs [POINTS [ROUNDS [SHAPE]]]   (SHAPE: all, rectangle, or a polygon's name)
// Instructions a point come from callgrind: the difference between two runs of one round
// of one shape, at POINTS and at twice POINTS, over POINTS.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "points/polygonArea.h"
#include "points/selectionArea.h"

namespace {

constexpr int kDefaultPoints = 1000000;
constexpr int kDefaultRounds = 5;
constexpr double kPi = 3.14159265358979323846;
// A site of survey coordinates: a box of 2 km by 1.6 km in millimetres, far from the origin.
constexpr int kSiteX = 512000000, kSiteY = 400000000, kSiteReach = 800000;

std::vector<long long> g_xs, g_ys;
volatile long g_sink;  // keeps the tests from being optimised away

// Vertices round the site at sorted random angles, each at a reach from narrow to full:
// the uneven outline a user clicks round a site. convex keeps every reach full.
PolygonArea sitePolygon(int count, bool convex, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> angles(static_cast<size_t>(count));
    for (double& angle : angles) angle = unit(random) * 2 * kPi;
    std::sort(angles.begin(), angles.end());
    std::vector<int> xs, ys;
    for (const double angle : angles) {
        const double reach = kSiteReach * (convex ? 1.0 : 0.4 + 0.6 * unit(random));
        xs.push_back(kSiteX + static_cast<int>(std::lround(reach * std::cos(angle))));
        ys.push_back(kSiteY + static_cast<int>(std::lround(0.8 * reach * std::sin(angle))));
    }
    return makePolygonArea(xs.data(), ys.data(), count);
}

struct Cost {
    double nanoseconds;  // a point, in the best round
    double insideShare;  // of the points, in per cent
};

// The best round of test over every held point.
template <typename Test>
Cost perPoint(int rounds, Test test) {
    Cost cost{1e30, 0};
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        long inside = 0;
        for (size_t i = 0; i < g_xs.size(); ++i) inside += test(g_xs[i], g_ys[i]);
        g_sink = inside;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double count = static_cast<double>(g_xs.size());
        cost = Cost{std::min(cost.nanoseconds, seconds / count * 1e9), 100.0 * static_cast<double>(inside) / count};
    }
    return cost;
}

}  // namespace

int main(int argc, char** argv) {
    const int points = argc > 1 ? std::atoi(argv[1]) : kDefaultPoints;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : kDefaultRounds;
    const char* only = argc > 3 ? argv[3] : "all";
    struct Named {
        const char* name;
        PolygonArea polygon;
    };
    const Named polygons[] = {{"uneven50", sitePolygon(50, false, 1)},
                              {"convex50", sitePolygon(50, true, 2)},
                              {"uneven250", sitePolygon(kMostPolygonVertices, false, 3)}};
    // Every polygon spans nearly the same box; the points cover the first one's.
    const PolygonArea& box = polygons[0].polygon;
    std::mt19937_64 random(9);
    std::uniform_int_distribution<long long> inX(box.minX, box.maxX), inY(box.minY, box.maxY);
    for (int i = 0; i < points; ++i) {
        g_xs.push_back(inX(random));
        g_ys.push_back(inY(random));
    }
    const SelectionArea rectangle{AreaKind::Rectangle,
                                  kSiteX - kSiteReach / 2,
                                  kSiteX + kSiteReach / 2,
                                  kSiteY - kSiteReach / 2,
                                  kSiteY + kSiteReach / 2,
                                  0,
                                  0,
                                  0};
    if (std::strcmp(only, "all") == 0 || std::strcmp(only, "rectangle") == 0) {
        const Cost cost = perPoint(rounds, [&](long long x, long long y) {
            return isInsideArea(rectangle, static_cast<double>(x), static_cast<double>(y));
        });
        std::printf("rectangle  %6.2f ns a point  (%.0f %% inside)\n", cost.nanoseconds, cost.insideShare);
    }
    for (const Named& named : polygons) {
        if (std::strcmp(only, "all") != 0 && std::strcmp(only, named.name) != 0) continue;
        const PolygonArea& polygon = named.polygon;
        const Cost cost = perPoint(rounds, [&](long long x, long long y) { return insidePolygon(polygon, x, y); });
        double makeMicroseconds = 1e30;
        for (int round = 0; round < rounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            g_sink = static_cast<long>(makePolygonArea(polygon.xs, polygon.ys, polygon.count).spans.size());
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            makeMicroseconds = std::min(makeMicroseconds, seconds * 1e6);
        }
        // Cells that meet no edge settle by their parity alone.
        const size_t cells = polygon.cells.size() - 1;
        size_t empty = 0;
        for (size_t cell = 0; cell < cells; ++cell) empty += (polygon.cells[cell] & kCellEmpty) != 0;
        std::printf(
            "%-10s %6.2f ns a point  (%.0f %% inside; %d x %d cells, %.0f %% empty, %.2f spans a cell; made in %.0f "
            "us)\n",
            named.name, cost.nanoseconds, cost.insideShare, polygon.bandCount, polygon.columnCount,
            100.0 * static_cast<double>(empty) / static_cast<double>(cells),
            static_cast<double>(polygon.spans.size()) / static_cast<double>(cells), makeMicroseconds);
    }
    return 0;
}
