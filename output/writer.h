// The writer: selected, all or moved points to a new file.
#ifndef SKERROW_OUTPUT_WRITER_H
#define SKERROW_OUTPUT_WRITER_H

#include <windows.h>

#include "reader/passWatch.h"

extern char g_outputPath[MAX_PATH];

// How a run of the writer ended, for the command that ran it.
enum class WriteEnd {
    Declined,  // the move question was answered No: nothing asked or written after it
    Ended,     // the save dialog was shown; the points were written, or not, as reported
};

// Asks the move question in move mode, the output name, reads the point file and writes
// the chosen points under the watch, which may stop it, and reports in one message box.
// Ends with view state Fitted and select-all off.
WriteEnd writePoints(HWND window, PassWatch* watch);

#endif
