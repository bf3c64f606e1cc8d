// Why the Open refuses a file, as its passes find it, and the one table that turns that
// into the message the Open command shows. The passes show nothing themselves.
#ifndef SKERROW_POINTS_OPENMESSAGES_H
#define SKERROW_POINTS_OPENMESSAGES_H

#include <string>

#include "reader/lineReader.h"

enum class OpenRefusal {
    None,                  // the file passed
    NotPointFile,          // nothing to read, or no comma in the first data line
    UnevenFields,          // the comma counts of the lines disagree
    FieldCount,            // other than 2, 3 or 5 fields
    TooManyLines,          // more lines than the count can hold
    HeaderOrZero,          // an X or Y of 0: a header line, or a point at the origin
    InvalidData,           // no point, or all X or all Y equal
    ExtentTooLarge,        // an X or Y range beyond the 32-bit range
    CarriageReturnsAlone,  // lines ended by a carriage return alone read as one long line
    BlankLine,             // at line: blank, with more lines after it
    LongLine,              // at line: longer than the limit allows
    NulCharacter,          // at line: a NUL, so the file is damaged
    ShortLine,             // at line: fewer fields than the first line
    CoordinateOutOfRange,  // at line: an X or Y beyond the 32-bit range
    CoordinateNotANumber,  // at line: an X or Y of nan or inf
    ElevationNotANumber,   // at line: no number, or nan, as the elevation
    ElevationOutOfRange,   // at line: an elevation that single precision does not hold
};

// Where a pass stopped the Open: the refusal, and for those at a line, the line (counted
// from 1, a header line included) and the line limit the reading used.
struct OpenStop {
    OpenRefusal refusal = OpenRefusal::None;
    long long line = 0;
    int limit = 0;

    explicit operator bool() const { return refusal != OpenRefusal::None; }
};

// The stop for a line the reader could not take (outcome Bad or Damaged), read with limit:
// the reader's line and line number tell which refusal it is.
OpenStop badLineStop(const LineReader& reader, int limit, LineOutcome outcome);

// The text holds a carriage return followed by more of the line: a file whose lines end
// in a carriage return alone reads as one long line.
bool holdsLoneCarriageReturn(const char* text);

// The message box's text and caption for a refusal.
struct OpenMessage {
    std::string text;
    const char* caption;
};
OpenMessage openMessage(const OpenStop& stop);

#endif
