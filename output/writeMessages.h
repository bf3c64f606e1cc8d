// How a write ends, as the writer finds it, and the one table that turns that into the
// message its command shows. A write that does not end in "File Saved" leaves the chosen
// name as it was.
#ifndef SKERROW_OUTPUT_WRITEMESSAGES_H
#define SKERROW_OUTPUT_WRITEMESSAGES_H

#include <string>

enum class WriteEnding {
    Saved,             // whole, on the disk, and in place of the chosen name
    CantOpenInput,     // the point file can no longer be opened
    InputChanged,      // the point file is not the one opened: nothing read
    NotAFile,          // the chosen name is a folder, a device, a pipe or a socket
    CantCreate,        // no new file can be made there (a read-only folder or file)
    CantWrite,         // writing or flushing the new file failed (a full disk, a size limit)
    DiskFull,          // the same, for want of room
    CantReplace,       // the new file could not be put in place of the chosen name
    ReadFailed,        // a line of the point file could not be read to its end
    ChangedWhileRead,  // the point file changed while it was read
    ValueTooLarge,     // a converted value is no number a point file could hold
    Stopped,           // the user stopped the write
};

// What the message names: the paths and, for a value too large, its line.
struct WriteReport {
    WriteEnding ending;
    std::string input, output;
    const char* kind = "";  // NotAFile: "folder", "device", "pipe", "socket" or "special file"
    long long count = 0;    // Saved: the points written
    long long line = 0;     // ValueTooLarge
};

struct WriteMessage {
    std::string text;
    const char* caption;
};
WriteMessage writeMessage(const WriteReport& report);

#endif
