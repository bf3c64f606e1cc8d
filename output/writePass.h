// The writer's pass over the point file: one line in, at most one line out.
#ifndef SKERROW_OUTPUT_WRITEPASS_H
#define SKERROW_OUTPUT_WRITEPASS_H

#include <fstream>

#include "output/writeOptions.h"
#include "points/openedFile.h"
#include "points/selectionArea.h"

enum class PassResult { Done, ReadFailed, WriteFailed };

// Reads the point file (as the Open stamped it) on every worker and writes each point the
// area holds, as the choices make it, to output in the file's order (a move writes every
// point); *count counts the lines written. The lines of a pass that stops early are
// written too, as far as it got.
PassResult writeChosenPoints(std::ofstream& output, const OpenedFile& file, const SelectionArea& area,
                             const WriteChoices& choices, long long* count);

#endif
