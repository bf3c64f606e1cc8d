// The move mode's question before any file is chosen.
#ifndef SKERROW_OUTPUT_MOVEQUESTION_H
#define SKERROW_OUTPUT_MOVEQUESTION_H

#include <windows.h>

// Warns that moving loses the original coordinates and asks whether to go on.
// Returns false when the user answers No.
bool askMoveQuestion(HWND window);

#endif
