// The widths of the byte marks this processor can run, for tests that walk at each.
#ifndef SKERROW_TESTS_SUPPORT_MARKWIDTHS_H
#define SKERROW_TESTS_SUPPORT_MARKWIDTHS_H

#include <vector>

#include "reader/byteMarks.h"

// 16, then 32 and 64 where the processor has them.
inline std::vector<int> markWidths() {
    std::vector<int> widths;
    for (int width : {16, 32, 64})
        if (width <= widestMarkWidth()) widths.push_back(width);
    return widths;
}

// g_markWidth set for the life of the scope.
class MarkWidthScope {
public:
    explicit MarkWidthScope(int width) : saved_(g_markWidth) { g_markWidth = width; }
    ~MarkWidthScope() { g_markWidth = saved_; }
    MarkWidthScope(const MarkWidthScope&) = delete;
    MarkWidthScope& operator=(const MarkWidthScope&) = delete;

private:
    int saved_;
};

#endif
