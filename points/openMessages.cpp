// The Open's refusals in words: one "Error" box each.
#include "points/openMessages.h"

#include <cstring>

namespace {

const char kCaption[] = "Error";
const char kCheckAgain[] = "\n    Check file and try again.";

// The texts of the refusals that name no line.
const char* fileText(OpenRefusal refusal) {
    switch (refusal) {
    case OpenRefusal::NotPointFile: return "This is not a valid point file.\n    Check file and try again.";
    case OpenRefusal::UnevenFields: return "This file has uneven fields.\n  Check file and try again.";
    case OpenRefusal::FieldCount:
        return "This only works on files with 2, 3 or 5 fields.\n        Check file and try again.";
    case OpenRefusal::TooManyLines: return "This file has too many lines.\n    Check file and try again.";
    case OpenRefusal::HeaderOrZero:
        return "This file either has a header line or there       \n"
               "are X - Y fields equal to zero.  Erase any\n"
               "lines with zero XY values or check the\n"
               "\"Ignore 1st line\"  box when opening file.";
    case OpenRefusal::InvalidData: return "Invalid or missing data in file.  ";
    case OpenRefusal::ExtentTooLarge:
        return "The X - Y extent of this file is too large.\n    Check file and try again.";
    case OpenRefusal::CarriageReturnsAlone:
        return "The lines of this file end in a carriage return alone,\n"
               "as old Macintosh programs wrote them.  Convert its line\n"
               "ends to CR LF or LF and try again.";
    default: return nullptr;
    }
}

// What the refusals at a line say of it, after "Line <n> of this file ".
std::string lineText(const OpenStop& stop) {
    switch (stop.refusal) {
    case OpenRefusal::BlankLine: return "is blank, and more lines follow it.";
    case OpenRefusal::LongLine: return "is longer than " + std::to_string(stop.limit - 1) + " characters.";
    case OpenRefusal::NulCharacter: return "holds a NUL character: the file is damaged.";
    case OpenRefusal::ShortLine: return "has fewer fields than the first line.";
    case OpenRefusal::CoordinateOutOfRange: return "has an X or Y value out of range.";
    case OpenRefusal::CoordinateNotANumber: return "has an X or Y value that is not a number.";
    case OpenRefusal::ElevationNotANumber: return "has an elevation that is not a number.";
    case OpenRefusal::ElevationOutOfRange: return "has an elevation out of range.";
    default: return "";
    }
}

}  // namespace

bool holdsLoneCarriageReturn(const char* text) {
    const char* cr = std::strchr(text, '\r');
    return cr && cr[1] != '\0' && cr[1] != '\n';
}

OpenStop badLineStop(const LineReader& reader, int limit, LineOutcome outcome) {
    OpenStop stop{OpenRefusal::LongLine, reader.lineNumber, limit};
    if (outcome == LineOutcome::Damaged)
        stop.refusal = OpenRefusal::NulCharacter;
    else if (reader.line[0] == '\0')
        stop.refusal = OpenRefusal::BlankLine;
    else if (holdsLoneCarriageReturn(reader.line))
        stop.refusal = OpenRefusal::CarriageReturnsAlone;
    return stop;
}

OpenMessage openMessage(const OpenStop& stop) {
    if (const char* text = fileText(stop.refusal)) return OpenMessage{text, kCaption};
    return OpenMessage{"Line " + std::to_string(stop.line) + " of this file " + lineText(stop) + kCheckAgain, kCaption};
}
