// The writer's pass over the point file: one line in, at most one line out.
#ifndef SKERROW_OUTPUT_WRITEPASS_H
#define SKERROW_OUTPUT_WRITEPASS_H

#include <fstream>

enum class PassResult { Done, ReadFailed, WriteFailed };

// Reads the point file (g_inputPath, as the Open stamped it) on every worker and writes
// each chosen point to output, in the file's order; *count counts the lines written. The
// lines of a pass that stops early are written too, as far as it got.
PassResult writeChosenPoints(std::ofstream& output, int* count);

#endif
