// One point of the writer's pass: whether it is written, and the line it becomes.
// Everything here reads the line scratch that parsePointLine has just filled.
#ifndef SKERROW_OUTPUT_OUTPUTLINE_H
#define SKERROW_OUTPUT_OUTPUTLINE_H

#include <string>

#include "output/numberFormat.h"

// Every output line ends so, whatever the platform.
#define OUTPUT_LINE_END "\r\n"

// 5-field files: cuts the description (field 5) off field 4 and off the elevation text,
// leaving g_field5 at its start. It is never written.
void cutDescription();

// 3- and 5-field files: the elevation lies in the no-data band (32765.9, 32768.0).
bool isNoDataPoint();

// The point lies in the selected area (always, while g_selectAll is 1). The tests use the
// whole-number g_x and g_y in the file's own units, before any conversion.
bool isInsideArea();

// The text between two fields for g_fileType: a comma, a blank, or g_tabCount tabs (one
// at least).
std::string fieldGap();

// Room one output line needs: three fields (each a 127-character text or a number), two
// gaps of at most 5 tabs, the line end.
#define OUTPUT_LINE_MAX (3 * NUMBER_TEXT_MAX + 2 * 5 + 2)

// The output line of the current point, line end included, written at out (which has
// OUTPUT_LINE_MAX characters of room); each returns the end of the line.
char* putCopyLine(char* out, const std::string& gap);     // the field texts as they stand
char* putConvertLine(char* out, const std::string& gap);  // g_conversion 2, 4 or 8
char* putMoveLine(char* out, const std::string& gap);     // shifted by the file's whole minima

// The same lines as strings.
std::string formatCopyLine(const std::string& gap);
std::string formatConvertLine(const std::string& gap);
std::string formatMoveLine(const std::string& gap);

#endif
