#include "reader/fileStamp.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "reader/portability.h"

FileStamp stampOf(const char* path) {
    FileStamp stamp;
    // The device and index number tell a file replaced under the same name; the size and
    // the write time, to the clock's finest tick, a file changed in place.
    struct stat info;
    if (stat(path, &info) != 0) return stamp;
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return stamp;
    stamp.found = true;
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    stamp.size = static_cast<unsigned long long>(info.st_size);
    stamp.modified = static_cast<long long>(modified.time_since_epoch().count());
    stamp.changed = statusChangeTicks(info);
    return stamp;
}

bool sameStamp(const FileStamp& a, const FileStamp& b) {
    return a.found && b.found && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified == b.modified;
}
