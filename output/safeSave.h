// Saving so that nothing is lost: the new file is written under a name of its own beside
// the chosen one, flushed to the disk, and only then put in the chosen name's place in one
// step. Until that step the chosen name holds what it held, or stays absent, whatever
// happens to the write or to the process.
#ifndef SKERROW_OUTPUT_SAFESAVE_H
#define SKERROW_OUTPUT_SAFESAVE_H

#include <windows.h>

#include <string>

#include "output/writeMessages.h"

struct SaveTarget {
    std::string chosen;     // the name as chosen
    std::string file;       // the file it names: the chosen name, or where its links lead
    bool exists = false;    // file is there to be replaced
    std::string temporary;  // the new file's own name until it is put in place
};

// The target the chosen name gives, or why it cannot be saved to: NotAFile (with *kind)
// for a name that is there and no regular file, CantCreate for a file this user may not
// write. Nothing is opened for writing and nothing changes.
WriteEnding findSaveTarget(const char* chosen, SaveTarget* target, const char** kind);

// Creates the new file empty under a name no other file has, in the target's folder
// ("<name>.skerrow-<process>-<n>.tmp"), and opens it for writing; INVALID_HANDLE_VALUE
// when it cannot be made.
HANDLE createTemporary(SaveTarget* target);

// Puts the new file, written, flushed and closed, in the target's place in one step, with
// the permissions of the file it replaces; false when the system refuses it.
bool putInPlace(const SaveTarget& target);

// Removes the new file, after any failure.
void removeTemporary(const SaveTarget& target);

#endif
