// The polygon area against a plain reference: the even-odd rule and the on-edge test over
// every edge, in 128-bit integers.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

#include "points/polygonArea.h"

namespace {

struct Shape {
    std::vector<int> xs, ys;
};

PolygonArea make(const Shape& shape) {
    return makePolygonArea(shape.xs.data(), shape.ys.data(), static_cast<int>(shape.xs.size()));
}

bool referenceInside(const Shape& shape, long long x, long long y) {
    bool inside = false;
    const size_t n = shape.xs.size();
    for (size_t i = 0; i < n; ++i) {
        const __int128 ax = shape.xs[i], ay = shape.ys[i], bx = shape.xs[(i + 1) % n], by = shape.ys[(i + 1) % n];
        const bool inBox =
            std::min(ax, bx) <= x && x <= std::max(ax, bx) && std::min(ay, by) <= y && y <= std::max(ay, by);
        if (inBox && (bx - ax) * (y - ay) == (by - ay) * (x - ax)) return true;
        if ((ay > y) != (by > y)) {
            // The crossing column ax + (y - ay)(bx - ax) / (by - ay) lies right of x.
            const __int128 left = (x - ax) * (by - ay), right = (y - ay) * (bx - ax);
            if (by > ay ? left < right : left > right) inside = !inside;
        }
    }
    return inside;
}

// Every whole point of the shape's box and a margin of two, which holds every vertex and
// every whole point of its edges.
void expectGridMatches(const Shape& shape) {
    const PolygonArea polygon = make(shape);
    for (int y = polygon.minY - 2; y <= polygon.maxY + 2; ++y)
        for (int x = polygon.minX - 2; x <= polygon.maxX + 2; ++x)
            ASSERT_EQ(insidePolygon(polygon, x, y), referenceInside(shape, x, y)) << x << "," << y;
}

// Shapes of small coordinates, where rows, columns, collinear and repeated vertices and
// crossings come often: round (near convex), star-shaped (concave) and in random order
// (self-crossing).
Shape randomShape(std::mt19937& random, int kind, int count, int radius) {
    std::uniform_int_distribution<int> coordinate(-radius, radius);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Shape shape;
    std::vector<double> angles(count);
    for (double& angle : angles) angle = unit(random) * 2 * M_PI;
    std::sort(angles.begin(), angles.end());
    for (int i = 0; i < count; ++i) {
        const double reach = kind == 0 ? radius : kind == 1 ? radius * (0.2 + 0.8 * unit(random)) : 0;
        shape.xs.push_back(kind == 2 ? coordinate(random) : static_cast<int>(std::lround(reach * std::cos(angles[i]))));
        shape.ys.push_back(kind == 2 ? coordinate(random) : static_cast<int>(std::lround(reach * std::sin(angles[i]))));
    }
    return shape;
}

TEST(PolygonArea, RandomShapesMatchTheReferenceOnEveryGridPoint) {
    std::mt19937 random(7);
    for (int round = 0; round < 600; ++round) {
        const int kind = round % 3, count = 3 + round % 23;
        SCOPED_TRACE(::testing::Message() << "round " << round);
        expectGridMatches(randomShape(random, kind, count, 4 + round % 9));
    }
}

// Vertices and points near the 32-bit limits: a grid shape scaled up, with its vertices,
// the points of its edges and their neighbours one unit off; then random vertices over
// the whole range, with random points of their box and points exactly on their edges.
TEST(PolygonArea, LargeCoordinatesMatchTheReference) {
    std::mt19937 random(11);
    constexpr long long kScale = INT32_MAX / 12;
    for (int round = 0; round < 60; ++round) {
        const Shape small = randomShape(random, round % 3, 3 + round % 20, 12);
        Shape large;
        for (size_t i = 0; i < small.xs.size(); ++i) {
            large.xs.push_back(static_cast<int>(small.xs[i] * kScale));
            large.ys.push_back(static_cast<int>(small.ys[i] * kScale));
        }
        const PolygonArea polygon = make(large);
        for (long long gy = -13; gy <= 13; ++gy)
            for (long long gx = -13; gx <= 13; ++gx)
                for (int off = 0; off < 9; ++off) {
                    const long long x = gx * kScale + off % 3 - 1, y = gy * kScale + off / 3 - 1;
                    ASSERT_EQ(insidePolygon(polygon, x, y), referenceInside(large, x, y)) << x << "," << y;
                }
    }
    std::uniform_int_distribution<int> anywhere(INT32_MIN, INT32_MAX);
    for (int round = 0; round < 200; ++round) {
        Shape shape;
        for (int i = 0; i < 3 + round % 40; ++i) {
            shape.xs.push_back(anywhere(random));
            shape.ys.push_back(anywhere(random));
        }
        const PolygonArea polygon = make(shape);
        std::uniform_int_distribution<long long> inX(polygon.minX, polygon.maxX), inY(polygon.minY, polygon.maxY);
        for (int i = 0; i < 2000; ++i) {
            const long long x = inX(random), y = inY(random);
            ASSERT_EQ(insidePolygon(polygon, x, y), referenceInside(shape, x, y)) << x << "," << y;
        }
        for (size_t i = 0; i < shape.xs.size(); ++i) {
            const size_t j = (i + 1) % shape.xs.size();
            const long long dx = 0LL + shape.xs[j] - shape.xs[i], dy = 0LL + shape.ys[j] - shape.ys[i];
            const long long step = std::max(1LL, std::gcd(dx, dy));
            for (long long k = 0; k <= step && k < 4; ++k)
                for (const long long shift : {-1LL, 0LL, 1LL}) {
                    const long long x = shape.xs[i] + k * (dx / step), y = shape.ys[i] + k * (dy / step) + shift;
                    ASSERT_EQ(insidePolygon(polygon, x, y), referenceInside(shape, x, y)) << x << "," << y;
                    if (shift == 0) {
                        EXPECT_TRUE(insidePolygon(polygon, x, y));
                    }
                }
        }
    }
}

// Shapes whose inside is known by a formula, with every point one unit outside each edge.
TEST(PolygonArea, RowsColumnsAndSlopesHoldTheirOwnPoints) {
    const PolygonArea box = make({{0, 10, 10, 0}, {0, 0, 5, 5}});
    const PolygonArea triangle = make({{0, 10, 0}, {0, 0, 10}});
    for (int y = -2; y <= 12; ++y)
        for (int x = -2; x <= 12; ++x) {
            EXPECT_EQ(insidePolygon(box, x, y), 0 <= x && x <= 10 && 0 <= y && y <= 5) << x << "," << y;
            EXPECT_EQ(insidePolygon(triangle, x, y), 0 <= x && 0 <= y && x + y <= 10) << x << "," << y;
        }
}

// Repeated and collinear vertices change nothing; a polygon on a line holds its edges'
// points alone, one on a point holds that point.
TEST(PolygonArea, DegenerateVertexListsAreSound) {
    const PolygonArea square = make({{0, 6, 6, 0}, {0, 0, 6, 6}});
    const PolygonArea padded = make({{0, 0, 3, 6, 6, 6, 6, 0, 0}, {0, 0, 0, 0, 0, 4, 6, 6, 3}});
    const PolygonArea line = make({{0, 4, 8, 2}, {0, 2, 4, 1}});
    const PolygonArea row = make({{0, 9, 4}, {3, 3, 3}});
    const PolygonArea column = make({{3, 3, 3}, {-8, 9, 4}});
    const PolygonArea point = make({{5, 5, 5}, {-7, -7, -7}});
    for (int y = -9; y <= 12; ++y)
        for (int x = -3; x <= 12; ++x) {
            EXPECT_EQ(insidePolygon(padded, x, y), insidePolygon(square, x, y)) << x << "," << y;
            EXPECT_EQ(insidePolygon(line, x, y), x == 2 * y && 0 <= y && y <= 4) << x << "," << y;
            EXPECT_EQ(insidePolygon(row, x, y), y == 3 && 0 <= x && x <= 9) << x << "," << y;
            EXPECT_EQ(insidePolygon(column, x, y), x == 3 && -8 <= y && y <= 9) << x << "," << y;
            EXPECT_EQ(insidePolygon(point, x, y), x == 5 && y == -7) << x << "," << y;
        }
}

// Crossing polygons by the even-odd rule: a pentagram's middle lies outside, its points
// inside, and its crossings on edges; a bow tie's crossing lies on both its edges.
TEST(PolygonArea, SelfCrossingPolygonsFollowTheEvenOddRule) {
    const Shape pentagram{{0, 6, -10, 10, -6}, {10, -8, 3, 3, -8}};
    const Shape bowTie{{0, 10, 10, 0}, {0, 10, 0, 10}};
    expectGridMatches(pentagram);
    expectGridMatches(bowTie);
    EXPECT_FALSE(insidePolygon(make(pentagram), 0, 0));
    EXPECT_TRUE(insidePolygon(make(pentagram), 0, 8));
    EXPECT_TRUE(insidePolygon(make(bowTie), 5, 5));
    EXPECT_FALSE(insidePolygon(make(bowTie), 5, 4));
    EXPECT_TRUE(insidePolygon(make(bowTie), 4, 5));
}

// 3 and 250 vertices make a polygon, other counts none; corners at the limits of 32 bits
// hold every point of the range, and any 64-bit point is tested without harm.
TEST(PolygonArea, VertexCountsAndLimits) {
    std::mt19937 random(3);
    Shape star = randomShape(random, 1, kMostPolygonVertices, 1000);
    for (int& x : star.xs) x *= 2000000;
    for (int& y : star.ys) y *= 2000000;
    const PolygonArea most = make(star);
    EXPECT_EQ(most.count, kMostPolygonVertices);
    std::uniform_int_distribution<int> near(-2000000000, 2000000000);
    for (int i = 0; i < 100000; ++i) {
        const long long x = near(random), y = near(random);
        ASSERT_EQ(insidePolygon(most, x, y), referenceInside(star, x, y)) << x << "," << y;
    }
    for (int i = 0; i < kMostPolygonVertices * 9; ++i) {
        const long long x = star.xs[i / 9] + i % 3 - 1, y = star.ys[i / 9] + i / 3 % 3 - 1;
        ASSERT_EQ(insidePolygon(most, x, y), referenceInside(star, x, y)) << x << "," << y;
    }
    star.xs.push_back(0);
    star.ys.push_back(0);
    EXPECT_EQ(make(star).count, 0);
    EXPECT_FALSE(insidePolygon(make(star), 0, 0));
    EXPECT_EQ(make({{0, 1}, {0, 1}}).count, 0);
    EXPECT_FALSE(insidePolygon(make({{0, 1}, {0, 1}}), 0, 0));

    const PolygonArea whole =
        make({{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}});
    const Shape diamond{{0, INT32_MAX, 0, INT32_MIN}, {INT32_MIN, 0, INT32_MAX, 0}};
    const std::vector<long long> probes{LLONG_MIN, -1LL + INT32_MIN, INT32_MIN,       -1,       0,
                                        1,         INT32_MAX,        1LL + INT32_MAX, LLONG_MAX};
    for (const long long x : probes)
        for (const long long y : probes) {
            const bool inRange = INT32_MIN <= x && x <= INT32_MAX && INT32_MIN <= y && y <= INT32_MAX;
            EXPECT_EQ(insidePolygon(whole, x, y), inRange) << x << "," << y;
            EXPECT_EQ(insidePolygon(make(diamond), x, y), inRange && referenceInside(diamond, x, y)) << x << "," << y;
        }
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(insidePolygon(make(diamond), diamond.xs[i], diamond.ys[i]));
}

// One polygon read by several threads at once gives each the same answers as one thread.
TEST(PolygonArea, ThreadsShareOnePolygon) {
    std::mt19937 random(5);
    const Shape shape = randomShape(random, 1, 60, 40000);
    const PolygonArea polygon = make(shape);
    std::vector<char> expected;
    for (int y = -40000; y <= 40000; y += 97)
        for (int x = -40000; x <= 40000; x += 89) expected.push_back(referenceInside(shape, x, y));
    constexpr int kThreads = 4;
    std::vector<std::vector<char>> answers(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int y = -40000; y <= 40000; y += 97)
                for (int x = -40000; x <= 40000; x += 89) answers[t].push_back(insidePolygon(polygon, x, y));
        });
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(answers[t], expected) << "thread " << t;
}

}  // namespace
