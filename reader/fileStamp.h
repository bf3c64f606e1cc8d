// What identifies a point file and its state: the file the Open read, and whether it is
// still the same when a later pass reads it again.
#ifndef SKERROW_READER_FILESTAMP_H
#define SKERROW_READER_FILESTAMP_H

struct FileStamp {
    bool found = false;  // the path named a file that could be looked at
    unsigned long long device = 0, inode = 0;
    unsigned long long size = 0;
    long long modified = 0;  // last write time, in the clock's own ticks
    long long changed = 0;   // last status change: any write, even one that sets the write time back
};

// The stamp of the file path names now (found false when it cannot be looked at).
FileStamp stampOf(const char* path);

// Both stamps are of one file, found, with the same size and last write time. A change of
// the file's status alone (a new link, new permissions) is no change of its bytes; one that
// keeps size and times only a checksum of the bytes tells (byteChecksum.h).
bool sameStamp(const FileStamp& a, const FileStamp& b);

#endif
