// kernel32: files created, opened, written, flushed, renamed and deleted through handles,
// full path names and attributes, the thread's last error, the process id, the module handle and lstrlenA.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "layer.h"

namespace {

// The object a file HANDLE points at.
struct FileHandle {
    int fd;
    bool writable;  // opened with GENERIC_WRITE
};

std::unordered_set<FileHandle*> s_files;
thread_local DWORD s_lastError = 0;

bool directoryExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The Win32 error Windows gives for what the errno says; path tells a missing file from
// a missing folder.
DWORD win32Error(int error, const std::string& path) {
    switch (error) {
    case ENOENT: return directoryExists(parentOf(path)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    // A limit on the size of a file, not a full disk: Windows' own words for it are
    // ERROR_FILE_TOO_LARGE ("The file size exceeds the limit allowed and cannot be saved").
    case EFBIG: return ERROR_FILE_TOO_LARGE;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EPIPE: return ERROR_NO_DATA;  // a pipe whose reader has gone
    case EFAULT: return ERROR_NOACCESS;
    default: return ERROR_GEN_FAILURE;
    }
}

FileHandle* fileOf(HANDLE handle) {
    auto* file = static_cast<FileHandle*>(handle);
    return s_files.count(file) ? file : nullptr;
}

bool fail(DWORD error) {
    s_lastError = error;
    return false;
}

// fsync, again when a signal interrupts it.
int syncDescriptor(int fd) {
    int result;
    do result = fsync(fd);
    while (result != 0 && errno == EINTR);
    return result;
}

// A rename is in a folder's entries: it is on the disk once the folder is.
bool syncFolderOf(const std::string& path) {
    std::string folder = parentOf(path);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return fail(win32Error(errno, folder));
    int result = syncDescriptor(fd);
    int error = errno;
    close(fd);
    return result == 0 || fail(win32Error(error, folder));
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    bool writing =
        desiredAccess == GENERIC_WRITE && (creationDisposition == CREATE_ALWAYS || creationDisposition == CREATE_NEW);
    bool reading = desiredAccess == GENERIC_READ && creationDisposition == OPEN_EXISTING;
    if (!writing && !reading)
        layer::unsupported(
            "CreateFileA: access other than GENERIC_WRITE with CREATE_ALWAYS or CREATE_NEW, or GENERIC_READ with "
            "OPEN_EXISTING");
    // The share mode is taken but not enforced: POSIX files have no such locks.
    if ((shareMode != 0 && shareMode != FILE_SHARE_READ) || security || templateFile)
        layer::unsupported("CreateFileA: sharing other than FILE_SHARE_READ, security attributes or a template file");
    if (flagsAndAttributes != FILE_ATTRIBUTE_NORMAL) layer::unsupported("CreateFileA: attributes other than normal");
    if (!fileName || !*fileName) {
        s_lastError = ERROR_PATH_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    bool existed = stat(fileName, &info) == 0;
    int flags = O_CLOEXEC;
    if (reading)
        flags |= O_RDONLY;
    else if (creationDisposition == CREATE_NEW)
        flags |= O_WRONLY | O_CREAT | O_EXCL;  // one step: no other process can take the name between
    else
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
    int fd = open(fileName, flags, 0666);
    if (fd < 0) {
        s_lastError = errno == EEXIST ? ERROR_FILE_EXISTS : win32Error(errno, fileName);
        return INVALID_HANDLE_VALUE;
    }
    // Windows opens a folder only with backup semantics; a folder opened to write has
    // failed with EISDIR already.
    if (reading && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(fd);
        s_lastError = ERROR_ACCESS_DENIED;
        return INVALID_HANDLE_VALUE;
    }
    auto* file = new FileHandle{fd, writing};
    s_files.insert(file);
    // CREATE_ALWAYS succeeds over an existing file and says so.
    s_lastError = creationDisposition == CREATE_ALWAYS && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return file;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
    if (overlapped) layer::unsupported("WriteFile: overlapped I/O");
    // Windows sets the count before it does anything. Without a place for it (which only
    // overlapped I/O allows on Windows) the bytes are written all the same.
    if (bytesWritten) *bytesWritten = 0;
    FileHandle* file = fileOf(handle);
    if (!file) return fail(ERROR_INVALID_HANDLE);
    if (!file->writable) return fail(ERROR_ACCESS_DENIED);
    const char* bytes = static_cast<const char*>(buffer);
    DWORD done = 0;
    // A write may take fewer bytes than asked (a signal, a pipe, a size limit reached on the
    // way); the rest goes in further writes until all went or one fails.
    while (done < bytesToWrite) {
        ssize_t wrote = write(file->fd, bytes + done, bytesToWrite - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            if (bytesWritten) *bytesWritten = done;
            return fail(wrote < 0 ? win32Error(errno, std::string()) : ERROR_GEN_FAILURE);
        }
        done += static_cast<DWORD>(wrote);
    }
    if (bytesWritten) *bytesWritten = done;
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
    FileHandle* file = fileOf(handle);
    if (!file) return fail(ERROR_INVALID_HANDLE);
    // Windows flushes only through a handle that can write.
    if (!file->writable) return fail(ERROR_ACCESS_DENIED);
    if (syncDescriptor(file->fd) == 0) return TRUE;
    // A file that cannot be synced (a pipe, a device) is a function the handle does not have.
    return fail(errno == EINVAL || errno == EROFS ? ERROR_INVALID_FUNCTION : win32Error(errno, std::string()));
}

BOOL CloseHandle(HANDLE handle) {
    FileHandle* file = fileOf(handle);
    if (!file) return fail(ERROR_INVALID_HANDLE);
    s_files.erase(file);
    int result = close(file->fd);
    delete file;
    if (result != 0) return fail(ERROR_GEN_FAILURE);
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
    if (flags & ~static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        layer::unsupported("MoveFileExA: flags other than MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH");
    if (!existingFileName || !*existingFileName || !newFileName || !*newFileName) return fail(ERROR_PATH_NOT_FOUND);
    std::string from = existingFileName, to = newFileName;
    struct stat info;
    if (lstat(from.c_str(), &info) != 0) return fail(win32Error(errno, from));
    // rename(2) replaces the name in one step: a reader sees the old file or the new one.
    int result;
    if (flags & MOVEFILE_REPLACE_EXISTING) {
        result = rename(from.c_str(), to.c_str());
    } else {
#ifdef RENAME_NOREPLACE
        result = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
#else
        result = -1;
        errno = EINVAL;
#endif
        if (result != 0 && errno == EINVAL) {
            // A system or file system without the flag: looked at first, then renamed.
            if (lstat(to.c_str(), &info) == 0) return fail(ERROR_ALREADY_EXISTS);
            result = rename(from.c_str(), to.c_str());
        }
    }
    if (result != 0) return fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : win32Error(errno, to));
    if (flags & MOVEFILE_WRITE_THROUGH) {
        if (!syncFolderOf(to)) return FALSE;
        if (parentOf(from) != parentOf(to) && !syncFolderOf(from)) return FALSE;
    }
    return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName) {
    if (!fileName || !*fileName) return fail(ERROR_PATH_NOT_FOUND);
    if (unlink(fileName) != 0) return fail(win32Error(errno, fileName));
    return TRUE;
}

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    if (!fileName || !*fileName) {
        s_lastError = ERROR_INVALID_NAME;
        return 0;
    }
    // Lexical, as on Windows: the current folder put before a relative name, "." and empty
    // parts dropped, ".." taking the part before it away; nothing is looked up.
    std::string joined = fileName;
    if (joined[0] != '/') {
        char* current = getcwd(nullptr, 0);
        if (!current) {
            s_lastError = win32Error(errno, ".");
            return 0;
        }
        joined = std::string(current) + "/" + joined;
        std::free(current);
    }
    std::vector<std::string> parts;
    for (size_t start = 0; start <= joined.size();) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string full;
    for (const std::string& part : parts) full += "/" + part;
    // A name that ends in a separator keeps it, and then has no file part.
    const char last = fileName[std::strlen(fileName) - 1];
    if (full.empty() || last == '/') full += "/";
    if (full.size() + 1 > bufferLength) return static_cast<DWORD>(full.size() + 1);  // the size needed
    std::memcpy(buffer, full.c_str(), full.size() + 1);
    if (filePart) *filePart = full.back() == '/' ? nullptr : buffer + full.find_last_of('/') + 1;
    return static_cast<DWORD>(full.size());
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    if (!fileName || !*fileName) {
        s_lastError = ERROR_PATH_NOT_FOUND;
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat info;
    if (stat(fileName, &info) != 0) {
        s_lastError = win32Error(errno, fileName);
        return INVALID_FILE_ATTRIBUTES;
    }
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetLastError(void) { return s_lastError; }

void layer::setLastError(DWORD error) { s_lastError = error; }

DWORD GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName) layer::unsupported("GetModuleHandleA: a named module");
    // Any fixed non-null value; the program only passes it back to the layer.
    static char s_module;
    return reinterpret_cast<HMODULE>(&s_module);
}

int lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }
