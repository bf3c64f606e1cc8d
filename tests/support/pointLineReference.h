// The reference reading of one point line: g_lineBuf cut at commas by g_fieldCount and
// g_swapXY into the line scratch, as the program's readers must read it.
#ifndef SKERROW_TESTS_SUPPORT_POINTLINEREFERENCE_H
#define SKERROW_TESTS_SUPPORT_POINTLINEREFERENCE_H

// The line scratch: the line, the starts of fields 1 to 4 in it, the X, Y and elevation
// texts after the swap, and their values.
extern char g_lineBuf[128];
extern char* g_field1;
extern char* g_field2;
extern char* g_field3;
extern char* g_field4;
extern char g_xText[128];
extern char g_yText[128];
extern char g_zText[128];
extern double g_x, g_y;
extern float g_elevation;

// Splits g_lineBuf at commas by g_fieldCount and g_swapXY and fills the line scratch:
// g_field1..g_field4 (field 5 stays attached to field 4), g_xText, g_yText, g_x, g_y and,
// for 3 and 5 fields, g_zText and g_elevation (left as they were for 2 fields). X and Y
// are readCoordinate's readings. Returns false, touching nothing, when the line has fewer
// fields than the layout needs (1 comma for 2 fields, 2 for 3, 4 for 5).
bool parsePointLine();

#endif
