// Whether this process holds a file open, from the system's own list of its open files:
// no pass may leave the point file open behind it.
#ifndef SKERROW_TESTS_SUPPORT_OPENFILES_H
#define SKERROW_TESTS_SUPPORT_OPENFILES_H

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

// The process has a descriptor open on path (as it named the file when it was opened,
// also when the file has since been removed or replaced).
inline bool heldOpen(const std::string& path) {
    char resolved[PATH_MAX];
    // A path whose file is gone still names its folder, which resolves.
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    if (!realpath(folder.c_str(), resolved)) return false;
    const std::string wanted = std::string(resolved) + (slash == std::string::npos ? "/" + path : path.substr(slash));
    DIR* fds = opendir("/proc/self/fd");
    if (!fds) return false;
    bool found = false;
    while (dirent* entry = readdir(fds)) {
        char target[PATH_MAX];
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0) continue;
        std::string name(target, static_cast<size_t>(length));
        const std::string deleted = " (deleted)";
        if (name.size() > deleted.size() && name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
            name.resize(name.size() - deleted.size());
        if (name == wanted) found = true;
    }
    closedir(fds);
    return found;
}

#endif
