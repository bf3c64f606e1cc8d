#include "output/safeSave.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Names tried for the new file before giving up: another run of the program (another
// process number) or an earlier one killed midway may hold some.
constexpr int kTemporaryTries = 100;

const char* kindOf(fs::file_type type) {
    switch (type) {
    case fs::file_type::directory: return "folder";
    case fs::file_type::block:
    case fs::file_type::character: return "device";
    case fs::file_type::fifo: return "pipe";
    case fs::file_type::socket: return "socket";
    default: return "special file";
    }
}

// Links to follow at most: more means a loop of links.
constexpr int kMostLinks = 40;

// The file the name leads to through its symbolic links, followed one by one so that a
// link into a folder that is gone leads there, and the save fails there, rather than
// replacing the link.
fs::path linkedFile(fs::path path) {
    std::error_code error;
    for (int i = 0; i < kMostLinks && fs::is_symlink(fs::symlink_status(path, error)); ++i) {
        const fs::path to = fs::read_symlink(path, error);
        if (error) break;
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return path.lexically_normal();
}

// The file may be written by this user: opened to append, which changes neither its
// bytes nor its times.
bool writable(const std::string& path) {
    std::ofstream probe(path, std::ios::binary | std::ios::app);
    return probe.is_open();
}

}  // namespace

WriteEnding findSaveTarget(const char* chosen, SaveTarget* target, const char** kind) {
    target->chosen = chosen;
    // A symbolic link stays a link: the file it leads to is the one replaced.
    target->file = linkedFile(chosen).string();
    std::error_code error;
    const fs::file_status status = fs::status(target->file, error);
    target->exists = fs::exists(status);
    if (!target->exists) return WriteEnding::Saved;
    if (!fs::is_regular_file(status)) {
        *kind = kindOf(status.type());
        return WriteEnding::NotAFile;
    }
    return writable(target->file) ? WriteEnding::Saved : WriteEnding::CantCreate;
}

HANDLE createTemporary(SaveTarget* target) {
    const fs::path file(target->file);
    const std::string process = std::to_string(GetCurrentProcessId());
    for (int n = 1; n <= kTemporaryTries; ++n) {
        const std::string tail = ".skerrow-" + process + "-" + std::to_string(n) + ".tmp";
        std::string name = target->file + tail;
        // Within the system's limit on a path, else a shorter name in the same folder.
        if (name.size() >= MAX_PATH) name = (file.parent_path() / ("skerrow" + tail)).string();
        HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (handle != INVALID_HANDLE_VALUE) {
            target->temporary = name;
            return handle;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

bool putInPlace(const SaveTarget& target) {
    if (target.exists) {
        std::error_code error;
        const fs::perms kept = fs::status(target.file, error).permissions();
        if (!error) fs::permissions(target.temporary, kept, error);
    }
    return MoveFileExA(target.temporary.c_str(), target.file.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void removeTemporary(const SaveTarget& target) {
    if (!target.temporary.empty()) DeleteFileA(target.temporary.c_str());
}
