// The writer: selected, all or moved points to a new file.
#ifndef SKERROW_OUTPUT_WRITER_H
#define SKERROW_OUTPUT_WRITER_H

#include <windows.h>

#include <fstream>

extern char g_outputPath[MAX_PATH];
extern std::ofstream g_output;
extern char g_separator[2];

void writePoints(HWND window);

#endif
