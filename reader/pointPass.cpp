#include "reader/pointPass.h"

PassPlan planPass(const char* path, HeaderChoice header, uint64_t size, int parts) {
    return PassPlan{path, header, splitAtLineStarts(path, 0, size, parts)};
}

void openPart(LineReader& reader, const PassPlan& plan, size_t part) {
    const ByteRange& range = plan.parts[part];
    reader.checksumming = plan.checksums;
    reader.watch = plan.watch;
    if (!openReaderRange(reader, plan.path, range.begin, range.end, plan.header)) markUnreadable(reader);
}
