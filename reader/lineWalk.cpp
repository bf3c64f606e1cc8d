#include "reader/lineWalk.h"

long long takeDataLines(LineReader& reader, int limit, long long maxLines, long long* commas) {
    if (limit > static_cast<int>(kLineBufferSize)) limit = kLineBufferSize;
    if (limit < 3 || maxLines <= 0) return 0;
    const size_t longest = static_cast<size_t>(limit - 1);
    long long found = 0, taken = 0;
    withWidestMarks([&](auto marks) SKERROW_INLINE_LAMBDA {
        walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
            if (!isDataSpan(span, longest)) return WalkStep::Leave;
            found += bitsSet(span.commas);
            return ++taken == maxLines ? WalkStep::Last : WalkStep::Next;
        });
        return 0;
    });
    if (commas) *commas += found;
    return taken;
}
