// A plain line's fields with every value read, as cutPointFields reads them: what the
// tests and fuzz targets compare the passes' plain walks with.
#ifndef SKERROW_TESTS_SUPPORT_PLAINLINEPOINT_H
#define SKERROW_TESTS_SUPPORT_PLAINLINEPOINT_H

#include "reader/plainLines.h"

inline PointFields plainLinePoint(const PlainLine& line, const PointLayout& layout) {
    PointFields point = plainLineFields(line, layout);
    point.x = readWholeCoordinate<FieldKind::Plain>(point.xText, point.xLength);
    point.y = readWholeCoordinate<FieldKind::Plain>(point.yText, point.yLength);
    if (layout.fieldCount >= 3)
        point.elevation = readElevationField<FieldKind::Plain>(point.zText, point.zLength, &point.zValue);
    return point;
}

#endif
