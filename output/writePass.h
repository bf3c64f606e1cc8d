// The writer's pass over the point file: one line in, at most one line out.
#ifndef SKERROW_OUTPUT_WRITEPASS_H
#define SKERROW_OUTPUT_WRITEPASS_H

#include <fstream>

#include "reader/lineReader.h"

enum class PassResult { Done, ReadFailed, WriteFailed };

// Reads the reader's points to the end and writes each chosen one to output; *count
// counts the lines written. Lines gather in a block and go to the stream a block at a
// time; the lines of a pass that stops early are written too, as far as it got.
PassResult writeChosenPoints(LineReader& reader, std::ofstream& output, int* count);

#endif
