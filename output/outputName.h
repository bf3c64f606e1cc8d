// Choosing the output file: the save dialog, and the refusal of the point file itself.
#ifndef SKERROW_OUTPUT_OUTPUTNAME_H
#define SKERROW_OUTPUT_OUTPUTNAME_H

#include <windows.h>

// True when path names the point file g_inputPath: the same text, or any other name
// of the same file (another spelling, a relative form, a symbolic or hard link).
bool namesInputFile(const char* path);

// Shows the save dialog for g_fileType until a name other than the point file is chosen
// and leaves it in g_outputPath. Returns false, with g_outputPath empty, when the dialog
// is cancelled, also after the point file was refused.
bool chooseOutputPath(HWND window);

#endif
